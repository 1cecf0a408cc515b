#pragma once

#include <string_view>

namespace host {

// Whether a number format shows a date: one written out (a year, month or day field outside
// quoted text, bracketed sections and escaped characters) or one of the built-in formats by its
// number. Both workbook formats keep a cell's date as a number under such a format.
bool isDateFormatCode(std::string_view code);
bool isBuiltInDateFormat(unsigned id);

// A workbook counting its days from 1904 gives a date this many days smaller than one counting
// from 1900.
constexpr double k1904DaysOffset = 1462;

} // namespace host
