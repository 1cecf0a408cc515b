#include "host/core/sqltext.h"

#include "host/core/hosterror.h"
#include "host/core/variant.h"

#include <array>
#include <charconv>
#include <cmath>

namespace host {

std::string sqlEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

std::string sqlString(std::string_view text)
{
    return '\'' + sqlEscape(text) + '\'';
}

std::string trimTrailingLogic(std::string_view condition)
{
    std::string text = Trim(condition);
    for (const std::string_view logic : {"and", "or"}) {
        if (text.ends_with(logic)) {
            text.resize(text.size() - logic.size());
            break;
        }
    }
    return text;
}

std::string sqlName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string sqlNumber(double value)
{
    if (!std::isfinite(value))
        throw HostError("Arithmetic overflow error converting expression to data type float.");
    if (value == 0)
        return "0";
    std::array<char, 400> buf{};
    const auto result =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    return std::string(buf.data(), result.ptr);
}

void addLines(std::string &sql, std::initializer_list<std::string_view> lines)
{
    for (const auto line : lines)
        addLine(sql, line);
}

} // namespace host
