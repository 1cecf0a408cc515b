#pragma once

#include <QProxyStyle>

class QMenuBar;

namespace host::ui {

// The look of a menu bar walked by keys: the title the keys are on shows highlighted, as an
// open menu's does, so that the user sees the bar holds the keys. Qt's own style shows
// nothing there once Escape closed the menu, and the keys seem to go nowhere.
class MenuBarStyle : public QProxyStyle
{
public:
    // Gives the bar this look; the bar owns it.
    static void apply(QMenuBar &bar);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
};

} // namespace host::ui
