#include "import/importsheet.h"

#include "host/db/recordset.h"

#include <array>

namespace ImportSheet {
namespace {

constexpr std::array<std::string_view, 10> kLeadingColumns = {
    "StockNumber", "StockName", "SPNumber",      "SPName",      "ItemNumber",
    "ItemName",    "Model",     "AuxPropNumber", "AuxPropName", "BatchNo"};

constexpr std::array<std::string_view, 21> kTrailingColumns = {
    "KFDate",       "KFPeriod",        "FUnitNumber",   "FUnitName",      "FBaseUnitQtyAct",
    "FBaseUnitQty", "FBaseUnitQtyChk", "FCCUnitNumber", "FCCUnitName",    "FQtyAct",
    "FQty",         "CheckQty",        "AdjQty",        "FSecUnitNumber", "FSecUnitName",
    "Coefficient",  "FSecUnitQty",     "FSecQtyAct",    "FSecCheckQty",   "FSecAdjQty",
    "FNote"};

} // namespace

std::shared_ptr<host::Dictionary> columnMap(bool mtoPlanMode)
{
    auto map = std::make_shared<host::Dictionary>();
    long index = 0;
    for (const auto name : kLeadingColumns)
        map->SetValue(name, index++);
    if (mtoPlanMode)
        map->SetValue("MtoNo", index++);
    for (const auto name : kTrailingColumns)
        map->SetValue(name, index++);
    return map;
}

std::string cellText(const host::Variant &cell)
{
    return cell.isNull() || cell.isEmpty() ? std::string() : host::CStr(cell);
}

} // namespace ImportSheet

SheetRow::SheetRow(host::Recordset &sheet, const host::Dictionary &columns)
    : m_sheet(sheet), m_columns(columns)
{
    for (const std::string &name : columns.Keys())
        m_positions.emplace(name, host::CLng(columns.Value(name)));
}

host::Variant SheetRow::cell(std::string_view column) const
{
    const auto known = m_positions.find(column);
    const long position =
        known != m_positions.end() ? known->second : host::CLng(m_columns.Value(column));
    return m_sheet.Fields(position).Value();
}

std::string SheetRow::text(std::string_view column) const
{
    return ImportSheet::cellText(cell(column));
}

std::string SheetRow::trimmed(std::string_view column) const
{
    return host::Trim(text(column));
}

bool SheetRow::isEmpty(std::string_view column) const
{
    return trimmed(column).empty();
}

std::string SheetRow::key(std::string_view numberColumn, std::string_view nameColumn) const
{
    return trimmed(numberColumn) + "|" + trimmed(nameColumn);
}
