#include "host/ui/controls/tabcontrol.h"

#include <QShortcut>

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
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages from any control on them, as in every dialog;
    // a grid would take them for Tab and Shift+Tab.
    for (const auto &[key, step] :
         {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
          std::pair{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1}}) {
        new QShortcut(
            key, this,
            [this, step = step] {
                if (count() > 0)
                    setCurrentIndex((currentIndex() + step + count()) % count());
            },
            Qt::WidgetWithChildrenShortcut);
    }
}

} // namespace host::ui
