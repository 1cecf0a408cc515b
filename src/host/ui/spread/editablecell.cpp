#include "host/ui/spread/editablecell.h"

#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"

namespace host::ui {

bool isEditableCell(const SpreadGrid &grid, int col, int row)
{
    return col >= 1 && col <= grid.MaxCols() && !grid.isColumnHidden(col - 1) &&
           !grid.spreadModel().settings().lock.get(col, row);
}

int firstEditableCol(const SpreadGrid &grid, int row)
{
    for (int col = 1; col <= grid.MaxCols(); ++col)
        if (isEditableCell(grid, col, row))
            return col;
    return 0;
}

} // namespace host::ui
