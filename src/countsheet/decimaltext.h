#pragma once

#include <string>

// Numbers as the count sheet shows and totals them: rounded to a number of decimals on their
// decimal form of 15 significant digits, halves away from zero, so a value such as 1.005 (just
// below the half in binary) rounds up as it reads.

// The rounded value written with exactly `decimals` decimals ("1234.50"; "1,234.50" with
// grouping); no decimal point when decimals is 0. A negative count of decimals is an error.
std::string formatDecimal(double value, int decimals, bool grouping);

// The rounded value as a double.
double roundDecimalHalfAway(double value, int decimals);
