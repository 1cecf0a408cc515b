#include "countsheet/maindo.h"

#include "countsheet/countline.h"
#include "countsheet/countlinegrid.h"
#include "countsheet/sheettotals.h"
#include "host/core/text.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"
#include "services/langtext.h"
#include "services/modulestate.h"
#include "services/trystep.h"

#include <array>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

using host::ui::CellType;
using host::ui::SpreadGrid;
namespace C = EntryCol;

// A rate or a second-unit quantity shows up to this many decimals where its value has more than
// the line's: a figure kept by the host's stock or typed by a user has no more, and beyond them a
// rate that is the quotient of two counts would show only the division's noise.
constexpr int kSecondUnitShownDecimals = 6;
constexpr int kCoefficientDecimals = 10;

// Addresses whole columns (every row) or a block of one row.
void columns(SpreadGrid &grid, int first, int last, int row = -1)
{
    grid.setBlockMode(true);
    grid.setCol(first);
    grid.setCol2(last);
    grid.setRow(row);
    grid.setRow2(row);
}

// The cells of every column as the table makes them; whether the plan-tracking column is shown
// stays as the window set it.
void setUpColumns(SpreadGrid &grid)
{
    for (const EntryColumn &column : entryColumns()) {
        columns(grid, column.col, column.col);
        grid.setCellType(column.cellType);
        if (column.cellType == CellType::Edit) {
            grid.setTypeMaxEditLen(column.maxLength);
        } else {
            grid.setTypeFloatMin(column.floatMin);
            grid.setTypeFloatMax(column.floatMax);
            grid.setTypeFloatSeparator(column.grouping);
        }
        if (column.decimals == DecimalsRule::Ten)
            grid.setTypeFloatDecimalPlaces(kCoefficientDecimals);
        grid.setTypeFloatMoreDecimals(
            column.decimals == DecimalsRule::SecondUnit ? kSecondUnitShownDecimals : 0);
        grid.setLock(!column.editable);
        if (column.col != C::MtoNo)
            grid.setColHidden(column.hidden);
    }
    columns(grid, C::kCount + 1, grid.MaxCols());
    if (grid.MaxCols() > C::kCount)
        grid.setColHidden(true);
}

// The runs of neighbouring columns whose decimals follow the line's.
std::vector<std::pair<int, int>> lineDecimalRuns()
{
    std::vector<std::pair<int, int>> runs;
    for (const EntryColumn &column : entryColumns()) {
        if (column.decimals != DecimalsRule::Line && column.decimals != DecimalsRule::SecondUnit)
            continue;
        if (!runs.empty() && runs.back().second + 1 == column.col)
            runs.back().second = column.col;
        else
            runs.emplace_back(column.col, column.col);
    }
    return runs;
}

void decimals(SpreadGrid &grid, int first, int last, int row, int places)
{
    columns(grid, first, last, row);
    grid.setTypeFloatDecimalPlaces(places);
}

void lockCell(SpreadGrid &grid, int col, int row, bool locked)
{
    columns(grid, col, col, row);
    grid.setLock(locked);
}

// The count lines of the sheet's records. Fields are found by position once per fill, since
// looking a name up without regard to case is costly per cell. A field the sheet lacks leaves
// its column empty on every line.
class SheetLines
{
public:
    explicit SheetLines(host::Recordset &rs) : m_rs(rs)
    {
        std::unordered_map<std::string, long> positions;
        for (long i = rs.FieldCount() - 1; i >= 0; --i)
            positions[host::toUpper(rs.Fields(i).Name())] = i;
        auto position = [&](std::string_view name) {
            const auto found = positions.find(host::toUpper(name));
            return found == positions.end() ? -1 : found->second;
        };
        const bool fullCodes = module().gUseShortNumber;
        for (const EntryColumn &column : entryColumns()) {
            Fields &f = m_fields[static_cast<std::size_t>(column.col - 1)];
            const bool shortCode = column.source == CellSource::Code && !fullCodes;
            f.first = position(shortCode ? column.otherField : column.field);
            if (column.source == CellSource::Difference)
                f.second = position(column.otherField);
        }
        m_decimals = position("FQtyDecimal");
    }

    CountLine current() const
    {
        CountLine line;
        for (const EntryColumn &column : entryColumns())
            if (!column.secondUnitOnly)
                read(column, line);
        // Only an item with a second unit has its quantities and rate.
        for (const EntryColumn &column : entryColumns()) {
            if (!column.secondUnitOnly)
                continue;
            if (line.hasSecondUnit())
                read(column, line);
            else if (column.source != CellSource::Difference)
                line.blank.set(static_cast<std::size_t>(column.col));
        }
        if (m_decimals >= 0) {
            const host::Variant value = m_rs.Fields(m_decimals).Value();
            line.qtyDecimals = value.isNull() ? 0 : std::max(0, whole(value));
        }
        return line;
    }

private:
    struct Fields
    {
        long first = -1;
        long second = -1;
    };

    static int whole(const host::Variant &value)
    {
        const double number = host::Val(value);
        return std::isfinite(number) ? static_cast<int>(std::lround(number)) : 0;
    }

    void read(const EntryColumn &column, CountLine &line) const
    {
        const Fields &f = m_fields[static_cast<std::size_t>(column.col - 1)];
        const auto bit = static_cast<std::size_t>(column.col);
        if (f.first < 0 || (column.source == CellSource::Difference && f.second < 0)) {
            line.blank.set(bit);
            return;
        }
        const host::Variant value = m_rs.Fields(f.first).Value();
        switch (column.source) {
        case CellSource::Text:
        case CellSource::Code:
        case CellSource::Date:
            line.*column.text = value.isNull() ? std::string() : host::CStr(value);
            return;
        case CellSource::Quantity:
        case CellSource::Id:
        case CellSource::Period:
            if (value.isNull()) {
                line.blank.set(bit);
                return;
            }
            break;
        case CellSource::QuantityOrZero:
        case CellSource::Difference:
            break;
        }
        double number = value.isNull() ? 0 : host::Val(value);
        if (column.source == CellSource::Difference) {
            const host::Variant other = m_rs.Fields(f.second).Value();
            number -= other.isNull() ? 0 : host::Val(other);
        }
        if (column.number)
            line.*column.number = number;
        else
            line.*column.id = std::isfinite(number) ? std::lround(number) : 0;
    }

    host::Recordset &m_rs;
    std::array<Fields, C::kCount> m_fields{};
    long m_decimals = -1;
};

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
        const std::vector<std::pair<int, int>> runs = lineDecimalRuns();
        ColumnSet everyColumn;
        everyColumn.set();
        std::array<double, C::kCount + 1> totals{};
        int largestDecimals = 0;
        int lastDecimals = 0;
        int row = 1;
        const SheetLines lines(*p_RSMain);
        for (; !p_RSMain->EOF(); p_RSMain->MoveNext(), ++row) {
            const CountLine line = lines.current();
            largestDecimals = std::max(largestDecimals, line.qtyDecimals);
            lastDecimals = line.qtyDecimals;
            for (const auto &[first, last] : runs)
                decimals(grid, first, last, row, line.qtyDecimals);
            writeCountLine(grid, row, line, everyColumn);
            // Only an item with a second unit has a rate and a second count to type.
            lockCell(grid, C::SecCoefficient, row, !line.hasSecondUnit());
            lockCell(grid, C::SecCheckQty, row, !line.hasSecondUnit());
            for (const EntryColumn &column : entryColumns())
                if (column.summed)
                    totals[static_cast<std::size_t>(column.col)] += columnNumber(line, column);
        }

        const int totalsRow = grid.MaxRows();
        decimals(grid, C::Qty, C::CheckQty, totalsRow, largestDecimals);
        decimals(grid, C::CUUnitQty, C::AdjQty, totalsRow, largestDecimals);
        decimals(grid, C::SecQty, C::SecQty, totalsRow, largestDecimals);
        decimals(grid, C::SecQtyAct, C::SecAdjQty, totalsRow, lastDecimals);
        grid.SetText(C::SPName, totalsRow, langText("合计"));
        for (const EntryColumn &column : entryColumns())
            if (column.summed)
                grid.spreadModel().setCellNumber(column.col, totalsRow,
                                                 totals[static_cast<std::size_t>(column.col)]);
        columns(grid, 1, grid.MaxCols(), totalsRow);
        grid.setLock(true);
        grid.setBackColor(kTotalsBackColor);
        grid.setFontBold(true);
    }
    grid.setBlockMode(false);
    grid.setReDraw(true);
}
