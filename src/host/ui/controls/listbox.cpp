#include "host/ui/controls/listbox.h"

#include "host/core/hosterror.h"

#include <QScrollBar>

namespace host::ui {

namespace {

constexpr int kItemDataRole = Qt::UserRole + 1;

} // namespace

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(this, &QListWidget::currentRowChanged, this, [this] { emit Click(); });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit DblClick(); });
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_checkBoxes)
            emit ItemCheck(row(item));
    });
}

QListWidgetItem *ListBox::itemAt(int index) const
{
    QListWidgetItem *found = item(index);
    if (!found)
        throw HostError("Invalid property array index", 381);
    return found;
}

void ListBox::AddItem(const QString &text, int index)
{
    auto *entry = new QListWidgetItem(text);
    if (m_checkBoxes) {
        entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
    const QSignalBlocker blocker(this);
    m_newIndex = index < 0 || index > count() ? count() : index;
    insertItem(m_newIndex, entry);
}

void ListBox::RemoveItem(int index)
{
    const QSignalBlocker blocker(this);
    delete itemAt(index);
}

void ListBox::Clear()
{
    const QSignalBlocker blocker(this);
    clear();
    m_newIndex = -1;
}

QString ListBox::List(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry ? entry->text() : QString();
}

void ListBox::setList(int index, const QString &text)
{
    itemAt(index)->setText(text);
}

long ListBox::ItemData(int index) const
{
    return itemAt(index)->data(kItemDataRole).toLongLong();
}

void ListBox::setItemData(int index, long value)
{
    itemAt(index)->setData(kItemDataRole, static_cast<qlonglong>(value));
}

void ListBox::setListIndex(int index)
{
    setCurrentRow(index >= 0 && index < count() ? index : -1);
}

QString ListBox::Text() const
{
    return List(currentRow());
}

bool ListBox::Selected(int index) const
{
    const QListWidgetItem *entry = itemAt(index);
    return m_checkBoxes ? entry->checkState() == Qt::Checked : entry->isSelected();
}

void ListBox::setSelected(int index, bool selected)
{
    QListWidgetItem *entry = itemAt(index);
    if (m_checkBoxes)
        entry->setCheckState(selected ? Qt::Checked : Qt::Unchecked);
    else
        entry->setSelected(selected);
}

void ListBox::setMultiSelect(int mode)
{
    setSelectionMode(mode == 1   ? QAbstractItemView::MultiSelection
                     : mode == 2 ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
}

void ListBox::setCheckBoxStyle(bool on)
{
    m_checkBoxes = on;
}

void ListBox::setHorizontalExtent(int pixels)
{
    m_extent = std::max(pixels, 0);
    updateGeometries();
}

void ListBox::updateGeometries()
{
    QListWidget::updateGeometries();
    const int overhang = m_extent - viewport()->width();
    if (overhang > horizontalScrollBar()->maximum())
        horizontalScrollBar()->setRange(0, overhang);
}

} // namespace host::ui
