#pragma once

class QWidget;

namespace host::ui {

// The window that a window or message opened now belongs to: the active window, else the
// topmost modal one; nullptr when there is none.
QWidget *currentOwner();

// For the time of a modal show, the window belongs to the window that opened it: the window
// manager keeps it above its owner, and it opens centred over the owner (over the screen when
// it has none) unless it has a place of its own that lies wholly on the screen.
class ModalOwnership
{
public:
    explicit ModalOwnership(QWidget &window);
    ~ModalOwnership();
    ModalOwnership(const ModalOwnership &) = delete;
    ModalOwnership &operator=(const ModalOwnership &) = delete;

private:
    void place();

    QWidget &m_window;
    QWidget *m_owner;
};

} // namespace host::ui
