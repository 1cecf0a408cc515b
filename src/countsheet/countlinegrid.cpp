#include "countsheet/countlinegrid.h"

#include "countsheet/decimaltext.h"
#include "countsheet/sheettext.h"
#include "host/core/dateformatter.h"
#include "host/core/datetime.h"
#include "host/core/variant.h"
#include "host/ui/spread/numberformat.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"

#include <cmath>
#include <optional>

namespace {

// A rate or a second-unit quantity shows up to this many decimals where its value has more than
// the line's: a figure kept by the host's stock or typed by a user has no more, and beyond them a
// rate that is the quotient of two counts would show only the division's noise.
constexpr int kCoefficientDecimals = 10;

// Key cells a line cannot be found without; the others read 0 when empty.
bool requiredKey(int col)
{
    return col == EntryCol::ItemID || col == EntryCol::UnitID || col == EntryCol::StockID;
}

// The shelf-life date of the cell as the key compares it; nothing when it reads as no date.
std::optional<std::string> keyDate(const std::string &shown)
{
    // The fill shows a date as "YYYY/MM/DD": such a date's key is its own digits.
    const auto digits = [&](size_t at, size_t count) {
        int value = 0;
        for (size_t i = at; i < at + count; ++i) {
            if (shown[i] < '0' || shown[i] > '9')
                return -1;
            value = value * 10 + (shown[i] - '0');
        }
        return value;
    };
    if (shown.size() == 10 && shown[4] == '/' && shown[7] == '/' &&
        host::isValidDate(digits(0, 4), digits(5, 2), digits(8, 2))) {
        std::string key = shown;
        key[4] = key[7] = '-';
        return key;
    }
    try {
        return host::DateFormatter().format(host::Variant(shown), "YYYY-MM-DD");
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// A cell's number; a text cell holds one when its whole text reads as one.
std::optional<double> cellNumber(const host::ui::SpreadModel &model, int col, int row)
{
    if (model.cellIsNumber(col, row))
        return model.cellNumber(col, row);
    return host::ui::parseNumber(model.cellValue(col, row));
}

// Which texts of the line are read.
enum class Texts
{
    None,
    Record, // the key's and the note
    All
};

CountLine readLine(const host::ui::SpreadGrid &grid, int row, Texts texts, bool *keyRead)
{
    const host::ui::SpreadModel &model = grid.spreadModel();
    CountLine line;
    bool keyReadable = true;
    for (const EntryColumn &column : entryColumns()) {
        const int col = column.col;
        const auto bit = static_cast<std::size_t>(col);
        if (column.text && (texts == Texts::None ||
                            (texts == Texts::Record && !column.key && col != EntryCol::Note)))
            continue;
        if (column.text) {
            // A cell never written reads as an empty text.
            std::string text = model.cellIsEmpty(col, row)
                                   ? std::string()
                                   : model.cellValue(col, row).trimmed().toStdString();
            if (column.source == CellSource::Date) {
                const auto date = keyDate(text);
                keyReadable = keyReadable && date.has_value();
                text = date.value_or(std::string());
            }
            line.*column.text = std::move(text);
            continue;
        }
        const bool blankCell = model.cellIsEmpty(col, row);
        const std::optional<double> value = blankCell ? std::nullopt : cellNumber(model, col, row);
        if (!value) {
            // A text that is no number: the line cannot be found by it.
            const bool empty = blankCell || model.cellValue(col, row).trimmed().isEmpty();
            if (column.key && (!empty || requiredKey(col)))
                keyReadable = false;
            line.blank.set(bit);
            continue;
        }
        if (column.number)
            line.*column.number = *value;
        else
            line.*column.id = std::lround(*value);
    }
    line.qtyDecimals = model.settings().decimals.get(EntryCol::Qty, row);
    if (keyRead)
        *keyRead = keyReadable;
    return line;
}

} // namespace

CountLine readCountLine(const host::ui::SpreadGrid &grid, int row, bool *keyRead)
{
    return readLine(grid, row, Texts::All, keyRead);
}

CountLine readCountLineNumbers(const host::ui::SpreadGrid &grid, int row)
{
    return readLine(grid, row, Texts::None, nullptr);
}

CountLine readCountLineRecord(const host::ui::SpreadGrid &grid, int row, bool *keyRead)
{
    return readLine(grid, row, Texts::Record, keyRead);
}

void writeCountLine(host::ui::SpreadGrid &grid, int row, const CountLine &line,
                    const ColumnSet &columns)
{
    host::ui::SpreadModel &model = grid.spreadModel();
    for (const EntryColumn &column : entryColumns()) {
        const int col = column.col;
        const auto bit = static_cast<std::size_t>(col);
        if (!columns.test(bit))
            continue;
        if (line.blank.test(bit) || (column.source == CellSource::Period && line.*column.id == 0)) {
            model.setCellText(col, row, QString());
        } else if (column.source == CellSource::Date) {
            model.setCellText(col, row,
                              QString::fromStdString(shownDate(host::Variant(line.*column.text))));
        } else if (column.text) {
            model.setCellText(col, row, QString::fromStdString(line.*column.text));
        } else {
            model.setCellNumber(col, row, columnNumber(line, column));
        }
    }
}

void setUpNumberCells(host::ui::SpreadGrid &grid, const EntryColumn &column)
{
    grid.setCellType(column.cellType);
    grid.setTypeFloatMin(column.floatMin);
    grid.setTypeFloatMax(column.floatMax);
    grid.setTypeFloatSeparator(column.grouping);
    if (column.decimals == DecimalsRule::Ten)
        grid.setTypeFloatDecimalPlaces(kCoefficientDecimals);
    grid.setTypeFloatMoreDecimals(
        column.decimals == DecimalsRule::SecondUnit ? kSecondUnitShownDecimals : 0);
}
