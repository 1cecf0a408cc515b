#include "host/ui/controls/optionbutton.h"

namespace host::ui {

OptionButton::OptionButton(const QString &caption, QWidget *parent)
    : QRadioButton(caption, parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    connect(this, &QRadioButton::toggled, this, [this](bool chosen) {
        if (chosen)
            emit Click();
    });
}

} // namespace host::ui
