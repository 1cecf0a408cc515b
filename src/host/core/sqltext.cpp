#include "host/core/sqltext.h"

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

} // namespace host
