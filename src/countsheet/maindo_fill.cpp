#include "countsheet/maindo.h"

#include "countsheet/sheettext.h"
#include "countsheet/sheettotals.h"
#include "host/core/text.h"
#include "host/db/recordset.h"
#include "host/ui/numberformat.h"
#include "host/ui/spreadgrid.h"
#include "services/langtext.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/trystep.h"

#include <array>
#include <cctype>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace {

using host::ui::CellType;
using host::ui::SpreadGrid;

constexpr double kQtyMin = -9999999999.9999;

// Addresses whole columns (every row) or a block of one row.
void columns(SpreadGrid &grid, int first, int last, int row = -1)
{
    grid.setBlockMode(true);
    grid.setCol(first);
    grid.setCol2(last);
    grid.setRow(row);
    grid.setRow2(row);
}

void floatColumns(SpreadGrid &grid, int first, int last, std::optional<double> min = {})
{
    columns(grid, first, last);
    grid.setCellType(CellType::Float);
    if (min)
        grid.setTypeFloatMin(*min);
}

void setUpColumns(SpreadGrid &grid)
{
    columns(grid, 1, 11);
    grid.setCellType(CellType::Edit);
    grid.setTypeMaxEditLen(255);
    for (int col : {3, 10, 27}) {
        columns(grid, col, col);
        grid.setLock(true);
    }
    for (int col : {2, 4, 15, 20, 26, 9, 40, 41}) {
        columns(grid, col, col);
        grid.setLock(true);
        grid.setColHidden(true);
    }
    floatColumns(grid, 25, 25);
    floatColumns(grid, 29, 29, kQtyMin);
    floatColumns(grid, 28, 28, 0.0);
    for (auto [first, last, locked] : {std::tuple{29, 30, true}, {31, 31, false}, {32, 32, true}}) {
        floatColumns(grid, first, last, kQtyMin);
        grid.setLock(locked);
        grid.setColHidden(false);
    }
    columns(grid, 33, 33);
    grid.setCellType(CellType::Edit);
    grid.setTypeMaxEditLen(255);
    grid.setLock(false);
    grid.setColHidden(false);
    columns(grid, 34, 42);
    grid.setLock(true);
    grid.setColHidden(true);
    floatColumns(grid, 43, 43, kQtyMin);
    grid.setLock(true);
    grid.setColHidden(true);
    columns(grid, 34, grid.MaxCols());
    grid.setColHidden(true);
}

void decimals(SpreadGrid &grid, int first, int last, int row, int places, bool grouping = false)
{
    columns(grid, first, last, row);
    grid.setTypeFloatDecimalPlaces(places);
    if (grouping)
        grid.setTypeFloatSeparator(true);
}

void lockCell(SpreadGrid &grid, int col, int row, bool locked)
{
    columns(grid, col, col, row);
    grid.setLock(locked);
}

QString numberText(double value)
{
    return host::ui::formatFull(value);
}

// One record of the sheet, read the way the fill reads fields. Field positions are found once
// per fill: the names are looked up without regard to case, which is costly per cell.
class RecordReader
{
public:
    explicit RecordReader(host::Recordset &rs) : m_rs(rs)
    {
        for (long i = 0; i < rs.FieldCount(); ++i)
            m_positions.emplace(host::toUpper(rs.Fields(i).Name()), i);
    }

    const host::Variant &field(std::string_view name) const
    {
        auto cached = m_cache.find(name);
        if (cached == m_cache.end()) {
            const auto found = m_positions.find(host::toUpper(name));
            cached = m_cache.emplace(name, found == m_positions.end() ? -1 : found->second).first;
        }
        if (cached->second < 0)
            return m_rs.Fields(name).Value(); // the recordset's own error for a missing field
        return m_rs.Fields(cached->second).Value();
    }
    QString text(std::string_view name) const
    {
        const host::Variant &v = field(name);
        return v.isNull() ? QString() : QString::fromStdString(host::CStr(v));
    }
    // A null field is an error here, which leaves its cell empty.
    double number(std::string_view name) const { return host::Val(field(name)); }
    double numberOrZero(std::string_view name) const
    {
        const host::Variant &v = field(name);
        return v.isNull() ? 0 : host::Val(v);
    }
    QString code(std::string_view full, std::string_view shortCode) const
    {
        return text(module().gUseShortNumber ? full : shortCode);
    }

private:
    host::Recordset &m_rs;
    std::unordered_map<std::string, long> m_positions;
    mutable std::unordered_map<std::string_view, long> m_cache;
};

// Columns 1 to 43 except the second-unit ones (28 to 32, 43), from the record.
void writeLine(SpreadGrid &grid, const RecordReader &r, int row, long itemId)
{
    auto put = [&](int col, const std::function<QString()> &value) {
        tryStep([&] { grid.SetText(col, row, value()); });
    };
    auto num = [&](int col, const std::function<double()> &value) {
        tryStep([&] { grid.SetText(col, row, numberText(value())); });
    };
    put(1, [&] { return QString::number(itemId); });
    put(2, [&] { return r.code("FStockNumber", "FStockShortNumber"); });
    put(3, [&] { return r.text("FStockName"); });
    put(4, [&] { return r.code("FSPNumber", "FSPShortNumber"); });
    put(5, [&] { return r.text("FSPName"); });
    put(6, [&] { return r.code("FNumber", "FShortNumber"); });
    put(7, [&] { return r.text("FName"); });
    put(8, [&] { return r.text("FModel"); });
    put(9, [&] { return r.code("FAuxPropNumber", "FAuxPropShortNumber"); });
    put(10, [&] { return r.text("FAuxPropName"); });
    put(11, [&] { return r.text("FBatchNo"); });
    put(12, [&] { return r.text("FMtoNo"); });
    put(13, [&] { return QString::fromStdString(shownDate(r.field("FKFDate"))); });
    put(14, [&] {
        const long period = host::CLng(r.field("FKFPeriod"));
        return period == 0 ? QString() : QString::number(period);
    });
    put(15, [&] { return r.code("FUnitNumber", "FUnitShortNumber"); });
    put(16, [&] { return r.text("FUnitName"); });
    num(17, [&] { return r.number("FQty"); });
    num(18, [&] { return r.numberOrZero("FQtyAct"); });
    num(19, [&] { return r.numberOrZero("FCheckQty"); });
    put(20, [&] { return r.code("FCUUnitNumber", "FCUUnitShortNumber"); });
    put(21, [&] { return r.text("FCUUnitName"); });
    num(22, [&] { return r.number("FCUUnitQty"); });
    num(23, [&] { return r.numberOrZero("FCUUnitQtyAct"); });
    num(24, [&] { return r.numberOrZero("FCUUnitCheckQty"); });
    num(25, [&] { return r.numberOrZero("FAdjQty"); });
    put(26, [&] { return r.code("FSecUnitNumber", "FSecUnitShortNumber"); });
    put(27, [&] { return r.text("FSecUnitName"); });
    put(33, [&] { return r.text("FNote"); });
    num(34, [&] { return r.number("FCoefficient"); });
    num(35, [&] { return r.number("FStockPlaceID"); });
    num(36, [&] { return r.numberOrZero("FQtyAct") - r.numberOrZero("FCheckQty"); });
    num(37, [&] { return r.number("FUnitID"); });
    num(38, [&] { return r.number("FUnitGroupID"); });
    num(39, [&] { return r.numberOrZero("FCUUnitQtyAct") - r.numberOrZero("FCUUnitCheckQty"); });
    put(40, [&] { return QString::number(host::CLng(r.field("FSecUnitID"))); });
    put(41, [&] { return QString::number(host::CLng(r.field("FAuxPropID"))); });
    put(42, [&] { return QString::number(host::CLng(r.field("FStockID"))); });
}

// Columns 28 to 32 and 43: only an item with a second unit has them, and only then can its
// conversion rate and counted second quantity be typed.
void writeSecondUnit(SpreadGrid &grid, const RecordReader &r, int row)
{
    auto num = [&](int col, const std::function<double()> &value) {
        tryStep([&] { grid.SetText(col, row, numberText(value())); });
    };
    bool hasSecondUnit = false;
    tryStep([&] { hasSecondUnit = host::CLng(r.field("FSecUnitID")) > 0; });
    if (!hasSecondUnit) {
        lockCell(grid, 28, row, true);
        lockCell(grid, 31, row, true);
        grid.SetText(43, row, numberText(0));
        return;
    }
    num(29, [&] { return r.numberOrZero("FSecQty"); });
    num(28, [&] { return r.number("FSecCoefficient"); });
    lockCell(grid, 28, row, false);
    num(30, [&] { return r.number("FSecQtyAct"); });
    num(31, [&] { return r.number("FSecCheckQty"); });
    lockCell(grid, 31, row, false);
    num(32, [&] { return r.number("FSecAdjQty"); });
    num(43, [&] { return r.numberOrZero("FSecQtyAct") - r.numberOrZero("FSecCheckQty"); });
}

// The columns the totals row sums, in the order the fill adds them.
constexpr std::array<int, 11> kTotalColumns{17, 18, 19, 22, 23, 24, 29, 25, 30, 31, 32};

} // namespace

void MainDo::InputFillRow(host::ui::SpreadGrid &vsGrid)
{
    SpreadGrid &grid = vsGrid;
    grid.setReDraw(false);
    tryStep([&] { setUpColumns(grid); });

    grid.setReDraw(false);
    grid.setMaxRows(0);
    long count = 0;
    tryStep([&] { count = p_RSMain ? p_RSMain->RecordCount() : 0; });
    if (count > 0) {
        grid.setMaxRows(static_cast<int>(count) + 1);
        std::array<double, kTotalColumns.size()> totals{};
        int largestDecimals = 0;
        int secondDecimals = 0;
        int row = 1;
        const RecordReader r(*p_RSMain);
        for (; !p_RSMain->EOF(); p_RSMain->MoveNext(), ++row) {
            int lineDecimals = 0;
            long itemId = 0;
            tryStep([&] { lineDecimals = static_cast<int>(host::CLng(r.field("FQtyDecimal"))); });
            largestDecimals = std::max(largestDecimals, lineDecimals);
            secondDecimals = lineDecimals;
            tryStep([&] { itemId = host::CLng(r.field("FItemID")); });

            decimals(grid, 17, 19, row, lineDecimals);
            decimals(grid, 22, 24, row, lineDecimals, true);
            decimals(grid, 36, 36, row, lineDecimals);
            decimals(grid, 39, 39, row, lineDecimals);
            decimals(grid, 34, 34, row, 10);
            decimals(grid, 25, 25, row, lineDecimals);
            decimals(grid, 29, 32, row, secondDecimals);
            decimals(grid, 28, 28, row, lineDecimals);
            decimals(grid, 43, 43, row, lineDecimals);

            writeLine(grid, r, row, itemId);
            writeSecondUnit(grid, r, row);
            // The totals are of what the cells now hold.
            for (size_t i = 0; i < kTotalColumns.size(); ++i)
                totals[i] += host::Val(grid.GetText(kTotalColumns[i], row).toStdString());
        }

        const int totalsRow = grid.MaxRows();
        decimals(grid, 17, 19, totalsRow, largestDecimals);
        decimals(grid, 22, 24, totalsRow, largestDecimals, true);
        decimals(grid, 25, 25, totalsRow, largestDecimals);
        decimals(grid, 29, 29, totalsRow, largestDecimals);
        decimals(grid, 30, 32, totalsRow, secondDecimals);
        grid.SetText(5, totalsRow, langText("合计"));
        for (size_t i = 0; i < kTotalColumns.size(); ++i)
            grid.SetText(kTotalColumns[i], totalsRow, numberText(totals[i]));
        columns(grid, 1, grid.MaxCols(), totalsRow);
        grid.setLock(true);
        grid.setBackColor(kTotalsBackColor);
        grid.setFontBold(true);
    }
    grid.setBlockMode(false);
    grid.setReDraw(true);
}
