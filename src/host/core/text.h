#pragma once

#include <string>
#include <string_view>

namespace host {

// ASCII case folding, the way the host compares keys, names and ProgIDs.
std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// Position of what in text from the given position on, or npos.
size_t findNoCase(std::string_view text, std::string_view what, size_t from = 0);

} // namespace host
