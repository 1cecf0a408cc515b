#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace host {

// Dates are kept as the automation serial: days since 1899-12-30, the time as the fraction.
struct DateParts
{
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

double makeDate(const DateParts &parts);
// Whether a serial is a date the host can hold, 100-01-01 to 9999-12-31; splitting any other
// number is an Overflow error.
bool isDateSerial(double serial);
double makeDate(int year, int month, int day);
DateParts splitDate(double serial);
bool isValidDate(int year, int month, int day);
int daysInMonth(int year, int month);

// Accepts "yyyy-mm-dd", "yyyy/mm/dd", "yyyy.mm.dd", "yyyymmdd", each optionally followed by
// " hh:mm[:ss[.fff]]" (or 'T' instead of the blank); surrounding blanks are ignored.
std::optional<double> parseDate(std::string_view text);

// Pattern letters, in any case: YYYY, YY, MM (month; minute right after HH or before SS, as in
// "HH:MM:SS"), DD, HH, NN or MI (minute), SS, FFF (milliseconds); anything else is copied.
std::string formatDate(double serial, std::string_view pattern);

// "yyyy-mm-dd", with " hh:mm:ss" when the time is not midnight.
std::string dateToText(double serial);

// The current local date and time.
double now();

} // namespace host
