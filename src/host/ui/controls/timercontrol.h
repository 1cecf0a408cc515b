#pragma once

#include <QObject>
#include <QTimer>

namespace host::ui {

// Stand-in of the platform timer: raises Timer every Interval milliseconds while Enabled and
// the interval is above 0.
class TimerControl : public QObject
{
    Q_OBJECT

public:
    explicit TimerControl(QObject *parent = nullptr);

    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

signals:
    void Timer();

private:
    void apply();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = false;
};

} // namespace host::ui
