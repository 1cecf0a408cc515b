#include "host/ui/modal/modalownership.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace host::ui {

QWidget *currentOwner()
{
    QWidget *owner = QApplication::activeWindow();
    if (!owner)
        owner = QApplication::activeModalWidget();
    return owner ? owner->window() : nullptr;
}

ModalOwnership::ModalOwnership(QWidget &window) : m_window(window), m_owner(currentOwner())
{
    if (m_owner == &m_window)
        m_owner = nullptr;
    if (m_owner && m_owner->windowHandle()) {
        m_window.winId();
        if (QWindow *handle = m_window.windowHandle())
            handle->setTransientParent(m_owner->windowHandle());
    }
    place();
}

ModalOwnership::~ModalOwnership()
{
    if (QWindow *handle = m_window.windowHandle(); handle && m_owner)
        handle->setTransientParent(nullptr);
}

void ModalOwnership::place()
{
    if (m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QScreen *screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The window's frame is not known before it is first shown; its owner's is alike.
    QMargins frame;
    if (m_owner) {
        const QRect inner = m_owner->geometry();
        const QRect outer = m_owner->frameGeometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    // A window laid out larger than the screen is made to fit it, so that none of it, its
    // buttons least of all, lies off screen.
    const QSize room = area.size().shrunkBy(frame);
    if (m_window.width() > room.width() || m_window.height() > room.height())
        m_window.resize(m_window.size().boundedTo(room));
    QRect outer(m_window.pos(), m_window.size().grownBy(frame));
    if (m_window.testAttribute(Qt::WA_Moved) && area.contains(outer))
        return;
    outer.moveCenter(m_owner ? m_owner->frameGeometry().center() : area.center());
    if (outer.right() > area.right())
        outer.moveRight(area.right());
    if (outer.bottom() > area.bottom())
        outer.moveBottom(area.bottom());
    if (outer.left() < area.left())
        outer.moveLeft(area.left());
    if (outer.top() < area.top())
        outer.moveTop(area.top());
    m_window.move(outer.topLeft());
}

} // namespace host::ui
