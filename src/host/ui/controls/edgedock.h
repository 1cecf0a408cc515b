#pragma once

#include <QObject>

class QWidget;

namespace host::ui {

// Keeps a control along the top or bottom edge of its parent, as wide as the parent, as a
// band or status bar is.
class EdgeDock : public QObject
{
public:
    EdgeDock(QWidget &widget, Qt::Edge edge);

    void place();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_widget;
    Qt::Edge m_edge;
};

} // namespace host::ui
