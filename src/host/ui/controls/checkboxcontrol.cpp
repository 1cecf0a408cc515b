#include "host/ui/controls/checkboxcontrol.h"

namespace host::ui {

CheckBoxControl::CheckBoxControl(const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    connect(this, &QCheckBox::stateChanged, this, [this] { emit Click(); });
}

int CheckBoxControl::Value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void CheckBoxControl::setValue(int value)
{
    if (value == 2)
        setTristate(true);
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

} // namespace host::ui
