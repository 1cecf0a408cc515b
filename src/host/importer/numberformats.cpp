#include "host/importer/numberformats.h"

#include <cctype>

namespace host {

bool isDateFormatCode(std::string_view code)
{
    bool quoted = false;
    int bracket = 0;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\\')
            ++i;
        else if (c == '[')
            ++bracket;
        else if (c == ']')
            --bracket;
        else if (bracket == 0 && (std::tolower(c) == 'y' || std::tolower(c) == 'd'))
            return true;
    }
    return false;
}

bool isBuiltInDateFormat(unsigned id)
{
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

} // namespace host
