#pragma once

#include <QPointer>

class QWidget;

namespace host::ui {

// Gives the window's focus back, when it goes out of scope, to the control that held it when
// it was made (for a command chosen from a menu walked by keys, the control the menu bar took it
// from), and in a grid to the cell the user was in when the grid was filled again meanwhile. A
// disabled window, a dialog or a message otherwise leave the focus to Qt, which gives it to the
// window's first control when the window is active again.
class FocusKeeper
{
public:
    explicit FocusKeeper(QWidget &window);
    ~FocusKeeper();
    FocusKeeper(const FocusKeeper &) = delete;
    FocusKeeper &operator=(const FocusKeeper &) = delete;

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_focus;
    int m_row = -1;
    int m_column = -1;
};

} // namespace host::ui
