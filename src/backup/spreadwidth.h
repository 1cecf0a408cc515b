#pragma once

class QWidget;

namespace backup {

// Column widths of the data-bound grids are given in characters of the grid's font; the grid
// takes twips.
int charsToTwips(const QWidget &grid, double chars);

} // namespace backup
