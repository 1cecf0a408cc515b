#include "host/ui/form/typeahead.h"

#include "host/ui/form/windowactions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace host::ui {

namespace {

// A button of the window whose access key the key is: Alt and the letter underlined in its
// caption.
QAbstractButton *buttonOf(const QWidget &window, const QKeyEvent &key)
{
    if (key.modifiers() != Qt::AltModifier)
        return nullptr;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key.key())));
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>()) {
        if (button->isVisible() && button->isEnabled() &&
            QKeySequence::mnemonic(button->text()) == pressed)
            return button;
    }
    return nullptr;
}

// Delivers a key as one typed there would arrive: a shortcut of the window that no control
// claims runs its command or clicks its button, any other key goes to the control.
void deliver(QWidget &to, const QKeyEvent &key)
{
    if (key.type() == QEvent::KeyPress) {
        QKeyEvent claim(QEvent::ShortcutOverride, key.key(), key.modifiers(), key.text(),
                        key.isAutoRepeat());
        QCoreApplication::sendEvent(&to, &claim);
        if (!claim.isAccepted()) {
            if (QAction *command = shortcutCommand(*to.window(), key)) {
                command->trigger();
                return;
            }
            if (QAbstractButton *button = buttonOf(*to.window(), key)) {
                button->animateClick();
                return;
            }
        }
    }
    QKeyEvent copy(key.type(), key.key(), key.modifiers(), key.text(), key.isAutoRepeat());
    QCoreApplication::sendEvent(&to, &copy);
}

} // namespace

TypeAhead::TypeAhead(QWidget &window) : QObject(&window), m_window(window.windowHandle())
{
    if (m_window)
        m_window->installEventFilter(this);
    // Another window taking the keys releases them, and any window taking them later goes on
    // with them; the window is left to settle its focus first.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *now) {
        if (now && (now != m_window || m_released))
            QTimer::singleShot(0, this, &TypeAhead::release);
    });
}

void TypeAhead::commandDone()
{
    release();
}

bool TypeAhead::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // No shortcut of this window may act on a key meant for the window to come.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (event->type() == QEvent::KeyPress)
            m_pressed.insert(key.key());
        else if (!m_pressed.contains(key.key()))
            return false;
        m_keys.push_back(std::make_unique<QKeyEvent>(key.type(), key.key(), key.modifiers(),
                                                     key.text(), key.isAutoRepeat()));
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void TypeAhead::release()
{
    m_released = true;
    handOn();
}

void TypeAhead::handOn()
{
    if (m_handing)
        return;
    if (m_keys.empty()) {
        deleteLater();
        return;
    }
    // Between one window closing and the next taking the keys nobody has them: the key waits.
    QWidget *to = QApplication::focusWidget();
    if (!to)
        to = QApplication::activeWindow();
    if (!to)
        return;
    const std::unique_ptr<QKeyEvent> key = std::move(m_keys.front());
    m_keys.pop_front();
    m_handing = true;
    deliver(*to, *key);
    m_handing = false;
    // The key may close a window or open one: the next goes where the keys go then.
    QTimer::singleShot(0, this, &TypeAhead::handOn);
}

} // namespace host::ui
