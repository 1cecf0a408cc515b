#include "countsheet/maindo.h"

#include "countsheet/decimaltext.h"
#include "countsheet/sheettext.h"
#include "countsheet/sheettotals.h"
#include "host/core/hosterror.h"
#include "host/db/recordset.h"
#include "host/ui/ledgergrid.h"
#include "services/modulestate.h"
#include "services/mparse.h"

#include <algorithm>
#include <string_view>

namespace {

// The cell of a ledger column; "0" in the shelf-life period shows empty.
void appendCell(std::string &row, const ColumnTemplate &column, const std::string &cell)
{
    if (!(column.ColName == "FKFPeriod" && cell == "0"))
        row += cell;
    row += "|";
}

std::string cellText(const host::Variant &value, long colType, int decimals)
{
    if (value.isNull())
        return {};
    switch (colType) {
    case 0:
        return shownDate(value);
    case 2:
        return formatDecimal(host::CDbl(value), decimals, true);
    default:
        return host::CStr(value);
    }
}

} // namespace

host::Recordset &MainDo::sheet() const
{
    if (!p_RSMain)
        throw host::HostError("Object variable or With block variable not set", 91);
    return *p_RSMain;
}

std::string MainDo::TRowData(long) const
{
    std::string row;
    for (const ColumnTemplate &column : module().gColumns)
        row += column.Caption + "|";
    return row;
}

std::string MainDo::DRowData(long lRow, long *BackColor)
{
    const bool totals = module().gShowType == 1 && m_Ldg && lRow == m_Ldg->Face().Rows();
    return totals ? totalsRow(BackColor) : dataRow(lRow);
}

std::string MainDo::dataRow(long lRow)
{
    std::string row;
    const ModuleState &m = module();
    int decimals = 0;
    try {
        sheet().MoveFirst();
        sheet().Move(lRow - 3);
        decimals = std::max(0, static_cast<int>(host::CLng(sheet().Fields("FQtyDecimal").Value())));
    } catch (const std::exception &) {
        decimals = 0;
    }
    // The counted quantities of the print book stay blank, to be written in by hand.
    const bool print = m.gShowType == 3;
    const std::string blankCaption1 = print ? MParse::LoadLangString("基本单位盘点数量$") : "";
    const std::string blankCaption2 = print ? MParse::LoadLangString("盘点数量$") : "";
    for (const ColumnTemplate &column : m.gColumns) {
        std::string cell;
        try {
            cell = cellText(sheet().Fields(column.ColName).Value(), column.ColType, decimals);
        } catch (const std::exception &) {
            cell.clear();
        }
        if (print && (column.Caption == blankCaption1 || column.Caption == blankCaption2))
            cell.clear();
        appendCell(row, column, cell);
    }
    return row;
}

std::string MainDo::totalsRow(long *BackColor)
{
    const ModuleState &m = module();
    // Without records the totals show four decimals.
    int decimals = 4;
    try {
        const std::string sort = sheet().Sort();
        sheet().Sort("FQtyDecimal desc ");
        if (sheet().RecordCount() > 0) {
            sheet().MoveFirst();
            decimals =
                std::max(0, static_cast<int>(host::CLng(sheet().Fields("FQtyDecimal").Value())));
        }
        sheet().Sort(sort);
    } catch (const std::exception &) {
        decimals = 4;
    }
    std::string row;
    for (const ColumnTemplate &column : m.gColumns) {
        std::string cell;
        if (column.ColName == "FName")
            cell = MParse::LoadLangString("合计");
        for (const SheetTotal &t : kSheetTotals)
            if (column.ColName == t.field)
                cell = formatDecimal(m.*t.total, decimals, true);
        appendCell(row, column, cell);
    }
    if (BackColor)
        *BackColor = kTotalsBackColor;
    return row;
}
