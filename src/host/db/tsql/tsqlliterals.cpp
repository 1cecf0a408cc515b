#include "host/db/tsql/tsqlparser.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace host::tsql {

namespace {

// SQLite makes a bound parameter of its own by so many literals; beyond them literals are
// written into the SQL.
constexpr size_t kMaxBoundLiterals = 999;

// The type SQL Server gives a number as written: int when it fits, then bigint, then a decimal
// of its digits; with an exponent a float. Past 38 digits it is read as a float; a float that
// overflows is refused, so that no infinity reaches SQLite. The value is the one SQLite reads
// from the same text: an integer when it fits 64 bits, else a float, which `known` gives
// where the text was written from it.
Literal readNumber(std::string_view text, std::optional<double> known = std::nullopt)
{
    const size_t point = text.find('.');
    const bool exponent = text.find_first_of("eE") != std::string::npos;
    if (point == std::string::npos && !exponent) {
        long long n = 0;
        const auto read = std::from_chars(text.data(), text.data() + text.size(), n);
        if (read.ec == std::errc()) {
            ColumnType type = typeOf(SqlType::Int);
            type.length = n <= std::numeric_limits<std::int32_t>::max() ? 4 : 8;
            return {Variant(n), type};
        }
    }
    if (point != std::string::npos && text.find('.', point + 1) != std::string::npos)
        throw HostError("Incorrect syntax near '" + std::string(text) + "'.");
    const auto value = known ? known : parseNumber(text);
    if (!value)
        throw HostError("The floating point value '" + std::string(text) +
                        "' is out of the range of computer representation (8 bytes).");
    if (exponent)
        return {Variant(*value), typeOf(SqlType::Real)};
    const size_t end = point == std::string::npos ? text.size() : point;
    const int scale = static_cast<int>(text.size() - end - (point == std::string::npos ? 0 : 1));
    const size_t firstDigit = std::min(text.find_first_not_of('0'), end);
    const int whole = static_cast<int>(end - firstDigit);
    if (whole + scale > kMaxPrecision)
        return {Variant(*value), typeOf(SqlType::Real)};
    return {Variant(*value), decimalType(std::max(1, whole + scale), scale)};
}

// What of a type a comparison reads: text or not, and the width an integer lends a text that
// it converts.
int comparedClass(const ColumnType &t)
{
    if (t.type == SqlType::Int)
        return t.length;
    return t.type == SqlType::Text ? -1 : -2;
}

bool sameType(const ColumnType &a, const ColumnType &b)
{
    return a.type == b.type && a.precision == b.precision && a.scale == b.scale &&
           a.length == b.length && a.national == b.national;
}

// The type of a number whose shortest plain decimals have at most 15 places and fewer than 2^50
// digits in all, found without writing them: the first count of places k whose rounded digits n
// read back as the number (n / 10^k, both exact, is the double nearest to the decimal) is the
// count the shortest decimals have. Below 2^50 the product is within a quarter of n.
std::optional<ColumnType> fewDecimals(double magnitude)
{
    constexpr double kDigitsLimit = 1125899906842624.0; // 2^50
    double power = 1;
    for (int places = 1; places <= 15; ++places) {
        power *= 10;
        const double scaled = magnitude * power;
        if (scaled >= kDigitsLimit)
            return std::nullopt;
        // Rounded to the nearest whole number, a tie to the even one, as std::nearbyint rounds
        // but without its call: below 2^52 the sum has no bits after the point.
        constexpr double kWholeBits = 4503599627370496.0; // 2^52
        const double digits = (scaled + kWholeBits) - kWholeBits;
        if (digits / power != magnitude)
            continue;
        const auto whole =
            static_cast<unsigned long long>(digits) / static_cast<unsigned long long>(power);
        int wholeDigits = 0;
        for (auto rest = whole; rest != 0; rest /= 10)
            ++wholeDigits;
        return decimalType(std::max(1, wholeDigits + places), places);
    }
    return std::nullopt;
}

} // namespace

Literal readLiteral(const Token &t)
{
    if (t.kind != TokenKind::String)
        return readNumber(t.text);
    ColumnType type = typeOf(SqlType::Text);
    type.national = t.national;
    type.length = static_cast<int>(std::min<size_t>(textLength(t.text, t.national), INT_MAX));
    return {Variant(t.text), type};
}

ColumnType wholeType(unsigned long long magnitude)
{
    if (magnitude > static_cast<unsigned long long>(std::numeric_limits<long long>::max()))
        return readNumber(std::to_string(magnitude)).type;
    ColumnType type;
    type.type = SqlType::Int;
    type.length = magnitude <= std::numeric_limits<std::int32_t>::max() ? 4 : 8;
    return type;
}

ColumnType numberType(double magnitude)
{
    // A whole number is written as its digits alone: an int or a bigint when it fits one.
    if (readsAsWhole(magnitude))
        return wholeType(static_cast<unsigned long long>(magnitude));
    // Otherwise its type follows the digits of its shortest plain decimals.
    if (!std::isfinite(magnitude))
        return readNumber(sqlNumber(magnitude), magnitude).type;
    if (const auto few = fewDecimals(magnitude))
        return *few;
    std::array<char, 400> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude,
                                       std::chars_format::fixed);
    return readNumber(std::string_view(digits.data(), written.ptr), magnitude).type;
}

bool LiteralShape::admits(const ColumnType &other) const
{
    if (negated &&
        (other.type != type.type || (type.type == SqlType::Decimal && other.scale != type.scale &&
                                     !(negatesExactly(type) && negatesExactly(other)))))
        return false;
    switch (use) {
    case Use::Typed:
        return sameType(type, other);
    case Use::Compared:
        return comparedClass(type) == comparedClass(other);
    case Use::Stored:
        return storesUnchanged(type, target) == storesUnchanged(other, target);
    }
    return false;
}

Expr Translator::Impl::literal(size_t index)
{
    const Token &t = m_tokens[index];
    Literal read = readLiteral(t);
    const bool text = t.kind == TokenKind::String;
    if (!m_bind || m_literals.size() >= kMaxBoundLiterals)
        return {text ? sqlString(t.text) : t.text, read.type, {}, text};
    const int param = newParam(std::move(read.value));
    m_literals.push_back(
        {index - m_begin, param, {LiteralShape::Use::Typed, read.type, {}, false}});
    return {
        "?" + std::to_string(param), read.type, {}, text, static_cast<int>(m_literals.size() - 1)};
}

void Translator::Impl::relax(const Expr &e, LiteralShape::Use use, const ColumnType &target)
{
    if (e.literal < 0)
        return;
    LiteralShape &shape = m_literals[static_cast<size_t>(e.literal)].shape;
    shape.use = use;
    shape.target = target;
}

} // namespace host::tsql
