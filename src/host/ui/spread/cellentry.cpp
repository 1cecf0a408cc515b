#include "host/ui/spread/cellentry.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <utility>

namespace host::ui {

namespace {

// Keys that move between cells, without Shift, which selects in the text.
bool movesBetweenCells(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers others =
        event.modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
    if (others != Qt::NoModifier)
        return false;
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

CellEntry::CellEntry(std::function<void(QKeyEvent &)> moveOn, QObject *parent)
    : QObject(parent), m_moveOn(std::move(moveOn))
{}

void CellEntry::watch(QWidget &editor)
{
    // Lists, dates and check marks take their keys as they are; only a text holds an entry.
    if (qobject_cast<QLineEdit *>(&editor))
        editor.installEventFilter(this);
}

void CellEntry::editText(QWidget &editor, const QPoint *clicked)
{
    auto *edit = qobject_cast<QLineEdit *>(&editor);
    if (!edit)
        return;
    m_editsText = edit;
    edit->deselect();
    edit->setCursorPosition(clicked ? edit->cursorPositionAt(*clicked)
                                    : static_cast<int>(edit->text().size()));
}

bool CellEntry::eventFilter(QObject *watched, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(watched);
    if (!editor)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(*editor, static_cast<QKeyEvent &>(*event));
    case QEvent::MouseButtonPress:
        m_clicked = editor;
        return editor != m_editsText;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        return editor != m_editsText;
    case QEvent::MouseButtonDblClick:
        if (editor == m_editsText)
            return false;
        if (std::exchange(m_clicked, nullptr) != editor)
            return true;
        {
            const QPoint at = static_cast<const QMouseEvent &>(*event).position().toPoint();
            editText(*editor, &at);
        }
        return true;
    default:
        return false;
    }
}

bool CellEntry::keyPressed(QWidget &editor, QKeyEvent &event)
{
    m_clicked = nullptr;
    if (event.key() == Qt::Key_F2 && event.modifiers() == Qt::NoModifier) {
        if (&editor == m_editsText)
            m_editsText = nullptr;
        else
            editText(editor);
        return true;
    }
    if (&editor == m_editsText || !movesBetweenCells(event))
        return false;
    m_moveOn(event);
    return true;
}

} // namespace host::ui
