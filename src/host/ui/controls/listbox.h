#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QListWidget>

namespace host::ui {

// Stand-in of the platform list box. Items count from 0; ListIndex -1 is no item. Setting
// ListIndex from the program raises Click as a user's choice does. In the check-box style
// Selected(i) is the item's check mark.
class ListBox : public QListWidget, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit ListBox(QWidget *parent = nullptr);

    void AddItem(const QString &text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return count(); }
    QString List(int index) const;
    void setList(int index, const QString &text);
    long ItemData(int index) const;
    void setItemData(int index, long value);
    // Index of the item added last.
    int NewIndex() const { return m_newIndex; }
    int ListIndex() const { return currentRow(); }
    void setListIndex(int index);
    QString Text() const;
    bool Selected(int index) const;
    void setSelected(int index, bool selected);
    // 0 single choice, 1 simple and 2 extended multiple choice.
    void setMultiSelect(int mode);
    void setCheckBoxStyle(bool on);
    // Width in pixels that the list can be scrolled across, for items wider than the box.
    void setHorizontalExtent(int pixels);

signals:
    void Click();
    void DblClick();
    void ItemCheck(int Item);

protected:
    void updateGeometries() override;

private:
    QListWidgetItem *itemAt(int index) const;

    bool m_checkBoxes = false;
    int m_newIndex = -1;
    int m_extent = 0;
};

} // namespace host::ui
