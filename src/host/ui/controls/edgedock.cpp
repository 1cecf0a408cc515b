#include "host/ui/controls/edgedock.h"

#include <QEvent>
#include <QWidget>

namespace host::ui {

EdgeDock::EdgeDock(QWidget &widget, Qt::Edge edge)
    : QObject(&widget), m_widget(widget), m_edge(edge)
{
    if (QWidget *parent = widget.parentWidget())
        parent->installEventFilter(this);
    widget.installEventFilter(this);
    place();
}

void EdgeDock::place()
{
    const QWidget *parent = m_widget.parentWidget();
    if (!parent)
        return;
    const int height = m_widget.height();
    const int top = m_edge == Qt::BottomEdge ? parent->height() - height : 0;
    m_widget.setGeometry(0, top, parent->width(), height);
}

bool EdgeDock::eventFilter(QObject *watched, QEvent *event)
{
    const bool parentResized =
        watched == m_widget.parentWidget() && event->type() == QEvent::Resize;
    const bool own =
        watched == &m_widget && (event->type() == QEvent::Show || event->type() == QEvent::Resize);
    if (parentResized || own)
        place();
    return QObject::eventFilter(watched, event);
}

} // namespace host::ui
