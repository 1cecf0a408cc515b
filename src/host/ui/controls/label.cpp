#include "host/ui/controls/label.h"

namespace host::ui {

Label::Label(const QString &caption, QWidget *parent)
    : QLabel(caption, parent), TwipsGeometry(static_cast<QWidget &>(*this))
{}

void Label::setCaption(const QString &caption)
{
    setText(caption);
    if (m_autoSize)
        adjustSize();
}

void Label::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        adjustSize();
}

} // namespace host::ui
