#include "host/ui/controls/comboboxcontrol.h"

#include "host/core/hosterror.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace host::ui {

ComboBoxControl::ComboBoxControl(QWidget *parent)
    : QComboBox(parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit Click(); });
}

void ComboBoxControl::wheelEvent(QWheelEvent *event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void ComboBoxControl::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        focusNextChild();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void ComboBoxControl::checkIndex(int index) const
{
    if (index < 0 || index >= count())
        throw HostError("Invalid argument", HostError::InvalidProcedureCall);
}

void ComboBoxControl::AddItem(const QString &text, int index)
{
    const QSignalBlocker blocker(this);
    const int current = currentIndex();
    m_newIndex = index < 0 || index > count() ? count() : index;
    insertItem(m_newIndex, text);
    // Qt chooses the first item of an empty list by itself.
    setCurrentIndex(current < 0 ? -1 : (current >= m_newIndex ? current + 1 : current));
}

void ComboBoxControl::RemoveItem(int index)
{
    checkIndex(index);
    const QSignalBlocker blocker(this);
    removeItem(index);
}

void ComboBoxControl::Clear()
{
    const QSignalBlocker blocker(this);
    clear();
    m_newIndex = -1;
}

long ComboBoxControl::ItemData(int index) const
{
    checkIndex(index);
    return itemData(index).toLongLong();
}

void ComboBoxControl::setItemData(int index, long value)
{
    checkIndex(index);
    QComboBox::setItemData(index, static_cast<qlonglong>(value));
}

void ComboBoxControl::setListIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

} // namespace host::ui
