#pragma once

#include <string>
#include <string_view>

namespace host {

// Text to be placed between single quotes in SQL: every quote doubled. The one place SQL text
// is made safe; every caller that writes a value between quotes goes through it.
std::string sqlEscape(std::string_view text);

// The text as an SQL string literal, quotes included.
std::string sqlString(std::string_view text);

} // namespace host
