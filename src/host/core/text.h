#pragma once

#include <string>
#include <string_view>

namespace host {

// The ASCII case of one byte; the bytes of other UTF-8 characters stay as they are, whatever the
// locale.
constexpr char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII case folding, the way the host compares keys, names and ProgIDs.
std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// Position of what in text from the given position on, or npos.
size_t findNoCase(std::string_view text, std::string_view what, size_t from = 0);

} // namespace host
