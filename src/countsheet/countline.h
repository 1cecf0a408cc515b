#pragma once

#include "host/ui/spread/celltype.h"

#include <array>
#include <bitset>
#include <string>
#include <string_view>

// The count line of the entry grid: one row of ICInvBackup as input mode shows and edits it, and
// the one table of the grid's columns. Every other file names a column by its name here.

// The entry grid's columns, left to right; column 0 is the grid's row-number column.
namespace EntryCol {
enum : int
{
    ItemID = 1,
    StockNumber = 2,
    StockName = 3,
    SPNumber = 4,
    SPName = 5,
    ItemNumber = 6,
    ItemName = 7,
    Model = 8,
    AuxPropNumber = 9,
    AuxPropName = 10,
    BatchNo = 11,
    MtoNo = 12,
    KFDate = 13,
    KFPeriod = 14,
    UnitNumber = 15,
    UnitName = 16,
    Qty = 17,
    QtyAct = 18,
    CheckQty = 19,
    CUUnitNumber = 20,
    CUUnitName = 21,
    CUUnitQty = 22,
    CUUnitQtyAct = 23,
    CUUnitCheckQty = 24,
    AdjQty = 25,
    SecUnitNumber = 26,
    SecUnitName = 27,
    SecCoefficient = 28,
    SecQty = 29,
    SecQtyAct = 30,
    SecCheckQty = 31,
    SecAdjQty = 32,
    Note = 33,
    Coefficient = 34,
    StockPlaceID = 35,
    DiffQty = 36,
    UnitID = 37,
    UnitGroupID = 38,
    CUUnitDiffQty = 39,
    SecUnitID = 40,
    AuxPropID = 41,
    StockID = 42,
    SecDiffQty = 43,
};
inline constexpr int kCount = 43;
} // namespace EntryCol

// A set of entry-grid columns, by number.
using ColumnSet = std::bitset<EntryCol::kCount + 1>;

struct CountLine
{
    // The line's key, with the process that holds it; the shelf-life date as "YYYY-MM-DD", empty
    // for none.
    long itemId = 0;
    long stockId = 0;
    long stockPlaceId = 0;
    long auxPropId = 0;
    long unitId = 0;
    std::string batchNo;
    std::string mtoNo;
    std::string kfDate;
    long kfPeriod = 0;

    // What the line shows of its stock, item and units.
    std::string stockNumber, stockName, spNumber, spName;
    std::string itemNumber, itemName, model, auxPropNumber, auxPropName;
    std::string unitNumber, unitName, cuUnitNumber, cuUnitName, secUnitNumber, secUnitName;
    std::string note;
    long unitGroupId = 0;
    long secUnitId = 0;

    // Base unit: book, actual (counted + bills), counted, and the bills after the snapshot.
    double qty = 0;
    double qtyAct = 0;
    double checkQty = 0;
    double diffQty = 0;
    // Counting unit, coefficient base units per counting unit; the adjustment is counted in it.
    double coefficient = 0;
    double cuUnitQty = 0;
    double cuUnitQtyAct = 0;
    double cuUnitCheckQty = 0;
    double cuUnitDiffQty = 0;
    double adjQty = 0;
    // Second unit, with its rate in base units per second unit.
    double secCoefficient = 0;
    double secQty = 0;
    double secQtyAct = 0;
    double secCheckQty = 0;
    double secAdjQty = 0;
    double secDiffQty = 0;

    // The decimals of the item's quantities.
    int qtyDecimals = 0;
    // Cells shown empty: a field the sheet holds no value for. They count as 0.
    ColumnSet blank;

    bool hasSecondUnit() const { return secUnitId > 0; }
};

// How a column's cell is made from a count-sheet record.
enum class CellSource
{
    Text,           // the field's text; no value leaves the cell empty
    Code,           // the full code when gUseShortNumber is set, else the short one (otherField)
    Quantity,       // the field's number; no value leaves the cell empty
    QuantityOrZero, // no value counts 0
    Difference,     // the field minus otherField, each 0 without a value
    Id,             // a whole number; no value leaves the cell empty
    Period,         // a whole number; 0 leaves the cell empty
    Date            // shown "yyyy/mm/dd"
};

// The decimals a number cell shows.
enum class DecimalsRule
{
    None,
    Line,       // the item's quantity decimals
    SecondUnit, // the same, or more where the value has them (a second unit or its rate)
    Ten         // the counting unit's coefficient
};

struct EntryColumn
{
    int col = 0;
    // The count-sheet field the fill writes, and the second field of a code or a difference.
    std::string_view field;
    std::string_view otherField;
    CellSource source = CellSource::Text;
    // Written only for an item with a second unit.
    bool secondUnitOnly = false;
    host::ui::CellType cellType = host::ui::CellType::Edit;
    int maxLength = 60;
    // The bytes its varchar column holds, for a column the user types into; -1 for none.
    int maxBytes = -1;
    // The limits of a number cell.
    double floatMin = 0;
    double floatMax = 0;
    DecimalsRule decimals = DecimalsRule::None;
    bool grouping = false;
    bool summed = false; // in the totals row
    bool key = false;    // one of the line's key columns
    // The line's value of the column: one of the three.
    std::string CountLine::*text = nullptr;
    long CountLine::*id = nullptr;
    double CountLine::*number = nullptr;
    // The export's column type (7 number, 10 text, 0 none) and length.
    long exportType = 0;
    // The header: a Chinese caption shown in the user's language, or a design text no user sees.
    std::string_view caption;
    bool translated = false;
    // The design: width in twips (-1 the grid's default), back colour (-1 white), whether the
    // user types into it and whether it is hidden.
    double width = -1;
    long backColor = -1;
    bool editable = false;
    bool hidden = false;
};

// Columns 1 to 43: entryColumns()[i] is column i + 1.
const std::array<EntryColumn, EntryCol::kCount> &entryColumns();
const EntryColumn &entryColumn(int col);

// The columns the totals row sums.
ColumnSet summedColumns();

// The line's value of a number column (0 for a blank cell), and its text of a text column.
double columnNumber(const CountLine &line, const EntryColumn &column);
