#include "backup/spreadwidth.h"

#include "host/ui/twips.h"

#include <QFontMetrics>
#include <QWidget>

#include <cmath>

namespace backup {

int charsToTwips(const QWidget &grid, double chars)
{
    const int charTwips = host::ui::pixelsToTwipsX(QFontMetrics(grid.font()).averageCharWidth());
    return static_cast<int>(std::lround(chars * charTwips));
}

} // namespace backup
