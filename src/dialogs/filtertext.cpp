#include "dialogs/filtertext.h"

#include "host/core/dateformatter.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/variant.h"

namespace filtertext {
namespace {

// A value as its place in the condition: a number as the number read from it, anything else
// quoted as a text (dates formatted first). A column of a type the dialog does not know holds
// text, so what was typed there never reaches the query as SQL.
std::string valueText(const Condition &c)
{
    const long type = std::atol(c.colType.c_str());
    if (type == 2 || type == 3)
        return host::sqlNumber(host::Val(c.value)) + " ";
    const std::string value =
        type == 0 ? host::DateFormatter().format(host::Variant(c.value), "YYYY-MM-DD") : c.value;
    const bool like = c.op == "like" || c.op == "not like";
    return like ? "'%" + host::sqlEscape(value) + "%' " : "'" + host::sqlEscape(value) + "' ";
}

} // namespace

bool comparable(const Condition &condition)
{
    const long type = std::atol(condition.colType.c_str());
    if (type != 2 && type != 3)
        return true;
    try {
        host::Val(condition.value);
        return true;
    } catch (const host::HostError &e) {
        if (e.Number() != host::HostError::Overflow)
            throw;
        return false;
    }
}

std::string codeField(std::string_view key, bool useShortNumber)
{
    if (key == "FNumber")
        return useShortNumber ? std::string(key) : "FItemShortNumber";
    if (key == "FSPNumber")
        return useShortNumber ? std::string(key) : "FSPShortNumber";
    if (key == "FStockNumber")
        return useShortNumber ? std::string(key) : "FStockShortNumber";
    return std::string(key);
}

std::string filterText(const std::vector<Condition> &conditions, bool useShortNumber)
{
    std::string text;
    for (const Condition &c : conditions) {
        if (c.key == "FCUUnitDownQty" || c.key == "FCUUnitOverQty")
            text += "IsNull(" + c.key + ",0) ";
        else
            text += codeField(c.key, useShortNumber) + " ";
        text += c.op + " ";
        text += valueText(c);
        text += c.logic + " ";
    }
    return host::trimTrailingLogic(text);
}

std::string sortText(const std::vector<SortKey> &keys, bool useShortNumber)
{
    std::string text;
    for (const SortKey &k : keys)
        text += codeField(k.key, useShortNumber) + " " + k.order + " ,";
    text = host::Trim(text);
    if (text.ends_with(','))
        text.pop_back();
    return text;
}

} // namespace filtertext
