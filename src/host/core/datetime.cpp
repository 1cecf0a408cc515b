#include "host/core/datetime.h"

#include "host/core/hosterror.h"

#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace host {
namespace {

constexpr long long kEpochOffset = 25569; // days from 1899-12-30 to 1970-01-01
constexpr long long kMsPerDay = 86400000;

// Days since 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int &year, int &month, int &day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

bool readInt(std::string_view text, size_t &pos, size_t minDigits, size_t maxDigits, int &out)
{
    size_t n = 0;
    int value = 0;
    while (pos < text.size() && n < maxDigits &&
           std::isdigit(static_cast<unsigned char>(text[pos]))) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++n;
    }
    out = value;
    return n >= minDigits;
}

// A second's fraction of `digits` digits in whole milliseconds, a half rounded up.
int milliseconds(int fraction, size_t digits)
{
    static constexpr int kTens[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (digits <= 3)
        return fraction * kTens[3 - digits];
    const int unit = kTens[digits - 3];
    return (fraction + unit / 2) / unit;
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool matchToken(std::string_view pattern, size_t pos, std::string_view token)
{
    if (pattern.size() - pos < token.size())
        return false;
    for (size_t i = 0; i < token.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(pattern[pos + i])) != token[i])
            return false;
    }
    return true;
}

} // namespace

bool isDateSerial(double serial)
{
    static const double first = makeDate(100, 1, 1);
    static const double end = makeDate(9999, 12, 31) + 1;
    return serial >= first && serial < end;
}

bool isValidDate(int year, int month, int day)
{
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

int daysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[static_cast<size_t>(month - 1)];
}

double makeDate(const DateParts &p)
{
    const long long days =
        daysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) +
        kEpochOffset;
    const long long ms =
        ((static_cast<long long>(p.hour) * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond;
    return static_cast<double>(days) + static_cast<double>(ms) / kMsPerDay;
}

double makeDate(int year, int month, int day)
{
    return makeDate(DateParts{year, month, day});
}

DateParts splitDate(double serial)
{
    if (!isDateSerial(serial))
        throw HostError("Overflow", HostError::Overflow);
    // Round to the millisecond first, so 10:00 stored as a binary fraction stays 10:00:00.000.
    const long long totalMs = std::llround(serial * kMsPerDay);
    long long days = totalMs / kMsPerDay;
    long long ms = totalMs % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --days;
    }
    DateParts p;
    civilFromDays(days - kEpochOffset, p.year, p.month, p.day);
    p.millisecond = static_cast<int>(ms % 1000);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.hour = static_cast<int>(ms / 3600000);
    return p;
}

std::optional<double> parseDate(std::string_view text)
{
    text = trimBlanks(text);
    DateParts p;
    size_t pos = 0;
    if (!readInt(text, pos, 4, 4, p.year))
        return std::nullopt;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '/' || text[pos] == '.')) {
        const char sep = text[pos++];
        if (!readInt(text, pos, 1, 2, p.month) || pos >= text.size() || text[pos] != sep)
            return std::nullopt;
        ++pos;
        if (!readInt(text, pos, 1, 2, p.day))
            return std::nullopt;
    } else if (!readInt(text, pos, 2, 2, p.month) || !readInt(text, pos, 2, 2, p.day)) {
        return std::nullopt;
    }
    if (!isValidDate(p.year, p.month, p.day))
        return std::nullopt;
    if (pos < text.size()) {
        if (text[pos] != ' ' && text[pos] != 'T')
            return std::nullopt;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T'))
            ++pos;
        if (!readInt(text, pos, 1, 2, p.hour) || pos >= text.size() || text[pos] != ':')
            return std::nullopt;
        ++pos;
        if (!readInt(text, pos, 1, 2, p.minute))
            return std::nullopt;
        if (pos < text.size() && text[pos] == ':') {
            ++pos;
            if (!readInt(text, pos, 1, 2, p.second))
                return std::nullopt;
            if (pos < text.size() && text[pos] == '.') {
                ++pos;
                const size_t start = pos;
                int fraction = 0;
                if (!readInt(text, pos, 1, 9, fraction))
                    return std::nullopt;
                p.millisecond = milliseconds(fraction, pos - start);
            }
        }
        if (pos != text.size() || p.hour > 23 || p.minute > 59 || p.second > 59 ||
            p.millisecond > 999)
            return std::nullopt;
    }
    return makeDate(p);
}

// Whether the MM at pos stands for minutes: right after an hour ("HH:MM") or right before
// seconds ("MM:SS"), one separator apart at most.
bool minuteToken(std::string_view pattern, size_t pos)
{
    const auto separator = [&](size_t at) { return at < pattern.size() && pattern[at] == ':'; };
    const bool afterHour = (pos >= 2 && matchToken(pattern, pos - 2, "HH")) ||
                           (pos >= 3 && separator(pos - 1) && matchToken(pattern, pos - 3, "HH"));
    const bool beforeSecond = matchToken(pattern, pos + 2, "SS") ||
                              (separator(pos + 2) && matchToken(pattern, pos + 3, "SS"));
    return afterHour || beforeSecond;
}

std::string formatDate(double serial, std::string_view pattern)
{
    const DateParts p = splitDate(serial);
    std::string out;
    char buf[8];
    auto put = [&](const char *fmt, int value) {
        std::snprintf(buf, sizeof buf, fmt, value);
        out += buf;
    };
    for (size_t i = 0; i < pattern.size();) {
        if (matchToken(pattern, i, "YYYY")) {
            put("%04d", p.year);
            i += 4;
        } else if (matchToken(pattern, i, "YY")) {
            put("%02d", p.year % 100);
            i += 2;
        } else if (matchToken(pattern, i, "MM")) {
            put("%02d", minuteToken(pattern, i) ? p.minute : p.month);
            i += 2;
        } else if (matchToken(pattern, i, "DD")) {
            put("%02d", p.day);
            i += 2;
        } else if (matchToken(pattern, i, "HH")) {
            put("%02d", p.hour);
            i += 2;
        } else if (matchToken(pattern, i, "NN") || matchToken(pattern, i, "MI")) {
            put("%02d", p.minute);
            i += 2;
        } else if (matchToken(pattern, i, "SS")) {
            put("%02d", p.second);
            i += 2;
        } else if (matchToken(pattern, i, "FFF")) {
            put("%03d", p.millisecond);
            i += 3;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

std::string dateToText(double serial)
{
    const DateParts p = splitDate(serial);
    if (p.hour == 0 && p.minute == 0 && p.second == 0 && p.millisecond == 0)
        return formatDate(serial, "YYYY-MM-DD");
    return formatDate(serial, "YYYY-MM-DD HH:NN:SS");
}

double now()
{
    const auto clock = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(clock);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count() %
        1000;
    return makeDate(DateParts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min, local.tm_sec, static_cast<int>(ms)});
}

} // namespace host
