#pragma once

#include <QColor>

namespace host::ui {

// Colours of the module are Longs written &H00BBGGRR (blue, green, red byte).
QColor fromOleColor(long color);
long toOleColor(const QColor &color);

} // namespace host::ui
