#pragma once

#include "host/ui/modal/modalservices.h"

#include <QString>

class QWidget;

namespace host::ui {

// The modal services of the running program: Qt's message box and file dialogs, and a local
// event loop for windows shown modally.
class QtModals : public ModalServices
{
public:
    // The services of the program, in force unless a test installed others.
    static QtModals &instance();

    long messageBox(const QString &text, long style, const QString &title) override;
    long hostMessage(const QString &text, long style) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    void showModal(Form &form) override;
    bool printSetup(QPrinter &printer) override;
    bool printDialog(QPrinter &printer) override;
    void printPreview(QPrinter &printer, const std::function<void(QPrinter &)> &paint) override;

    // The first window or message shown afterwards is saved to this PNG file and then closed,
    // so the program can be looked at without a display. With a press, the first window that
    // has an action of that name or shortcut has it triggered instead, and the window or
    // message that the action shows is saved.
    void setScreenshotFile(const QString &file, const QString &press = {})
    {
        m_screenshotFile = file;
        m_screenshotPending = !file.isEmpty();
        m_press = press;
        m_pressRefusal.clear();
    }
    // False while a picture was asked for and none has been saved.
    bool screenshotTaken() const { return !m_screenshotPending; }
    // Why the press was refused, with the tools the window has; empty unless the first window
    // had no tool of that name or shortcut.
    const QString &pressRefusal() const { return m_pressRefusal; }

    // How many messages and windows have been shown: what the user was told.
    int reportsShown() const { return m_reports; }

    // "Caption|*.a;*.b|Other|*.c" in Qt's filter notation.
    static QString qtFilter(const QString &filter);

private:
    void takeScreenshot(QWidget &widget);
    // Triggers the action to press when the window has it; false, with the refusal kept and no
    // picture to take, when it has none.
    bool pressIn(QWidget &window);

    QString m_screenshotFile;
    QString m_press;
    QString m_pressRefusal;
    bool m_screenshotPending = false;
    int m_reports = 0;
};

} // namespace host::ui
