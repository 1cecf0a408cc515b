#include "host/ui/form/menubarstyle.h"

#include <QMenuBar>
#include <QStyleOptionMenuItem>

namespace host::ui {

void MenuBarStyle::apply(QMenuBar &bar)
{
    if (dynamic_cast<MenuBarStyle *>(bar.style()))
        return;
    auto *style = new MenuBarStyle;
    style->setParent(&bar);
    bar.setStyle(style);
}

void MenuBarStyle::drawControl(ControlElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    // The bar has the focus only while it is walked by keys.
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element == CE_MenuBarItem && item && widget && widget->hasFocus() &&
        (item->state & State_Selected)) {
        QStyleOptionMenuItem walked = *item;
        walked.state |= State_Sunken;
        QProxyStyle::drawControl(element, &walked, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

} // namespace host::ui
