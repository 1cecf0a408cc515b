#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <utility>

class QAbstractButton;

namespace host::ui {

// Base of the module's windows: the window events by the names the windows implement
// (Form_Load, Form_Activate, Form_Resize, Form_Unload, Form_KeyDown, Form_KeyPress, Form_KeyUp),
// key preview, modal show, Escape and lengths in twips. Controls live on client(), the window's
// inner area; menu bar and tool bars sit around it.
class Form : public QMainWindow, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }

    // With key preview on the window sees every key before the control that has the focus.
    bool KeyPreview() const { return m_keyPreview; }
    void setKeyPreview(bool on);

    // Runs Form_Load once until the window is unloaded; its failure reaches the caller and
    // leaves the window unloaded.
    void Load();
    bool isLoaded() const { return m_loaded; }
    // Modal 1 shows the window modally through the modal services and returns when it closes.
    void Show(int modal = 0);
    void Hide() { hide(); }
    // Closes the window; Form_Unload may cancel.
    void Unload() { close(); }
    // A dialog: an Escape that no control used closes the window as its Cancel button does, by
    // clicking cancelButton, or, for a window without one, by unloading it. A window that does
    // not call this stays open on Escape.
    void closeOnEscape(QAbstractButton *cancelButton = nullptr);
    QAbstractButton *cancelButton() const;

    QWidget *client() const { return m_client; }
    // The control the user is in: the window's focus widget, or, while the menu bar holds the
    // focus to walk its menus by keys, the control it took the focus from.
    QWidget *controlFocus() const;
    // Inner size of the window, in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;
    void setWindowState(int state);

    // Runs an event handler so that no exception escapes it: a failure is shown in a message
    // box and the window stays usable.
    void guard(const std::function<void()> &handler) const;
    // Runs, under guard(), a command that a menu item or a tool starts. Neither takes the focus,
    // so a cell edit still open is ended first, and when its control refuses the text the
    // command does not run. Afterwards the focus is back where the user was, whatever dialog,
    // message or busy spell the command went through.
    void runCommand(const std::function<void()> &command);
    // Runs a command that a key starts, as runCommand does, once the key has been delivered:
    // the event loop of a window it opens may delete the cell editor whose key handler is
    // still running. Nothing runs when the window is closed or hidden by then, and a key that
    // comes while a command waits or runs starts none: the keys typed meanwhile go to the
    // window the command opens, in order, or on in this one when it opens none.
    void runAfterKey(std::function<void()> command);

    // Connects a control's signal to a handler of the window, run under guard(). The handler
    // may take fewer arguments than the signal carries, as a slot may.
    template <typename Sender, typename Signal, typename Window, typename... Args>
    void connectGuarded(Sender *sender, Signal signal, void (Window::*handler)(Args...))
    {
        auto *window = static_cast<Window *>(this);
        connect(sender, signal, this, [this, window, handler](Args... args) {
            guard([&] { (window->*handler)(std::forward<Args>(args)...); });
        });
    }

signals:
    // The window was hidden or closed: ends a modal show.
    void hidden();

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload(bool &Cancel) { (void)Cancel; }
    virtual void Form_KeyDown(int &KeyCode, int Shift) { (void)KeyCode, (void)Shift; }
    virtual void Form_KeyPress(int &KeyAscii) { (void)KeyAscii; }
    // A key released; raised before the control sees it when key preview is on.
    virtual void Form_KeyUp(int &KeyCode, int Shift) { (void)KeyCode, (void)Shift; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Raises the key events; true when the key was dropped or replaced.
    bool previewKey(QWidget *receiver, QKeyEvent &event);
    // Raises KeyUp; true when the handler dropped the key.
    bool previewKeyUp(QKeyEvent &event);
    void activate();

    QWidget *m_client;
    bool m_keyPreview = false;
    bool m_loaded = false;
    bool m_active = false;
    bool m_forwarding = false;
    bool m_closesOnEscape = false;
    bool m_keyCommand = false;
    QPointer<QAbstractButton> m_cancelButton;
    QPointer<QWidget> m_focusBeforeMenu;
    QMetaObject::Connection m_menuFocus;
};

// The control the user is in: a form's controlFocus(), another window's focus widget.
QWidget *controlFocusOf(QWidget &window);

} // namespace host::ui
