#include "countsheet/maindo.h"

#include "countsheet/countline.h"
#include "countsheet/countlinegrid.h"
#include "countsheet/decimaltext.h"
#include "countsheet/sheettext.h"
#include "countsheet/sheettotals.h"
#include "host/core/text.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"
#include "services/langtext.h"
#include "services/modulestate.h"
#include "services/trystep.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

using host::ui::CellType;
using host::ui::SpreadGrid;
namespace C = EntryCol;

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
        if (column.cellType == CellType::Edit) {
            grid.setCellType(column.cellType);
            grid.setTypeMaxEditLen(column.maxLength);
            grid.setTypeMaxEditBytes(column.maxBytes);
        } else {
            setUpNumberCells(grid, column);
        }
        grid.setLock(!column.editable);
        if (column.col != C::MtoNo)
            grid.setColHidden(column.hidden);
    }
    columns(grid, C::kCount + 1, grid.MaxCols());
    if (grid.MaxCols() > C::kCount)
        grid.setColHidden(true);
}

void decimals(SpreadGrid &grid, int first, int last, int row, int places)
{
    columns(grid, first, last, row);
    grid.setTypeFloatDecimalPlaces(places);
}

int whole(double number)
{
    return std::isfinite(number) ? static_cast<int>(std::lround(number)) : 0;
}

// The distinct texts of one column's lines, each kept once with the lines' numbers of them, so
// that a text many lines show is made a cell text once.
class ColumnTexts
{
public:
    explicit ColumnTexts(std::size_t lines) { m_ids.reserve(lines); }

    // Adds a line showing the text (a view that outlives this table); `shown` makes the cell
    // text of a text not met before.
    template <typename Shown> void add(std::string_view text, const Shown &shown)
    {
        // Neighbouring lines often show the same stock, place or unit.
        if (m_lastKeyed && text == m_keys[m_ids.back()]) {
            m_ids.push_back(m_ids.back());
            return;
        }
        if (2 * (m_keys.size() + 1) > m_slots.size())
            grow();
        const std::size_t hash = std::hash<std::string_view>()(text);
        const std::size_t mask = m_slots.size() - 1;
        std::size_t i = hash & mask;
        while (m_slots[i] != kFree && (m_hashes[m_slots[i]] != hash || m_keys[m_slots[i]] != text))
            i = (i + 1) & mask;
        if (m_slots[i] == kFree) {
            m_slots[i] = static_cast<std::uint32_t>(m_keys.size());
            m_keys.push_back(text);
            m_hashes.push_back(hash);
            m_keyed.push_back(true);
            m_texts.push_back(shown(text));
        }
        m_ids.push_back(m_slots[i]);
        m_lastKeyed = true;
    }

    // Adds a line with a cell text of its own.
    void addOwn(QString text)
    {
        m_ids.push_back(static_cast<std::uint32_t>(m_texts.size()));
        m_keys.emplace_back();
        m_hashes.push_back(0);
        m_keyed.push_back(false);
        m_texts.push_back(std::move(text));
        m_lastKeyed = false;
    }

    void writeTo(host::ui::SpreadModel &model, int col) const
    {
        model.setColumnTexts(col, 1, m_texts, m_ids);
    }

private:
    static constexpr std::uint32_t kFree = UINT32_MAX;

    void grow()
    {
        constexpr std::size_t kFirstSlots = 64;
        std::vector<std::uint32_t> table(std::max(kFirstSlots, 2 * m_slots.size()), kFree);
        const std::size_t mask = table.size() - 1;
        for (std::size_t id = 0; id < m_keys.size(); ++id) {
            if (!m_keyed[id])
                continue;
            std::size_t i = m_hashes[id] & mask;
            while (table[i] != kFree)
                i = (i + 1) & mask;
            table[i] = static_cast<std::uint32_t>(id);
        }
        m_slots = std::move(table);
    }

    std::vector<std::uint32_t> m_ids;
    std::vector<std::string_view> m_keys;
    std::vector<std::size_t> m_hashes;
    std::vector<bool> m_keyed; // false for a line's own text
    std::vector<QString> m_texts;
    std::vector<std::uint32_t> m_slots;
    bool m_lastKeyed = false;
};

// The count lines of the sheet's records, from the current record to the last, read and written
// column by column. Fields are found by position once, since looking a name up without regard to
// case is costly per cell. A field the sheet lacks leaves its column empty on every line.
class SheetLines
{
public:
    explicit SheetLines(host::Recordset &rs) : m_rs(rs), m_rows(rs.rowsAhead())
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
        readDecimals(position("FQtyDecimal"));
        readSecondUnits();
    }

    std::size_t count() const { return m_rows.size(); }
    int decimals(std::size_t line) const { return m_decimals[line]; }
    bool hasSecondUnit(std::size_t line) const { return m_secondUnit[line] != 0; }

    // Writes the column into rows 1 on; the sum of its numbers.
    double write(host::ui::SpreadModel &model, const EntryColumn &column) const
    {
        switch (column.source) {
        case CellSource::Text:
        case CellSource::Code:
        case CellSource::Date:
            writeTexts(model, column);
            return 0;
        default:
            return writeNumbers(model, column);
        }
    }

private:
    struct Fields
    {
        long first = -1;
        long second = -1;
    };

    const Fields &fields(const EntryColumn &column) const
    {
        return m_fields[static_cast<std::size_t>(column.col - 1)];
    }

    // A field's value read as a number: Val of the value; nothing for no value.
    static std::optional<double> number(const host::RecordColumn &field, std::size_t row)
    {
        if (field.isNull(row))
            return std::nullopt;
        if (field.holdsNumbers())
            return field.number(row);
        return host::Val(field.value(row));
    }

    void readDecimals(long field)
    {
        m_decimals.assign(count(), 0);
        if (field < 0)
            return;
        const host::RecordColumn &values = m_rs.column(field);
        for (std::size_t line = 0; line < count(); ++line)
            m_decimals[line] = std::max(0, whole(number(values, m_rows[line]).value_or(0)));
    }

    // Only an item with a second unit has its quantities and rate.
    void readSecondUnits()
    {
        m_secondUnit.assign(count(), 0);
        const long field = fields(entryColumn(C::SecUnitID)).first;
        if (field < 0)
            return;
        const host::RecordColumn &values = m_rs.column(field);
        for (std::size_t line = 0; line < count(); ++line) {
            const std::optional<double> id = number(values, m_rows[line]);
            m_secondUnit[line] = id && std::isfinite(*id) && std::lround(*id) > 0 ? 1 : 0;
        }
    }

    void writeTexts(host::ui::SpreadModel &model, const EntryColumn &column) const
    {
        const long field = fields(column).first;
        ColumnTexts texts(count());
        const auto shown = [&column](std::string_view text) {
            if (column.source == CellSource::Date)
                return QString::fromStdString(shownDate(host::Variant(text)));
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        };
        const host::RecordColumn *values = field < 0 ? nullptr : &m_rs.column(field);
        for (std::size_t line = 0; line < count(); ++line) {
            const std::size_t row = m_rows[line];
            if (!values || (column.secondUnitOnly && !m_secondUnit[line]) || values->isNull(row))
                texts.add({}, shown);
            else if (values->holdsTexts())
                texts.add(values->text(row), shown);
            else
                texts.addOwn(QString::fromStdString(column.source == CellSource::Date
                                                        ? shownDate(values->value(row))
                                                        : host::CStr(values->value(row))));
        }
        texts.writeTo(model, column.col);
    }

    double writeNumbers(host::ui::SpreadModel &model, const EntryColumn &column) const
    {
        const Fields &f = fields(column);
        const bool difference = column.source == CellSource::Difference;
        std::vector<std::optional<double>> numbers(count());
        const bool missing = f.first < 0 || (difference && f.second < 0);
        const host::RecordColumn *values = missing ? nullptr : &m_rs.column(f.first);
        const host::RecordColumn *subtracted =
            difference && values ? &m_rs.column(f.second) : nullptr;
        const bool blankWithout = column.source == CellSource::Quantity ||
                                  column.source == CellSource::Id ||
                                  column.source == CellSource::Period;
        double sum = 0;
        for (std::size_t line = 0; line < count(); ++line) {
            double value = 0;
            if (column.secondUnitOnly && !m_secondUnit[line]) {
                // A difference of an item without a second unit shows 0.
                if (!difference)
                    continue;
            } else {
                if (!values)
                    continue;
                const std::size_t row = m_rows[line];
                const std::optional<double> first = number(*values, row);
                if (!first && blankWithout)
                    continue;
                value = first.value_or(0);
                if (subtracted)
                    value -= number(*subtracted, row).value_or(0);
                if (!column.number)
                    value = std::isfinite(value) ? static_cast<double>(std::lround(value)) : 0;
            }
            sum += value;
            if (column.source == CellSource::Period && value == 0)
                continue;
            numbers[line] = value;
        }
        model.setColumnNumbers(column.col, 1, numbers);
        return sum;
    }

    host::Recordset &m_rs;
    std::span<const std::size_t> m_rows;
    std::array<Fields, C::kCount> m_fields{};
    std::vector<int> m_decimals;
    std::vector<std::uint8_t> m_secondUnit;
};

// The line decimals of every line and the second-unit locks, one column at a time.
void setLineCells(SpreadGrid &grid, const SheetLines &lines)
{
    host::ui::SpreadModel &model = grid.spreadModel();
    host::ui::SpreadSettings &settings = model.settings();
    const int count = static_cast<int>(lines.count());
    const auto cellsOf = [&](int col) {
        return host::ui::CellBlock{.col1 = col, .col2 = col, .row1 = 1, .row2 = count};
    };
    for (const EntryColumn &column : entryColumns()) {
        if (column.decimals != DecimalsRule::Line && column.decimals != DecimalsRule::SecondUnit)
            continue;
        settings.decimals.setColumnCells(
            column.col, 1, count,
            [&](int i) { return std::clamp(lines.decimals(static_cast<std::size_t>(i)), 0, 14); },
            model.nextStamp());
        model.settingsChanged(cellsOf(column.col));
    }
    // Only an item with a second unit has a rate and a second count to type.
    for (const int col : {C::SecCoefficient, C::SecCheckQty}) {
        settings.lock.setColumnCells(
            col, 1, count, [&](int i) { return !lines.hasSecondUnit(static_cast<std::size_t>(i)); },
            model.nextStamp());
        model.settingsChanged(cellsOf(col));
    }
}

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
        const SheetLines lines(*p_RSMain);
        setLineCells(grid, lines);
        std::array<double, C::kCount + 1> totals{};
        for (const EntryColumn &column : entryColumns())
            totals[static_cast<std::size_t>(column.col)] = lines.write(grid.spreadModel(), column);
        int largestDecimals = 0;
        for (std::size_t line = 0; line < lines.count(); ++line)
            largestDecimals = std::max(largestDecimals, lines.decimals(line));
        const int lastDecimals = lines.count() > 0 ? lines.decimals(lines.count() - 1) : 0;
        p_RSMain->Move(static_cast<long>(lines.count()));

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
