#pragma once

#include "host/ui/form/busycursor.h"
#include "host/ui/form/focuskeeper.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace host::ui {
class StatusBarControl;
}

// A long operation of a window: the hourglass, the window disabled and a text in the status
// bar's first panel, all put back ("就绪" in the panel) on every way out of the scope, and the
// focus back in the control the user was in.
class WindowBusy
{
public:
    WindowBusy(QWidget &window, host::ui::StatusBarControl &status, const QString &text);
    ~WindowBusy();
    WindowBusy(const WindowBusy &) = delete;
    WindowBusy &operator=(const WindowBusy &) = delete;

private:
    host::ui::BusyCursor m_cursor;
    host::ui::FocusKeeper m_focus;
    QPointer<QWidget> m_window;
    QPointer<host::ui::StatusBarControl> m_status;
    bool m_wasEnabled;
};
