#include "import/importsheet.h"

#include "host/importer/sheetrecords.h"

namespace ImportSheet {
namespace {

std::string_view trimmedView(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

constexpr std::array<std::string_view, kColumns> kNames = {
    "StockNumber",     "StockName",    "SPNumber",        "SPName",        "ItemNumber",
    "ItemName",        "Model",        "AuxPropNumber",   "AuxPropName",   "BatchNo",
    "MtoNo",           "KFDate",       "KFPeriod",        "FUnitNumber",   "FUnitName",
    "FBaseUnitQtyAct", "FBaseUnitQty", "FBaseUnitQtyChk", "FCCUnitNumber", "FCCUnitName",
    "FQtyAct",         "FQty",         "CheckQty",        "AdjQty",        "FSecUnitNumber",
    "FSecUnitName",    "Coefficient",  "FSecUnitQty",     "FSecQtyAct",    "FSecCheckQty",
    "FSecAdjQty",      "FNote"};

} // namespace

std::string_view columnName(Column column)
{
    return kNames[static_cast<size_t>(column)];
}

std::shared_ptr<host::Dictionary> columnMap(bool mtoPlanMode)
{
    auto map = std::make_shared<host::Dictionary>();
    long index = 0;
    for (const auto name : kNames) {
        if (mtoPlanMode || name != columnName(Column::MtoNo))
            map->SetValue(name, index++);
    }
    return map;
}

std::string cellText(const host::Variant &cell)
{
    return cell.isNull() || cell.isEmpty() ? std::string() : host::CStr(cell);
}

void appendTrimmed(std::string &out, const host::Variant &cell)
{
    if (cell.type() == host::VariantType::String)
        out += trimmedView(cell.stringValue());
    else
        out += host::Trim(cellText(cell));
}

} // namespace ImportSheet

SheetRow::SheetRow(const host::SheetRecords &sheet, const host::Dictionary &columns)
    : m_sheet(sheet)
{
    for (size_t c = 0; c < ImportSheet::kColumns; ++c) {
        const auto name = ImportSheet::columnName(static_cast<Column>(c));
        m_positions[c] = columns.Exists(name) ? host::CLng(columns.Value(name)) : -1;
    }
}

const host::Variant &SheetRow::cell(Column column) const
{
    static const host::Variant null = host::Variant::null();
    const long position = m_positions[static_cast<size_t>(column)];
    return position < 0 ? null : m_sheet.Value(position);
}

std::string SheetRow::text(Column column) const
{
    return ImportSheet::cellText(cell(column));
}

std::string SheetRow::trimmed(Column column) const
{
    std::string text;
    ImportSheet::appendTrimmed(text, cell(column));
    return text;
}

bool SheetRow::isEmpty(Column column) const
{
    const host::Variant &value = cell(column);
    if (value.type() == host::VariantType::String)
        return ImportSheet::trimmedView(value.stringValue()).empty();
    return trimmed(column).empty();
}

std::string SheetRow::key(Column numberColumn, Column nameColumn) const
{
    // Written straight into the key: a row makes a dozen keys, and copies of their halves
    // would be as many allocations again.
    std::string k;
    ImportSheet::appendTrimmed(k, cell(numberColumn));
    k += '|';
    ImportSheet::appendTrimmed(k, cell(nameColumn));
    return k;
}

const std::string &SheetRow::caption(Column column) const
{
    return m_sheet.FieldName(m_positions[static_cast<size_t>(column)]);
}
