#include "host/ui/spread/clickedit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>

namespace host::ui {

ClickEdit::ClickEdit(QAbstractItemView &view) : QObject(&view), m_view(view)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ClickEdit::open);
    view.viewport()->installEventFilter(this);
}

void ClickEdit::cancel()
{
    m_timer.stop();
    m_pressed = QPersistentModelIndex();
}

bool ClickEdit::eventFilter(QObject *watched, QEvent *event)
{
    // Seen before the view handles the event, while the current cell is still the one before.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto &mouse = static_cast<const QMouseEvent &>(*event);
        const QModelIndex index = m_view.indexAt(mouse.position().toPoint());
        cancel();
        if (mouse.button() == Qt::LeftButton && opens(index) &&
            m_view.selectionModel()->isSelected(index))
            m_pressed = index;
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto &mouse = static_cast<const QMouseEvent &>(*event);
        if (m_pressed.isValid() && m_view.indexAt(mouse.position().toPoint()) == m_pressed) {
            m_clicked = m_pressed;
            m_timer.start(QApplication::doubleClickInterval());
        }
        m_pressed = QPersistentModelIndex();
        break;
    }
    case QEvent::MouseButtonDblClick:
        cancel();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ClickEdit::open()
{
    // The user may have moved on, or away, in the meantime.
    if (opens(m_clicked) && m_view.hasFocus())
        m_view.edit(m_clicked);
}

bool ClickEdit::opens(const QModelIndex &index) const
{
    return index.isValid() && index == m_view.currentIndex() &&
           (index.flags() & Qt::ItemIsEditable) && !m_view.indexWidget(index);
}

} // namespace host::ui
