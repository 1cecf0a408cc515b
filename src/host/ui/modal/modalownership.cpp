#include "host/ui/modal/modalownership.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace host::ui {

namespace {

// About a title bar's height.
constexpr int kCascadeStep = 28;

} // namespace

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
        // Only a window of the dialog kind is kept over its owner by the window manager; it
        // keeps the buttons of a main window.
        if (m_window.windowType() != Qt::Dialog)
            m_window.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
        m_window.winId();
        if (QWindow *handle = m_window.windowHandle())
            handle->setTransientParent(m_owner->windowHandle());
    }
    placeOnScreen(m_window, m_owner);
}

ModalOwnership::~ModalOwnership()
{
    if (QWindow *handle = m_window.windowHandle(); handle && m_owner)
        handle->setTransientParent(nullptr);
    if (!m_window.isVisible())
        activateOwner(m_owner);
}

void activateOwner(QWidget *owner)
{
    if (owner && owner->isVisible() && !owner->isMinimized() && !QApplication::activePopupWidget())
        owner->activateWindow();
}

OwnerActivation::OwnerActivation() : m_owner(currentOwner()) {}

OwnerActivation::~OwnerActivation()
{
    activateOwner(m_owner);
}

void placeOnScreen(QWidget &window, const QWidget *owner)
{
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The window's frame is not known before it is first shown; its owner's is alike.
    QMargins frame;
    if (owner) {
        const QRect inner = owner->geometry();
        const QRect outer = owner->frameGeometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    // A window laid out larger than the screen is made to fit it, so that none of it, its
    // buttons least of all, lies off screen.
    const QSize room = area.size().shrunkBy(frame);
    if (window.width() > room.width() || window.height() > room.height())
        window.resize(window.size().boundedTo(room));
    QRect outer(window.pos(), window.size().grownBy(frame));
    if (window.testAttribute(Qt::WA_Moved) && area.contains(outer))
        return;
    outer.moveCenter(owner ? owner->frameGeometry().center() : area.center());
    // A window that would hide the whole of its owner opens cascaded from the owner's corner,
    // so that the owner stays in sight behind it.
    if (owner && outer.contains(owner->frameGeometry())) {
        const int step = std::max(frame.top(), kCascadeStep);
        outer.moveTopLeft(owner->frameGeometry().topLeft() + QPoint(step, step));
    }
    if (outer.right() > area.right())
        outer.moveRight(area.right());
    if (outer.bottom() > area.bottom())
        outer.moveBottom(area.bottom());
    if (outer.left() < area.left())
        outer.moveLeft(area.left());
    if (outer.top() < area.top())
        outer.moveTop(area.top());
    window.move(outer.topLeft());
}

} // namespace host::ui
