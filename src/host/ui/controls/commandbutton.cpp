#include "host/ui/controls/commandbutton.h"

namespace host::ui {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { emit Click(); });
}

} // namespace host::ui
