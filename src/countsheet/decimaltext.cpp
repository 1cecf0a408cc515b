#include "countsheet/decimaltext.h"

#include "host/core/hosterror.h"
#include "host/core/text.h"
#include "host/ui/spread/numberformat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSignificant = 15;

// Digits of the rounded magnitude and the count of them that stand before the point.
struct RoundedDigits
{
    std::string digits; // no leading zeros except a lone "0"
    int integerDigits = 1;
    bool negative = false;
};

RoundedDigits roundDigits(double value, int decimals)
{
    if (decimals < 0)
        throw host::HostError("Invalid procedure call or argument",
                              host::HostError::InvalidProcedureCall);
    RoundedDigits out;
    if (!std::isfinite(value) || value == 0) {
        out.digits = std::string(static_cast<size_t>(decimals) + 1, '0');
        return out;
    }
    out.negative = value < 0;
    // d.dddddddddddddde±x: 15 significant digits.
    std::array<char, 48> buf{};
    std::to_chars(buf.data(), buf.data() + buf.size() - 1, std::fabs(value),
                  std::chars_format::scientific, kSignificant - 1);
    std::string mantissa;
    const char *p = buf.data();
    for (; *p != 'e'; ++p)
        if (*p != '.')
            mantissa += *p;
    const int exponent = std::atoi(p + 1);

    // Position of the digit that decides the rounding, counted in the mantissa.
    const int pointAt = exponent + 1;
    const int keep = pointAt + decimals;
    std::string kept;
    bool roundUp = false;
    if (keep >= static_cast<int>(mantissa.size())) {
        kept = mantissa + std::string(static_cast<size_t>(keep) - mantissa.size(), '0');
    } else if (keep >= 0) {
        kept = mantissa.substr(0, static_cast<size_t>(keep));
        roundUp = mantissa[static_cast<size_t>(keep)] >= '5';
    }
    // kept holds the digits of value × 10^decimals; with keep < 0 the value rounds to 0.
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        for (; i >= 0 && kept[static_cast<size_t>(i)] == '9'; --i)
            kept[static_cast<size_t>(i)] = '0';
        if (i < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[static_cast<size_t>(i)];
    }
    // Make room for "0.00x" forms and drop leading zeros of the integer part.
    if (static_cast<int>(kept.size()) <= decimals)
        kept.insert(0, static_cast<size_t>(decimals) + 1 - kept.size(), '0');
    size_t lead = 0;
    while (lead + 1 < kept.size() - static_cast<size_t>(decimals) && kept[lead] == '0')
        ++lead;
    kept.erase(0, lead);
    out.digits = kept;
    out.integerDigits = static_cast<int>(kept.size()) - decimals;
    if (kept.find_first_not_of('0') == std::string::npos)
        out.negative = false;
    return out;
}

} // namespace

std::string formatDecimal(double value, int decimals, bool grouping)
{
    const RoundedDigits r = roundDigits(value, decimals);
    std::string text = r.negative ? "-" : "";
    const std::string integer = r.digits.substr(0, static_cast<size_t>(r.integerDigits));
    for (size_t i = 0; i < integer.size(); ++i) {
        if (grouping && i > 0 && (integer.size() - i) % 3 == 0)
            text += ',';
        text += integer[i];
    }
    if (decimals > 0)
        text += "." + r.digits.substr(static_cast<size_t>(r.integerDigits));
    return text;
}

double roundDecimalHalfAway(double value, int decimals)
{
    // Most quantities lie well clear of a half: rounding the scaled value then gives the
    // digits of the decimal form, and dividing the whole number by an exact power of ten is
    // the double nearest that form, as reading its text is. The margin exceeds what the
    // 15-digit form and the scaling can move a value of up to 1e9 units.
    constexpr int kExactPowers = 9;
    constexpr double kMaxScaled = 1e9;
    constexpr double kMargin = 1e-5;
    if (decimals >= 0 && decimals <= kExactPowers && std::isfinite(value)) {
        static constexpr std::array<double, kExactPowers + 1> kPowers = {1,   10,  100, 1e3, 1e4,
                                                                         1e5, 1e6, 1e7, 1e8, 1e9};
        const double power = kPowers[static_cast<size_t>(decimals)];
        const double scaled = std::fabs(value) * power;
        const double fraction = scaled - std::floor(scaled);
        if (scaled < kMaxScaled && std::fabs(fraction - 0.5) > kMargin) {
            const double whole = std::round(scaled);
            return whole == 0 ? 0.0 : std::copysign(whole / power, value);
        }
    }
    const std::string text = formatDecimal(value, decimals, false);
    double result = 0;
    const bool negative = !text.empty() && text.front() == '-';
    std::from_chars(text.data() + (negative ? 1 : 0), text.data() + text.size(), result);
    return negative ? -result : result;
}

bool showsOwnDecimals(std::string_view field)
{
    return host::startsWithNoCase(field, "FSec");
}

int secondUnitDecimals(double value, int lineDecimals)
{
    return std::max(lineDecimals, host::ui::decimalsOf(value, kSecondUnitShownDecimals));
}

std::optional<double> storedNumber(double value)
{
    constexpr int kStoredDecimals = 10;
    if (!std::isfinite(value))
        return std::nullopt;
    // Scaled to whole ten-billionths, the value rounds to the same whole as its exact decimal
    // form wherever the product's own rounding cannot have crossed a half; the quotient of two
    // exact doubles is then the double nearest that decimal, as its text would read.
    const double scaled = value * 1e10;
    if (std::fabs(scaled) < 0x1p52) {
        const auto whole = static_cast<std::int64_t>(scaled);
        const double fraction = std::fabs(scaled - static_cast<double>(whole));
        // Twice the product's last place at least.
        if (std::fabs(fraction - 0.5) > std::fabs(scaled) * 0x1p-51) {
            const std::int64_t nearest = fraction < 0.5 ? whole : whole + (scaled < 0 ? -1 : 1);
            const double stored = static_cast<double>(nearest) / 1e10;
            return stored == 0 ? 0.0 : stored;
        }
    }
    std::array<char, 352> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::fixed, kStoredDecimals)
                         .ptr;
    double stored = 0;
    std::from_chars(text.data(), end, stored);
    return stored == 0 ? 0.0 : stored;
}

std::string storedNumberText(double value)
{
    const auto stored = storedNumber(value);
    if (!stored)
        return {};
    std::array<char, 32> text{};
    return {text.data(), std::to_chars(text.data(), text.data() + text.size(), *stored).ptr};
}
