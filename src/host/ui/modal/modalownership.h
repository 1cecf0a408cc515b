#pragma once

#include <QPointer>
#include <QWidget>

namespace host::ui {

// The window that a window or message opened now belongs to: the active window, else the
// topmost modal one; nullptr when there is none.
QWidget *currentOwner();

// Sizes the window to fit the screen's available area and places it centred over its owner
// (over the screen when it has none), or cascaded from the owner's corner where it would hide
// the whole owner, unless it has a place of its own that lies wholly on the screen. For a
// window about to be shown, whose frame is not known yet.
void placeOnScreen(QWidget &window, const QWidget *owner);

// After a window or message that belonged to the owner has gone: the owner, where it is still
// shown, is made the active window again. A window manager may leave the activation with a
// window that was closed a moment after it was given it, and the keys then go nowhere.
void activateOwner(QWidget *owner);

// The current owner, taken when a message or a dialog of the platform is about to be shown over
// it, and made active again when this goes, after the dialog has ended.
class OwnerActivation
{
public:
    OwnerActivation();
    ~OwnerActivation();
    OwnerActivation(const OwnerActivation &) = delete;
    OwnerActivation &operator=(const OwnerActivation &) = delete;

    QWidget *owner() const { return m_owner; }

private:
    QPointer<QWidget> m_owner;
};

// For the time of a modal show, the window belongs to the window that opened it: it is a
// dialog of its owner, which the window manager keeps above the owner, and it is placed by
// placeOnScreen. When the show ends the owner is active again.
class ModalOwnership
{
public:
    explicit ModalOwnership(QWidget &window);
    ~ModalOwnership();
    ModalOwnership(const ModalOwnership &) = delete;
    ModalOwnership &operator=(const ModalOwnership &) = delete;

private:
    QWidget &m_window;
    QPointer<QWidget> m_owner;
};

} // namespace host::ui
