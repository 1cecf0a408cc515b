#include "host/ui/controls/timercontrol.h"

namespace host::ui {

TimerControl::TimerControl(QObject *parent) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &TimerControl::Timer);
}

void TimerControl::setInterval(int milliseconds)
{
    m_interval = std::max(milliseconds, 0);
    apply();
}

void TimerControl::setEnabled(bool enabled)
{
    m_enabled = enabled;
    apply();
}

void TimerControl::apply()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

} // namespace host::ui
