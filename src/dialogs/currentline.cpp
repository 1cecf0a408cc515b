#include "dialogs/currentline.h"

#include "host/core/dateformatter.h"
#include "host/core/hosterror.h"
#include "host/core/variant.h"
#include "host/ui/spreadgrid.h"
#include "services/modulestate.h"

#include <cmath>

namespace {

std::string cellText(const host::ui::SpreadGrid &grid, int col, int row)
{
    return host::Trim(grid.GetText(col, row).toStdString());
}

double cellNumber(const host::ui::SpreadGrid &grid, int col, int row)
{
    return host::Val(cellText(grid, col, row));
}

long cellId(const host::ui::SpreadGrid &grid, int col, int row)
{
    return std::lround(cellNumber(grid, col, row));
}

std::string cellDate(const host::ui::SpreadGrid &grid, int col, int row)
{
    try {
        return host::DateFormatter().format(cellText(grid, col, row), "YYYY-MM-DD");
    } catch (const host::HostError &) {
        return {};
    }
}

} // namespace

void copyCurrentLine(host::ui::SpreadGrid &vsCheck, int row)
{
    ModuleState &m = module();
    m.gCurItemID = cellId(vsCheck, 1, row);
    m.gCurItemNumber = cellText(vsCheck, 6, row);
    m.gCurBatchNo = cellText(vsCheck, 11, row);
    m.gCurMtoNo = cellText(vsCheck, 12, row);
    m.gCurKFDate = cellDate(vsCheck, 13, row);
    m.gCurSPID = cellId(vsCheck, 35, row);
    m.gCurStockID = cellId(vsCheck, 42, row);
    m.gCurStockName = cellText(vsCheck, 3, row);
    m.gCurKFPeriod = cellId(vsCheck, 14, row);
    vsCheck.setCol(17);
    vsCheck.setRow(row);
    m.gCurQtyDecimal = vsCheck.TypeFloatDecimalPlaces();
    m.gCurQty = cellNumber(vsCheck, 17, row);
    m.gCurCheckQty = cellNumber(vsCheck, 19, row);
    m.gCurAuxPropID = cellId(vsCheck, 41, row);
    m.gCurSecQty = cellNumber(vsCheck, 29, row);
}
