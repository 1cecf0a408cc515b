#include "host/ui/controls/frame.h"

namespace host::ui {

Frame::Frame(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent), TwipsGeometry(static_cast<QWidget &>(*this))
{}

} // namespace host::ui
