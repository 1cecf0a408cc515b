#include "host/core/text.h"

#include <algorithm>

namespace host {
namespace {

bool sameNoCase(char a, char b)
{
    return lowerAscii(a) == lowerAscii(b);
}

} // namespace

std::string toUpper(std::string_view text)
{
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(), upperAscii);
    return s;
}

std::string toLower(std::string_view text)
{
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(), lowerAscii);
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameNoCase);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

size_t findNoCase(std::string_view text, std::string_view what, size_t from)
{
    if (what.empty() || from > text.size() || text.size() - from < what.size())
        return std::string_view::npos;
    const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                                what.begin(), what.end(), sameNoCase);
    return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

} // namespace host
