#include "window/windowbusy.h"

#include "host/ui/controls/statusbarcontrol.h"
#include "services/langtext.h"

WindowBusy::WindowBusy(QWidget &window, host::ui::StatusBarControl &status, const QString &text)
    : m_focus(window), m_window(&window), m_status(&status), m_wasEnabled(window.isEnabled())
{
    status.Panels(1).setText(text);
    window.setEnabled(false);
}

WindowBusy::~WindowBusy()
{
    if (m_window)
        m_window->setEnabled(m_wasEnabled);
    if (m_status)
        m_status->Panels(1).setText(langText("就绪"));
}
