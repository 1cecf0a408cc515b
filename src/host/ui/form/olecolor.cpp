#include "host/ui/form/olecolor.h"

namespace host::ui {

QColor fromOleColor(long color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

long toOleColor(const QColor &color)
{
    return static_cast<long>(color.red()) | (static_cast<long>(color.green()) << 8) |
           (static_cast<long>(color.blue()) << 16);
}

} // namespace host::ui
