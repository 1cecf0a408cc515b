#include "countsheet/maindo.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/decimaltext.h"
#include "countsheet/sheettext.h"
#include "countsheet/sheettotals.h"
#include "host/core/hosterror.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/ledger/ledgergrid.h"
#include "services/mparse.h"

#include <algorithm>
#include <string_view>

namespace {

// A quantity of a sheet field rounded to the decimals it shows, grouped: its line's, or a second
// unit's and its rate's own.
LedgerCell quantityCell(double number, int lineDecimals, std::string_view field)
{
    const int decimals =
        showsOwnDecimals(field) ? secondUnitDecimals(number, lineDecimals) : lineDecimals;
    return {formatDecimal(number, decimals, true), roundDecimalHalfAway(number, decimals)};
}

// A cell of a ledger column: a date as the sheet shows it, a quantity rounded to the line's
// decimals (a second unit and its rate to their own) and grouped, a whole number as it is; "0"
// in the shelf-life period shows empty.
LedgerCell ledgerCell(const host::Variant &value, const ColumnTemplate &column, int decimals)
{
    if (value.isNull())
        return {};
    switch (column.ColType) {
    case 0:
        return {shownDate(value), std::nullopt};
    case 2: {
        return quantityCell(host::CDbl(value), decimals, column.ColName);
    }
    default:
        break;
    }
    std::string text = host::CStr(value);
    if (column.ColName == "FKFPeriod" && text == "0")
        return {};
    std::optional<double> number;
    if (column.ColType == 3 || column.ColType == 4)
        number = host::parseNumber(text);
    return {std::move(text), number};
}

std::string joined(const std::vector<LedgerCell> &cells)
{
    std::string row;
    for (const LedgerCell &cell : cells)
        row += cell.text + "|";
    return row;
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
    for (const ColumnTemplate &column : countSheetState().gColumns)
        row += column.Caption + "|";
    return row;
}

std::string MainDo::DRowData(long lRow, long *BackColor)
{
    return joined(DRowCells(lRow, BackColor));
}

std::vector<LedgerCell> MainDo::DRowCells(long lRow, long *BackColor)
{
    const bool totals = countSheetState().gShowType == 1 && m_Ldg && lRow == m_Ldg->Face().Rows();
    return totals ? totalsRow(BackColor) : dataRow(lRow);
}

std::vector<LedgerCell> MainDo::dataRow(long lRow)
{
    const CountSheetState &state = countSheetState();
    int decimals = 0;
    try {
        sheet().MoveFirst();
        sheet().Move(lRow - 3);
        decimals = std::max(0, static_cast<int>(host::CLng(sheet().Fields("FQtyDecimal").Value())));
    } catch (const std::exception &) {
        decimals = 0;
    }
    // The counted quantities of the print book stay blank, to be written in by hand.
    const bool print = state.gShowType == 3;
    const std::string blankCaption1 = print ? MParse::LoadLangString("基本单位盘点数量$") : "";
    const std::string blankCaption2 = print ? MParse::LoadLangString("盘点数量$") : "";
    std::vector<LedgerCell> cells;
    cells.reserve(state.gColumns.size());
    for (const ColumnTemplate &column : state.gColumns) {
        LedgerCell cell;
        try {
            cell = ledgerCell(sheet().Fields(column.ColName).Value(), column, decimals);
        } catch (const std::exception &) {
            cell = {};
        }
        if (print && (column.Caption == blankCaption1 || column.Caption == blankCaption2))
            cell = {};
        cells.push_back(std::move(cell));
    }
    return cells;
}

std::vector<LedgerCell> MainDo::totalsRow(long *BackColor)
{
    const CountSheetState &state = countSheetState();
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
    std::vector<LedgerCell> cells;
    cells.reserve(state.gColumns.size());
    for (const ColumnTemplate &column : state.gColumns) {
        LedgerCell cell;
        if (column.ColName == "FName")
            cell.text = MParse::LoadLangString("合计");
        for (const SheetTotal &t : kSheetTotals)
            if (column.ColName == t.field)
                cell = quantityCell(state.*t.total, decimals, t.field);
        cells.push_back(std::move(cell));
    }
    if (BackColor)
        *BackColor = kTotalsBackColor;
    return cells;
}
