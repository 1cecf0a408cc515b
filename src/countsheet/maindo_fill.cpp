#include "countsheet/maindo.h"

#include "countsheet/sheettext.h"
#include "countsheet/sheettotals.h"
#include "host/core/text.h"
#include "host/db/recordset.h"
#include "host/ui/spreadgrid.h"
#include "host/ui/spreadmodel.h"
#include "services/langtext.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/trystep.h"

#include <array>
#include <cctype>
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

// How a cell of a line is made from the record.
enum class Source
{
    Text,         // the field's text; Null leaves the cell empty
    Code,         // a code: the first field with gUseShortNumber, else the second
    Number,       // the field's number; Null is an error
    NumberOrZero, // Null counts as 0
    Difference,   // first minus second, Null as 0
    Whole,        // CLng of the field
    Period,       // CLng of the field, empty when 0
    Date          // the field as the sheet shows a date
};

struct CellSource
{
    int col;
    Source source;
    std::string_view field;
    std::string_view other = {};
};

// Columns 2 to 43 of a line except the second-unit ones (28 to 32, 43).
constexpr std::array<CellSource, 40> kLineCells{{
    {2, Source::Code, "FStockNumber", "FStockShortNumber"},
    {3, Source::Text, "FStockName"},
    {4, Source::Code, "FSPNumber", "FSPShortNumber"},
    {5, Source::Text, "FSPName"},
    {6, Source::Code, "FNumber", "FShortNumber"},
    {7, Source::Text, "FName"},
    {8, Source::Text, "FModel"},
    {9, Source::Code, "FAuxPropNumber", "FAuxPropShortNumber"},
    {10, Source::Text, "FAuxPropName"},
    {11, Source::Text, "FBatchNo"},
    {12, Source::Text, "FMtoNo"},
    {13, Source::Date, "FKFDate"},
    {14, Source::Period, "FKFPeriod"},
    {15, Source::Code, "FUnitNumber", "FUnitShortNumber"},
    {16, Source::Text, "FUnitName"},
    {17, Source::Number, "FQty"},
    {18, Source::NumberOrZero, "FQtyAct"},
    {19, Source::NumberOrZero, "FCheckQty"},
    {20, Source::Code, "FCUUnitNumber", "FCUUnitShortNumber"},
    {21, Source::Text, "FCUUnitName"},
    {22, Source::Number, "FCUUnitQty"},
    {23, Source::NumberOrZero, "FCUUnitQtyAct"},
    {24, Source::NumberOrZero, "FCUUnitCheckQty"},
    {25, Source::NumberOrZero, "FAdjQty"},
    {26, Source::Code, "FSecUnitNumber", "FSecUnitShortNumber"},
    {27, Source::Text, "FSecUnitName"},
    {33, Source::Text, "FNote"},
    {34, Source::Number, "FCoefficient"},
    {35, Source::Number, "FStockPlaceID"},
    {36, Source::Difference, "FQtyAct", "FCheckQty"},
    {37, Source::Number, "FUnitID"},
    {38, Source::Number, "FUnitGroupID"},
    {39, Source::Difference, "FCUUnitQtyAct", "FCUUnitCheckQty"},
    {40, Source::Whole, "FSecUnitID"},
    {41, Source::Whole, "FAuxPropID"},
    {42, Source::Whole, "FStockID"},
}};

// Columns 28 to 32 and 43 of an item with a second unit, in the order they are written.
constexpr std::array<CellSource, 6> kSecondUnitCells{{
    {29, Source::NumberOrZero, "FSecQty"},
    {28, Source::Number, "FSecCoefficient"},
    {30, Source::Number, "FSecQtyAct"},
    {31, Source::Number, "FSecCheckQty"},
    {32, Source::Number, "FSecAdjQty"},
    {43, Source::Difference, "FSecQtyAct", "FSecCheckQty"},
}};

// The record's fields by position, found once per fill: the names are looked up without
// regard to case, which is costly per cell. A field the recordset lacks raises the
// recordset's own error when it is read, which leaves its cell empty.
class RecordReader
{
public:
    explicit RecordReader(host::Recordset &rs) : m_rs(rs)
    {
        for (long i = 0; i < rs.FieldCount(); ++i)
            m_positions.emplace(host::toUpper(rs.Fields(i).Name()), i);
    }

    long position(std::string_view name) const
    {
        const auto found = m_positions.find(host::toUpper(name));
        return found == m_positions.end() ? -1 : found->second;
    }
    host::Variant field(long position, std::string_view name) const
    {
        return position < 0 ? m_rs.Fields(name).Value() : m_rs.Fields(position).Value();
    }

private:
    host::Recordset &m_rs;
    std::unordered_map<std::string, long> m_positions;
};

// The cells of a table, each with its fields' positions.
template <size_t N> class LineWriter
{
public:
    LineWriter(const std::array<CellSource, N> &cells, const RecordReader &reader)
        : m_cells(cells), m_reader(reader)
    {
        const bool shortCodes = module().gUseShortNumber;
        for (size_t i = 0; i < N; ++i) {
            const CellSource &c = cells[i];
            const std::string_view first =
                c.source == Source::Code && !shortCodes ? c.other : c.field;
            m_first[i] = {reader.position(first), first};
            m_second[i] = {reader.position(c.other), c.other};
        }
    }

    // Each cell on its own: a failing one stays as it was and the others are still written.
    void write(SpreadGrid &grid, int row) const
    {
        for (size_t i = 0; i < N; ++i) {
            try {
                writeCell(grid, row, i);
            } catch (const std::exception &) {
                continue;
            }
        }
    }

private:
    struct Position
    {
        long index;
        std::string_view name;
    };

    host::Variant read(const Position &p) const { return m_reader.field(p.index, p.name); }
    double orZero(const Position &p) const
    {
        const host::Variant v = read(p);
        return v.isNull() ? 0 : host::Val(v);
    }

    void writeCell(SpreadGrid &grid, int row, size_t i) const
    {
        host::ui::SpreadModel &model = grid.spreadModel();
        const int col = m_cells[i].col;
        switch (m_cells[i].source) {
        case Source::Text:
        case Source::Code: {
            const host::Variant v = read(m_first[i]);
            grid.SetText(col, row, v.isNull() ? QString() : QString::fromStdString(host::CStr(v)));
            return;
        }
        case Source::Number:
            model.setCellNumber(col, row, host::Val(read(m_first[i])));
            return;
        case Source::NumberOrZero:
            model.setCellNumber(col, row, orZero(m_first[i]));
            return;
        case Source::Difference:
            model.setCellNumber(col, row, orZero(m_first[i]) - orZero(m_second[i]));
            return;
        case Source::Whole:
            model.setCellNumber(col, row, host::CLng(read(m_first[i])));
            return;
        case Source::Period: {
            const long period = host::CLng(read(m_first[i]));
            if (period == 0)
                grid.SetText(col, row, QString());
            else
                model.setCellNumber(col, row, static_cast<double>(period));
            return;
        }
        case Source::Date:
            grid.SetText(col, row, QString::fromStdString(shownDate(read(m_first[i]))));
            return;
        }
    }

    const std::array<CellSource, N> &m_cells;
    const RecordReader &m_reader;
    std::array<Position, N> m_first{};
    std::array<Position, N> m_second{};
};

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
        const LineWriter line(kLineCells, r);
        const LineWriter secondUnit(kSecondUnitCells, r);
        const long decimalsField = r.position("FQtyDecimal");
        const long itemField = r.position("FItemID");
        const long secondUnitField = r.position("FSecUnitID");
        const host::ui::SpreadModel &model = grid.spreadModel();
        for (; !p_RSMain->EOF(); p_RSMain->MoveNext(), ++row) {
            int lineDecimals = 0;
            long itemId = 0;
            tryStep([&] {
                lineDecimals = static_cast<int>(host::CLng(r.field(decimalsField, "FQtyDecimal")));
            });
            largestDecimals = std::max(largestDecimals, lineDecimals);
            secondDecimals = lineDecimals;
            tryStep([&] { itemId = host::CLng(r.field(itemField, "FItemID")); });

            decimals(grid, 17, 19, row, lineDecimals);
            decimals(grid, 22, 24, row, lineDecimals, true);
            decimals(grid, 36, 36, row, lineDecimals);
            decimals(grid, 39, 39, row, lineDecimals);
            decimals(grid, 34, 34, row, 10);
            decimals(grid, 25, 25, row, lineDecimals);
            decimals(grid, 29, 32, row, secondDecimals);
            decimals(grid, 28, 28, row, lineDecimals);
            decimals(grid, 43, 43, row, lineDecimals);

            grid.spreadModel().setCellNumber(1, row, static_cast<double>(itemId));
            line.write(grid, row);
            // Only an item with a second unit has columns 28 to 32 and 43, and only then can
            // its conversion rate and counted second quantity be typed.
            bool hasSecondUnit = false;
            tryStep(
                [&] { hasSecondUnit = host::CLng(r.field(secondUnitField, "FSecUnitID")) > 0; });
            if (hasSecondUnit) {
                secondUnit.write(grid, row);
            } else {
                grid.spreadModel().setCellNumber(43, row, 0);
            }
            lockCell(grid, 28, row, !hasSecondUnit);
            lockCell(grid, 31, row, !hasSecondUnit);
            // The totals are of what the cells now hold.
            for (size_t i = 0; i < kTotalColumns.size(); ++i)
                totals[i] += model.cellNumber(kTotalColumns[i], row);
        }

        const int totalsRow = grid.MaxRows();
        decimals(grid, 17, 19, totalsRow, largestDecimals);
        decimals(grid, 22, 24, totalsRow, largestDecimals, true);
        decimals(grid, 25, 25, totalsRow, largestDecimals);
        decimals(grid, 29, 29, totalsRow, largestDecimals);
        decimals(grid, 30, 32, totalsRow, secondDecimals);
        grid.SetText(5, totalsRow, langText("合计"));
        for (size_t i = 0; i < kTotalColumns.size(); ++i)
            grid.spreadModel().setCellNumber(kTotalColumns[i], totalsRow, totals[i]);
        columns(grid, 1, grid.MaxCols(), totalsRow);
        grid.setLock(true);
        grid.setBackColor(kTotalsBackColor);
        grid.setFontBold(true);
    }
    grid.setBlockMode(false);
    grid.setReDraw(true);
}
