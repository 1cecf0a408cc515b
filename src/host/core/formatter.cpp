#include "host/core/formatter.h"

#include <cctype>

namespace host {

std::string formatText(std::string_view text, const std::vector<std::string> &args)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '%' || i + 1 >= text.size()) {
            out += text[i++];
            continue;
        }
        if (text[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // The longest run of digits that names an argument, so "%12" is the twelfth when there
        // are twelve and the first followed by "2" otherwise.
        size_t end = i + 1;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        size_t chosen = 0;
        size_t number = 0;
        for (size_t j = i + 1; j < end; ++j) {
            number = number * 10 + static_cast<size_t>(text[j] - '0');
            if (number >= 1 && number <= args.size())
                chosen = j + 1;
            else if (number > args.size())
                break;
        }
        if (chosen == 0) {
            out += text[i++];
            continue;
        }
        size_t index = 0;
        for (size_t j = i + 1; j < chosen; ++j)
            index = index * 10 + static_cast<size_t>(text[j] - '0');
        out += args[index - 1];
        i = chosen;
    }
    return out;
}

} // namespace host
