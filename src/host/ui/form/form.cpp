#include "host/ui/form/form.h"

#include "host/core/hosterror.h"
#include "host/lang/hosttext.h"
#include "host/ui/form/focuskeeper.h"
#include "host/ui/form/fonts.h"
#include "host/ui/form/keycodes.h"
#include "host/ui/form/keyrouting.h"
#include "host/ui/form/menubarstyle.h"
#include "host/ui/form/pendingedit.h"
#include "host/ui/form/twips.h"
#include "host/ui/form/typeahead.h"
#include "host/ui/modal/modalservices.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>

namespace host::ui {

namespace {

// What a failure that left a handler says: a sentence of its own, then why, in the user's
// language where the database stood in the way.
QString failureText(const std::exception &error)
{
    const auto *hostError = dynamic_cast<const HostError *>(&error);
    std::string why = hostError ? hostError->Description() : error.what();
    if (hostError && hostError->Number() == HostError::DatabaseBusy)
        why = hostText("数据库正忙，请稍后再试。");
    else if (hostError && hostError->Number() == HostError::DatabaseReadOnly)
        why = hostText("数据库是只读的，不能写入。");
    return hostCaption("操作没有完成，原因：") + QLatin1Char('\n') + QString::fromStdString(why);
}

// A cell's editor goes when it loses the focus; the grid it edits in is the control.
QWidget *controlOf(QWidget *focus)
{
    for (QWidget *w = focus; w && !w->isWindow(); w = w->parentWidget())
        if (auto *view = qobject_cast<QAbstractItemView *>(w))
            return view;
    return focus;
}

} // namespace

Form::Form(QWidget *parent)
    : QMainWindow(parent), TwipsGeometry(static_cast<QWidget &>(*this)), m_client(new QWidget(this))
{
    setCentralWidget(m_client);
    setFont(uiFont());
    // Qt leaves the focus in the menu bar when a menu walked by keys runs its command.
    m_menuFocus =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
            if (qobject_cast<QMenuBar *>(now) && now->window() == this)
                m_focusBeforeMenu = old && old->window() == this ? controlOf(old) : nullptr;
        });
}

Form::~Form()
{
    // The window's own part is gone by now, but taking the focus away from a control below
    // still makes it signal (a text box validates when it loses the focus): its handlers
    // would run on a window that no longer exists.
    for (QObject *child : findChildren<QObject *>())
        child->blockSignals(true);
    disconnect(m_menuFocus);
}

void Form::setKeyPreview(bool on)
{
    if (on == m_keyPreview)
        return;
    m_keyPreview = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void Form::closeOnEscape(QAbstractButton *cancelButton)
{
    m_closesOnEscape = true;
    m_cancelButton = cancelButton;
}

QWidget *Form::controlFocus() const
{
    QWidget *focus = focusWidget();
    return qobject_cast<QMenuBar *>(focus) ? m_focusBeforeMenu.data() : focus;
}

QWidget *controlFocusOf(QWidget &window)
{
    const auto *form = qobject_cast<const Form *>(&window);
    return form ? form->controlFocus() : window.focusWidget();
}

QAbstractButton *Form::cancelButton() const
{
    return m_cancelButton;
}

void Form::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    try {
        Form_Load();
    } catch (...) {
        m_loaded = false;
        throw;
    }
}

void Form::Show(int modal)
{
    if (modal) {
        modals().showModal(*this);
        return;
    }
    Load();
    show();
}

int Form::ScaleWidth() const
{
    return pixelsToTwipsX(m_client->width());
}

int Form::ScaleHeight() const
{
    return pixelsToTwipsY(m_client->height());
}

int Form::WindowState() const
{
    const Qt::WindowStates states = windowState();
    if (states & Qt::WindowMinimized)
        return 1;
    if (states & Qt::WindowMaximized)
        return 2;
    return 0;
}

void Form::setWindowState(int state)
{
    switch (state) {
    case 1:
        QMainWindow::setWindowState(Qt::WindowMinimized);
        break;
    case 2:
        QMainWindow::setWindowState(Qt::WindowMaximized);
        break;
    default:
        QMainWindow::setWindowState(Qt::WindowNoState);
        break;
    }
}

void Form::guard(const std::function<void()> &handler) const
{
    try {
        handler();
    } catch (const std::exception &error) {
        MsgBox(failureText(error), Msg::Critical, Caption());
    } catch (...) {
        MsgBox(QStringLiteral("Unknown error"), Msg::Critical, Caption());
    }
}

void Form::runCommand(const std::function<void()> &command)
{
    if (!endPendingEdit(*this))
        return;
    const FocusKeeper focus(*this);
    guard(command);
}

void Form::runAfterKey(std::function<void()> command)
{
    if (std::exchange(m_keyCommand, true))
        return;
    const QPointer<TypeAhead> typeAhead(new TypeAhead(*this));
    QMetaObject::invokeMethod(
        this,
        [this, typeAhead, command = std::move(command)] {
            const QPointer<Form> self(this);
            if (isVisible())
                runCommand(command);
            if (self)
                m_keyCommand = false;
            if (typeAhead)
                typeAhead->commandDone();
        },
        Qt::QueuedConnection);
}

bool Form::previewKey(QWidget *receiver, QKeyEvent &event)
{
    KeyHandlers handlers;
    handlers.keyDown = [this](int &keyCode, int shift) {
        guard([&] { Form_KeyDown(keyCode, shift); });
    };
    handlers.keyPress = [this](int &keyAscii) { guard([&] { Form_KeyPress(keyAscii); }); };
    handlers.deliver = [this, receiver](QKeyEvent &replacement) {
        m_forwarding = true;
        QCoreApplication::sendEvent(receiver, &replacement);
        m_forwarding = false;
    };
    return routeKey(event, handlers);
}

bool Form::previewKeyUp(QKeyEvent &event)
{
    int keyCode = keyCodeOf(event);
    if (!keyCode || event.isAutoRepeat())
        return false;
    guard([&] { Form_KeyUp(keyCode, shiftStateOf(event.modifiers())); });
    return keyCode == 0;
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if ((press || event->type() == QEvent::KeyRelease) && m_keyPreview && !m_forwarding) {
        auto *widget = qobject_cast<QWidget *>(watched);
        // Seen once, at the widget that receives it first, not again while it propagates.
        const QWidget *first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        if (widget && widget == first && widget->window() == this) {
            auto &key = *static_cast<QKeyEvent *>(event);
            return press ? previewKey(widget, key) : previewKeyUp(key);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form::keyPressEvent(QKeyEvent *event)
{
    if (!m_keyPreview && previewKey(this, *event))
        return;
    if (m_closesOnEscape && event->key() == Qt::Key_Escape &&
        event->modifiers() == Qt::NoModifier) {
        if (!m_cancelButton)
            Unload();
        else if (m_cancelButton->isEnabled() && m_cancelButton->isVisible())
            m_cancelButton->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void Form::keyReleaseEvent(QKeyEvent *event)
{
    if (!m_keyPreview && previewKeyUp(*event))
        return;
    QMainWindow::keyReleaseEvent(event);
}

void Form::activate()
{
    if (m_active || !m_loaded)
        return;
    m_active = true;
    guard([this] { Form_Activate(); });
}

void Form::showEvent(QShowEvent *event)
{
    if (auto *bar = qobject_cast<QMenuBar *>(menuWidget()))
        MenuBarStyle::apply(*bar);
    QMainWindow::showEvent(event);
    activate();
}

void Form::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    m_active = false;
    if (!event->spontaneous())
        emit hidden();
}

void Form::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_loaded)
        guard([this] { Form_Resize(); });
}

void Form::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        activate();
    else
        m_active = false;
}

void Form::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    if (m_loaded)
        guard([&] { Form_Unload(cancel); });
    if (cancel) {
        event->ignore();
        return;
    }
    m_loaded = false;
    event->accept();
}

} // namespace host::ui
