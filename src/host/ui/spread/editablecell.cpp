#include "host/ui/spread/editablecell.h"

#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"

#include <algorithm>

namespace host::ui {

bool isEditableCell(const SpreadGrid &grid, int col, int row)
{
    return col >= 1 && col <= grid.MaxCols() && !grid.isColumnHidden(col - 1) &&
           !grid.spreadModel().settings().lock.get(col, row);
}

std::pair<int, int> nextEditableCell(const SpreadGrid &grid, int col, int row, bool forward)
{
    const int cols = grid.MaxCols();
    const int rows = grid.MaxRows();
    // A sheet of cells that take no typing is not read through on each key: past this many the
    // caller moves on as the arrows do.
    constexpr long long kMostCells = 100000;
    const long long cells = std::min(static_cast<long long>(cols) * rows, kMostCells);
    const int step = forward ? 1 : -1;
    for (long long i = 1; i < cells; ++i) {
        col += step;
        if (col > cols || col < 1) {
            col = forward ? 1 : cols;
            row += step;
            if (row > rows || row < 1)
                row = forward ? 1 : rows;
        }
        if (!grid.isRowHidden(row - 1) && !grid.isColumnHidden(col - 1) &&
            grid.spreadModel().isEditable(col, row))
            return {col, row};
    }
    return {0, 0};
}

int firstEditableCol(const SpreadGrid &grid, int row)
{
    for (int col = 1; col <= grid.MaxCols(); ++col)
        if (isEditableCell(grid, col, row))
            return col;
    return 0;
}

} // namespace host::ui
