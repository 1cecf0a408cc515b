#include "window/findcriteria.h"

#include "host/core/dateformatter.h"
#include "host/core/sqltext.h"
#include "host/core/variant.h"

namespace {

constexpr long kDate = 7;
constexpr long kText = 8;

std::string fieldOf(const std::string &name, bool useShortNumber)
{
    if (useShortNumber)
        return name;
    if (name == "FNumber")
        return "FItemShortNumber";
    if (name == "FSPNumber")
        return "FSPShortNumber";
    if (name == "FStockNumber")
        return "FStockShortNumber";
    return name;
}

} // namespace

std::string findCriteria(const std::vector<QueryColumn> &columns, long searchMode,
                         bool useShortNumber)
{
    std::string text;
    for (const QueryColumn &column : columns) {
        const std::string &value = column.SearchValue;
        if (value.empty())
            continue;
        const std::string field = fieldOf(column.FieldName, useShortNumber);
        text += field;
        if (column.DataType == kText)
            text += searchMode == 1 ? " Like '%" + host::sqlEscape(value) + "%'"
                                    : " = '" + host::sqlEscape(value) + "'";
        else if (column.DataType == kDate)
            text += " = " + host::sqlString(
                                host::DateFormatter().format(host::Variant(value), "YYYY-MM-DD"));
        else
            text += (searchMode == 1 ? " Like " : " = ") + value;
        text += " AND ";
    }
    return text;
}
