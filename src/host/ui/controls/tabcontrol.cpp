#include "host/ui/controls/tabcontrol.h"

#include <utility>

namespace host::ui {

TabControl::TabControl(QWidget *parent, int tabs)
    : QTabWidget(parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    for (int i = 0; i < tabs; ++i)
        addTab(new QWidget(this), QString());
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = std::exchange(m_previous, index);
        emit Click(previous);
    });
}

} // namespace host::ui
