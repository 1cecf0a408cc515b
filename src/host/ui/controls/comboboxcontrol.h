#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QComboBox>

namespace host::ui {

// Stand-in of the platform drop-down list. Items count from 0; ListIndex -1 is no item.
// Adding items chooses none; setting ListIndex from the program raises Click as the user's
// choice does. The wheel turns through the items only while the list has the focus, so a wheel
// meant for the window under the pointer chooses nothing; Enter in the closed list moves on to
// the next control, as Tab does.
class ComboBoxControl : public QComboBox, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit ComboBoxControl(QWidget *parent = nullptr);

    void AddItem(const QString &text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return count(); }
    QString List(int index) const { return itemText(index); }
    long ItemData(int index) const;
    void setItemData(int index, long value);
    int NewIndex() const { return m_newIndex; }
    int ListIndex() const { return currentIndex(); }
    void setListIndex(int index);
    QString Text() const { return currentText(); }

signals:
    void Click();

protected:
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void checkIndex(int index) const;

    int m_newIndex = -1;
};

} // namespace host::ui
