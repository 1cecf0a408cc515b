#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace host {

// Text to be placed between single quotes in SQL: every quote doubled. The one place SQL text
// is made safe; every caller that writes a value between quotes goes through it.
std::string sqlEscape(std::string_view text);

// The text as an SQL string literal, quotes included.
std::string sqlString(std::string_view text);

// A table or column name as an SQL identifier: between double quotes, inner ones doubled.
std::string sqlName(std::string_view name);

// A number as SQL text: the shortest plain decimal ("0.1", "-12", "0.000001") that reads back
// as exactly the same double; never exponent notation, never a locale's separators. An infinity
// or NaN is an error: no text stands for it.
std::string sqlNumber(double value);

// A condition text trimmed, with a trailing "and" or "or" cut off; the blank before it stays.
std::string trimTrailingLogic(std::string_view condition);

// Statements are sent as lines joined by CR LF, the way the host database expects its batches.
inline constexpr char kCrLf[] = "\r\n";

// Appends the pieces and a line break.
template <typename... Pieces> void addLine(std::string &sql, const Pieces &...pieces)
{
    ((sql += pieces), ...);
    sql += kCrLf;
}

// Appends each line followed by a line break.
void addLines(std::string &sql, std::initializer_list<std::string_view> lines);

} // namespace host
