#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QTabWidget>

namespace host::ui {

// Stand-in of the platform tab control. Tabs count from 0; each tab is a page that holds
// controls.
class TabControl : public QTabWidget, public TwipsGeometry
{
    Q_OBJECT

public:
    // A control of this many tabs, each an empty page.
    TabControl(QWidget *parent, int tabs);

    int Tab() const { return currentIndex(); }
    void setTab(int index) { setCurrentIndex(index); }
    int Tabs() const { return count(); }
    QString TabCaption(int index) const { return tabText(index); }
    void setTabCaption(int index, const QString &caption) { setTabText(index, caption); }
    QWidget *page(int index) const { return widget(index); }

signals:
    void Click(int PreviousTab);

private:
    int m_previous = 0;
};

} // namespace host::ui
