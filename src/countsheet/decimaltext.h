#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as the count sheet shows and totals them: rounded to a number of decimals on their
// decimal form of 15 significant digits, halves away from zero, so a value such as 1.005 (just
// below the half in binary) rounds up as it reads.

// The rounded value written with exactly `decimals` decimals ("1234.50"; "1,234.50" with
// grouping); no decimal point when decimals is 0. A negative count of decimals is an error.
std::string formatDecimal(double value, int decimals, bool grouping);

// The rounded value as a double.
double roundDecimalHalfAway(double value, int decimals);

// A second-unit quantity or its conversion rate (a sheet field "FSec...") shows up to this many
// decimals where its value has more than its line's: a figure kept by the host's stock or typed
// by a user has no more, and beyond them a rate that is the quotient of two counts would show
// only the division's noise.
inline constexpr int kSecondUnitShownDecimals = 6;
bool showsOwnDecimals(std::string_view field);
// The decimals such a value shows: its own, up to kSecondUnitShownDecimals, and at least the
// line's.
int secondUnitDecimals(double value, int lineDecimals);

// The value rounded to the ten decimals the database keeps (0 for a negative zero), nothing for
// a value that is no number; as a text, the shortest that reads back as that number: what a
// sheet hands on of a number, without a double's binary noise.
std::optional<double> storedNumber(double value);
std::string storedNumberText(double value);
