#pragma once

#include "host/core/dictionary.h"
#include "host/core/variant.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace host {
class SheetRecords;
}

// The sheet of an import as the reader hands it over: columns are found by position, each
// position under a fixed internal name.
namespace ImportSheet {

// The internal names, in sheet order with the plan-tracking number in.
enum class Column
{
    StockNumber,
    StockName,
    SPNumber,
    SPName,
    ItemNumber,
    ItemName,
    Model,
    AuxPropNumber,
    AuxPropName,
    BatchNo,
    MtoNo,
    KFDate,
    KFPeriod,
    FUnitNumber,
    FUnitName,
    FBaseUnitQtyAct,
    FBaseUnitQty,
    FBaseUnitQtyChk,
    FCCUnitNumber,
    FCCUnitName,
    FQtyAct,
    FQty,
    CheckQty,
    AdjQty,
    FSecUnitNumber,
    FSecUnitName,
    Coefficient,
    FSecUnitQty,
    FSecQtyAct,
    FSecCheckQty,
    FSecAdjQty,
    FNote,
};
constexpr size_t kColumns = static_cast<size_t>(Column::FNote) + 1;

std::string_view columnName(Column column);

// Internal column name -> 0-based field index. With the plan-tracking mode on the sheet has the
// plan-tracking number at 10 and every later column one place further right.
std::shared_ptr<host::Dictionary> columnMap(bool mtoPlanMode);

// A cell as text for keys and messages: Null gives the empty text.
std::string cellText(const host::Variant &cell);
// Appends the cell's text without the blanks around it, as a key takes it.
void appendTrimmed(std::string &out, const host::Variant &cell);

} // namespace ImportSheet

// The current record of the sheet, read by internal column names (the column map as it is when
// the row is made; a name the map lacks reads as an empty cell).
class SheetRow
{
public:
    using Column = ImportSheet::Column;

    SheetRow(const host::SheetRecords &sheet, const host::Dictionary &columns);

    const host::Variant &cell(Column column) const;
    // The cell's text unchanged (Null gives the empty text).
    std::string text(Column column) const;
    std::string trimmed(Column column) const;
    // Null, or blanks only.
    bool isEmpty(Column column) const;
    // The trimmed texts of a number and a name column joined by "|".
    std::string key(Column numberColumn, Column nameColumn) const;
    // The column's header in the sheet.
    const std::string &caption(Column column) const;

private:
    const host::SheetRecords &m_sheet;
    std::array<long, ImportSheet::kColumns> m_positions;
};
