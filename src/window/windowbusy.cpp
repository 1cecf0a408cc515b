#include "window/windowbusy.h"

#include "backup/langtext.h"
#include "host/ui/statusbarcontrol.h"

WindowBusy::WindowBusy(QWidget &window, host::ui::StatusBarControl &status, const QString &text)
    : m_window(&window), m_status(&status), m_wasEnabled(window.isEnabled())
{
    status.Panels(1).setText(text);
    window.setEnabled(false);
}

WindowBusy::~WindowBusy()
{
    if (m_window)
        m_window->setEnabled(m_wasEnabled);
    if (m_status)
        m_status->Panels(1).setText(backup::langText("就绪"));
}
