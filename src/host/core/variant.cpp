#include "host/core/variant.h"
#include "host/core/text.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"

#include <algorithm>
#include <cctype>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace host {
namespace {

[[noreturn]] void throwNull()
{
    throw HostError("Invalid use of Null", HostError::InvalidUseOfNull);
}

[[noreturn]] void throwMismatch()
{
    throw HostError("Type mismatch", HostError::TypeMismatch);
}

[[noreturn]] void throwOverflow()
{
    throw HostError("Overflow", HostError::Overflow);
}

// Whether a decimal text that a double cannot hold is too large (rather than too small): the
// position of its leading digit, moved by the exponent, lies above the units.
bool tooLarge(std::string_view text)
{
    const size_t exponentAt = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, exponentAt);
    long exponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view digits = text.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (const char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 100000L);
        if (negative)
            exponent = -exponent;
    }
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t lead = mantissa.find_first_of("123456789");
    if (lead == std::string_view::npos)
        return false;
    const long leadPower =
        lead < point ? static_cast<long>(point - lead) - 1 : -static_cast<long>(lead - point);
    return leadPower + exponent > 0;
}

// Conversions of numbers to and from text never follow the process locale: a decimal comma
// must not reach SQL text. Nothing when the number is too large for a double; too small a one
// is 0.
std::optional<double> readDouble(std::string_view text)
{
    double value = 0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec == std::errc::result_out_of_range)
        return tooLarge(text) ? std::nullopt : std::optional<double>(0.0);
    return value;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::optional<double> parseRadix(std::string_view digits, int radix)
{
    if (digits.empty())
        return std::nullopt;
    double value = 0;
    for (char c : digits) {
        const int d = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        if (d < 0 || d >= radix)
            return std::nullopt;
        value = value * radix + d;
    }
    return value;
}

// Rounds half to even, the host language's rule for whole-number conversions.
double roundHalfEven(double value)
{
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double result = std::nearbyint(value);
    std::fesetround(saved);
    return result;
}

double toNumber(const Variant &value)
{
    switch (value.type()) {
    case VariantType::Empty:
        return 0;
    case VariantType::Null:
        throwNull();
    case VariantType::Long:
        return static_cast<double>(value.longValue());
    case VariantType::Double:
        return value.doubleValue();
    case VariantType::Boolean:
        return value.boolValue() ? -1 : 0;
    case VariantType::Date:
        return value.dateValue();
    case VariantType::String: {
        if (auto n = parseNumber(value.stringValue()))
            return *n;
        const std::string t = Trim(value.stringValue());
        if (equalsNoCase(t, "true"))
            return -1;
        if (equalsNoCase(t, "false"))
            return 0;
        throwMismatch();
    }
    case VariantType::Object:
        throwMismatch();
    }
    throwMismatch();
}

} // namespace

Variant Variant::null()
{
    Variant v;
    v.m_value = NullValue{};
    return v;
}

Variant Variant::fromDate(double serial)
{
    Variant v;
    v.m_value = DateValue{serial};
    return v;
}

bool Variant::isNumeric() const
{
    const auto t = type();
    return t == VariantType::Long || t == VariantType::Double;
}

const std::shared_ptr<HostObject> &Variant::objectValue() const
{
    return std::get<std::shared_ptr<HostObject>>(m_value);
}

bool Variant::operator==(const Variant &other) const
{
    return m_value == other.m_value;
}

std::optional<double> parseNumber(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    bool negative = false;
    std::string_view body = text;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body.size() > 2 && body[0] == '&' &&
        (body[1] == 'H' || body[1] == 'h' || body[1] == 'O' || body[1] == 'o')) {
        auto n = parseRadix(body.substr(2), body[1] == 'H' || body[1] == 'h' ? 16 : 8);
        if (n && negative)
            *n = -*n;
        return n;
    }
    // Plain decimal with an optional exponent; nothing may follow.
    std::string plain;
    bool digits = false;
    bool point = false;
    size_t i = 0;
    for (; i < body.size(); ++i) {
        const char c = body[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            plain += c;
        } else if (c == '.' && !point) {
            point = true;
            plain += c;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < body.size() && (body[i] == 'E' || body[i] == 'e' || body[i] == 'D' || body[i] == 'd')) {
        plain += 'e';
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-'))
            plain += body[i++];
        bool expDigits = false;
        for (; i < body.size() && std::isdigit(static_cast<unsigned char>(body[i])); ++i) {
            plain += body[i];
            expDigits = true;
        }
        if (!expDigits)
            return std::nullopt;
    }
    if (i != body.size())
        return std::nullopt;
    const auto value = readDouble(plain);
    if (!value)
        return std::nullopt;
    return negative ? -*value : *value;
}

double Val(std::string_view text)
{
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c))
            compact += c;
    }
    std::string_view s = compact;
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int radix = s[1] == 'H' || s[1] == 'h' ? 16 : 8;
        size_t end = 2;
        while (end < s.size() && std::isxdigit(static_cast<unsigned char>(s[end])) &&
               (radix == 16 || (s[end] >= '0' && s[end] <= '7')))
            ++end;
        return parseRadix(s.substr(2, end - 2), radix).value_or(0);
    }
    // Longest prefix that reads as a decimal number.
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(s[i])))
            digits = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return 0;
    size_t end = i;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            end = j;
        }
    }
    std::string number(s.substr(0, end));
    for (char &c : number) {
        if (c == 'D' || c == 'd')
            c = 'e';
    }
    const bool negative = !number.empty() && number.front() == '-';
    if (!number.empty() && (number.front() == '-' || number.front() == '+'))
        number.erase(0, 1);
    const auto value = readDouble(number);
    if (!value)
        throwOverflow();
    return negative ? -*value : *value;
}

double Val(const Variant &value)
{
    switch (value.type()) {
    case VariantType::Null:
        throwNull();
    case VariantType::Empty:
        return 0;
    case VariantType::Long:
    case VariantType::Double:
    case VariantType::Date:
        return toNumber(value);
    default:
        return Val(CStr(value));
    }
}

std::int32_t CLng(const Variant &value)
{
    const double rounded = roundHalfEven(toNumber(value));
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        throwOverflow();
    return static_cast<std::int32_t>(rounded);
}

std::int16_t CInt(const Variant &value)
{
    const double rounded = roundHalfEven(toNumber(value));
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max()))
        throwOverflow();
    return static_cast<std::int16_t>(rounded);
}

double CDbl(const Variant &value)
{
    return toNumber(value);
}

bool CBool(const Variant &value)
{
    if (value.type() == VariantType::Boolean)
        return value.boolValue();
    return toNumber(value) != 0;
}

double CDate(const Variant &value)
{
    switch (value.type()) {
    case VariantType::Null:
        throwNull();
    case VariantType::Date:
        return value.dateValue();
    case VariantType::String: {
        if (auto d = parseDate(value.stringValue()))
            return *d;
        throwMismatch();
    }
    case VariantType::Object:
        throwMismatch();
    default: {
        const double serial = toNumber(value);
        if (!isDateSerial(serial))
            throwOverflow();
        return serial;
    }
    }
}

std::string numberToText(double value)
{
    if (value == 0)
        return "0";
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string text(buf, result.ptr);
    for (char &c : text) {
        if (c == 'e')
            c = 'E';
    }
    return text;
}

std::string CStr(const Variant &value)
{
    switch (value.type()) {
    case VariantType::Empty:
        return {};
    case VariantType::Null:
        throwNull();
    case VariantType::Long:
        return std::to_string(value.longValue());
    case VariantType::Double:
        return numberToText(value.doubleValue());
    case VariantType::String:
        return value.stringValue();
    case VariantType::Date:
        return dateToText(value.dateValue());
    case VariantType::Boolean:
        return value.boolValue() ? "True" : "False";
    case VariantType::Object:
        throwMismatch();
    }
    throwMismatch();
}

std::string Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

Variant Trim(const Variant &value)
{
    if (value.isNull())
        return value;
    return Variant(Trim(CStr(value)));
}

bool IsNull(const Variant &value)
{
    return value.isNull();
}

bool IsEmpty(const Variant &value)
{
    return value.isEmpty();
}

bool IsNumeric(const Variant &value)
{
    switch (value.type()) {
    case VariantType::Empty:
    case VariantType::Long:
    case VariantType::Double:
    case VariantType::Boolean:
        return true;
    case VariantType::String:
        return parseNumber(value.stringValue()).has_value();
    default:
        return false;
    }
}

bool IsDate(const Variant &value)
{
    if (value.type() == VariantType::Date)
        return true;
    return value.type() == VariantType::String && parseDate(value.stringValue()).has_value();
}

} // namespace host
