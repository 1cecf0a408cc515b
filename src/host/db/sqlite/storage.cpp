#include "host/db/sqlite/storage.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

namespace host {

namespace {

// 10 to the n: exact from a table as far as a double holds it (every conversion to a decimal
// scales by one), from pow beyond.
double powerOfTen(int n)
{
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n >= 0 && n < static_cast<int>(std::size(kExact)))
        return kExact[n];
    return std::pow(10.0, n);
}

// std::round but for the sign of a zero, without the library call: rounding runs once a row.
// Below 2^62 the truncation and the fraction it leaves are exact.
double roundHalfAway(double x)
{
    constexpr double kExactBelow = 4.6e18;
    if (!(std::fabs(x) < kExactBelow))
        return std::round(x);
    const auto whole = static_cast<double>(static_cast<long long>(x));
    const double fraction = x - whole;
    if (fraction >= 0.5)
        return whole + 1;
    if (fraction <= -0.5)
        return whole - 1;
    return whole;
}

// The digits before the point of a magnitude of 1 or more, counted up to 16: a number of
// more keeps no decimals at all.
int integerDigits(double magnitude)
{
    constexpr int kMostCounted = 16;
    int digits = 1;
    while (digits < kMostCounted && magnitude >= powerOfTen(digits))
        ++digits;
    return digits;
}

// The leading type name, lowercased, and the numbers in its parentheses.
void splitType(std::string_view declared, std::string &name, int &first, int &second)
{
    size_t i = 0;
    while (i < declared.size() &&
           (std::isalnum(static_cast<unsigned char>(declared[i])) || declared[i] == '_'))
        ++i;
    name = toLower(declared.substr(0, i));
    first = -1;
    second = -1;
    const size_t open = declared.find('(');
    if (open == std::string_view::npos)
        return;
    const std::string args(declared.substr(open + 1));
    first = std::atoi(args.c_str());
    if (toLower(args).starts_with("max"))
        first = -1;
    const size_t comma = args.find(',');
    if (comma != std::string::npos)
        second = std::atoi(args.c_str() + comma + 1);
}

[[noreturn]] void conversionFailed(const Variant &value, std::string_view typeName)
{
    throw HostError("Conversion failed when converting the value '" + CStr(value) +
                    "' to data type " + std::string(typeName) + ".");
}

[[noreturn]] void overflow(std::string_view typeName)
{
    throw HostError("Arithmetic overflow error converting expression to data type " +
                    std::string(typeName) + ".");
}

double numberOf(const Variant &value, std::string_view typeName)
{
    switch (value.type()) {
    case VariantType::Long:
        return static_cast<double>(value.longValue());
    case VariantType::Double:
        return value.doubleValue();
    case VariantType::Boolean:
        return value.boolValue() ? 1 : 0;
    case VariantType::Date:
        return value.dateValue() - 2; // SQL Server counts days from 1900-01-01
    case VariantType::String: {
        if (Trim(value.stringValue()).empty())
            return 0;
        if (const auto n = parseNumber(value.stringValue()))
            return *n;
        conversionFailed(value, typeName);
    }
    default:
        conversionFailed(value, typeName);
    }
}

struct IntegerRange
{
    long long low;
    long long high;
    std::string_view name;
};

IntegerRange integerRange(int bytes)
{
    switch (bytes) {
    case 1:
        return {0, 255, "tinyint"};
    case 2:
        return {-32768, 32767, "smallint"};
    case 4:
        return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(),
                "int"};
    default:
        return {std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max(),
                "bigint"};
    }
}

// A whole number of an integer type: a fraction is cut off, as SQL Server converts a float; a
// value outside the type's range is an overflow error, never a wrapped or undefined number.
Variant storedInteger(const Variant &value, int bytes)
{
    const IntegerRange range = integerRange(bytes);
    long long n = 0;
    bool fits = false;
    if (value.type() == VariantType::Long) {
        n = value.longValue();
        fits = true;
    } else if (value.type() == VariantType::String) {
        // Whole digits are read exactly, so that bigint's extremes survive the conversion.
        const std::string text = Trim(value.stringValue());
        const char *end = text.data() + text.size();
        const auto read = std::from_chars(text.data(), end, n);
        fits = !text.empty() && read.ptr == end && read.ec == std::errc();
        if (!fits) {
            const double d = numberOf(value, range.name);
            if (d != std::trunc(d))
                conversionFailed(value, range.name);
        }
    }
    if (!fits) {
        constexpr double kLimit = 9223372036854775808.0; // 2^63
        const double d = std::trunc(numberOf(value, range.name));
        fits = d >= -kLimit && d < kLimit;
        if (fits)
            n = static_cast<long long>(d);
    }
    if (!fits || n < range.low || n > range.high) {
        if (value.type() == VariantType::String)
            throw HostError("The conversion of the varchar value '" + value.stringValue() +
                            "' overflowed an " + std::string(range.name) + " column.");
        overflow(range.name);
    }
    return Variant(n);
}

Variant storedFloat(double n)
{
    if (!std::isfinite(n))
        overflow("float");
    return Variant(n);
}

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

[[noreturn]] void truncated(const ColumnType &type, size_t length, const StoreTarget &target)
{
    std::string message = "String or binary data would be truncated";
    if (!target.column.empty()) {
        message += " in ";
        if (!target.table.empty())
            message += "table '" + std::string(target.table) + "', ";
        message += "column '" + std::string(target.column) + "'";
    }
    message += ": it holds " + std::to_string(type.length) +
               (type.national ? " characters" : " bytes (a Chinese character takes two)") +
               ", the value has " + std::to_string(length) + ".";
    throw HostError(message);
}

// A text for a type of a length: blanks past the length are dropped, as SQL Server drops them;
// anything else past it is refused for a column (no target: cut).
Variant storedText(std::string text, const ColumnType &type, const StoreTarget *target)
{
    if (type.length < 0)
        return Variant(std::move(text));
    const auto limit = static_cast<size_t>(type.length);
    if (textLength(text, type.national) <= limit)
        return Variant(std::move(text));
    const std::string_view kept = withoutTrailingBlanks(text);
    const size_t keptLength = textLength(kept, type.national);
    if (keptLength > limit) {
        if (target)
            truncated(type, keptLength, *target);
        return Variant(std::string(cutText(kept, limit, type.national)));
    }
    return Variant(std::string(kept) + std::string(limit - keptLength, ' '));
}

// toStored, or toConverted when there is no target.
Variant convertedValue(const Variant &value, const ColumnType &type, const StoreTarget *target)
{
    if (value.isNull() || value.isEmpty())
        return Variant::null();
    switch (type.type) {
    case SqlType::Int:
        return storedInteger(value, type.length);
    case SqlType::Bit: {
        if (value.type() == VariantType::String) {
            const std::string t = toLower(Trim(value.stringValue()));
            if (t == "true")
                return Variant(1);
            if (t == "false")
                return Variant(0);
        }
        return Variant(numberOf(value, "bit") != 0 ? 1 : 0);
    }
    case SqlType::Real:
        return storedFloat(numberOf(value, "float"));
    case SqlType::Decimal:
        return Variant(storedDecimal(numberOf(value, "numeric"), type));
    case SqlType::Text:
        switch (value.type()) {
        case VariantType::String:
            return storedText(value.stringValue(), type, target);
        case VariantType::Boolean:
            return storedText(value.boolValue() ? "1" : "0", type, target);
        case VariantType::Date:
            return storedText(dateToStoredText(value.dateValue()), type, target);
        default: {
            std::string digits = CStr(value);
            // A number is never cut short: outside a column an integer too long for the text
            // becomes "*", any other number an error, as on SQL Server.
            if (!target && type.length >= 0 &&
                textLength(digits, false) > static_cast<size_t>(type.length)) {
                if (value.type() == VariantType::Long)
                    return Variant(std::string("*"));
                overflow(type.national ? "nvarchar" : "varchar");
            }
            return storedText(std::move(digits), type, target);
        }
        }
    case SqlType::DateTime:
        switch (value.type()) {
        case VariantType::Date:
            return Variant(dateToStoredText(value.dateValue()));
        case VariantType::String:
            return Variant(dateToStoredText(storedTextToDate(value.stringValue())));
        default:
            return Variant(dateToStoredText(numberOf(value, "datetime") + 2));
        }
    case SqlType::Unknown:
        break;
    }
    switch (value.type()) {
    case VariantType::Date:
        return Variant(dateToStoredText(value.dateValue()));
    case VariantType::Boolean:
        return Variant(value.boolValue() ? 1 : 0);
    case VariantType::Double:
        return storedFloat(value.doubleValue());
    default:
        return value;
    }
}

} // namespace

ColumnType parseColumnType(std::string_view declared)
{
    std::string name;
    int first = 0;
    int second = 0;
    splitType(declared, name, first, second);
    ColumnType t;
    if (name == "int" || name == "integer" || name == "smallint" || name == "tinyint" ||
        name == "bigint") {
        t.type = SqlType::Int;
        t.length = name == "bigint" ? 8 : name == "smallint" ? 2 : name == "tinyint" ? 1 : 4;
    } else if (name == "bit") {
        t.type = SqlType::Bit;
    } else if (name == "decimal" || name == "numeric") {
        t.type = SqlType::Decimal;
        t.precision = first < 0 ? 18 : first;
        t.scale = second < 0 ? 0 : second;
    } else if (name == "money" || name == "smallmoney") {
        t.type = SqlType::Decimal;
        t.precision = name == "money" ? 19 : 10;
        t.scale = 4;
    } else if (name == "float" || name == "real" || name == "double") {
        t.type = SqlType::Real;
    } else if (name == "char" || name == "varchar" || name == "nchar" || name == "nvarchar" ||
               name == "text" || name == "ntext" || name == "sysname" ||
               name == "uniqueidentifier") {
        t.type = SqlType::Text;
        t.length = name == "sysname" ? 128 : first;
        t.national = name.front() == 'n' || name == "sysname";
        // "(max)" as written, or "(-1)" as the SQLite declaration keeps it.
        t.max = name == "text" || name == "ntext" ||
                (first < 0 && declared.find('(') != std::string_view::npos);
    } else if (name == "datetime" || name == "smalldatetime" || name == "date" ||
               name == "datetime2") {
        t.type = SqlType::DateTime;
    }
    return t;
}

std::string sqliteDeclaration(std::string_view tsqlType, const ColumnType &type)
{
    std::string name;
    int first = 0;
    int second = 0;
    splitType(tsqlType, name, first, second);
    std::string args;
    if (const size_t open = tsqlType.find('('); open != std::string_view::npos)
        args = std::string(tsqlType.substr(open));
    switch (type.type) {
    case SqlType::Decimal:
        return name + " REAL" + args;
    case SqlType::DateTime:
        return name + " TEXT";
    case SqlType::Text:
        return name + " TEXT" +
               (type.length >= 0 || type.max ? "(" + std::to_string(type.length) + ")" : "") +
               " COLLATE TSQL";
    case SqlType::Bit:
        return "bit INTEGER";
    default:
        return name + args;
    }
}

double roundDecimal(double value, int scale)
{
    if (value == 0)
        return 0.0; // never -0
    if (scale < 0 || !std::isfinite(value))
        return value;
    constexpr double kSignificant = 1e15;
    double factor = powerOfTen(scale);
    double scaled = value * factor;
    if (std::fabs(scaled) >= kSignificant) {
        const double magnitude = std::fabs(value);
        const int whole = magnitude >= 1 ? integerDigits(magnitude)
                                         : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
        factor = powerOfTen(std::max(0, std::min(scale, 15 - whole)));
        scaled = value * factor;
    }
    // A decimal typed as 1.005 is held as 1.00499999...; the nudge rounds it as written. It
    // stays within the error that reading and scaling a value can add (about an ulp of scaled),
    // so that a value that already has the scale's decimals keeps them exactly.
    constexpr double kNudge = 3e-16;
    const double nudge = std::copysign(std::fabs(scaled) * kNudge, scaled);
    const double rounded = roundHalfAway(scaled + nudge) / factor;
    return rounded == 0 ? 0.0 : rounded;
}

double storedDecimal(double value, const ColumnType &type)
{
    const double rounded = roundDecimal(value, type.scale);
    if (!std::isfinite(rounded))
        overflow("numeric");
    if (type.precision >= 0 && type.scale >= 0 &&
        std::fabs(rounded) >= powerOfTen(type.precision - type.scale))
        overflow("numeric");
    return rounded;
}

std::string dateToStoredText(double serial)
{
    if (!inDatetimeRange(serial))
        overflow("datetime");
    return formatDate(serial, "YYYY-MM-DD HH:NN:SS.FFF");
}

double storedTextToDate(std::string_view text)
{
    const std::string trimmed = Trim(text);
    if (trimmed.empty())
        return makeDate(1900, 1, 1);
    const auto serial = parseDate(trimmed);
    if (!serial)
        throw HostError(
            "Conversion failed when converting date and/or time from character string.");
    if (!inDatetimeRange(*serial))
        throw HostError("The conversion of a varchar data type to a datetime data type resulted "
                        "in an out-of-range value.");
    return *serial;
}

Variant toStored(const Variant &value, const ColumnType &type, const StoreTarget &target)
{
    return convertedValue(value, type, &target);
}

Variant toConverted(const Variant &value, const ColumnType &type)
{
    return convertedValue(value, type, nullptr);
}

namespace {

// What one character whose UTF-8 form starts with this byte counts for; 0 for a byte that
// continues a character.
size_t characterLength(unsigned char lead, bool national)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xF0) // outside the basic plane: a surrogate pair, four bytes in GB18030
        return national ? 2 : 4;
    if (lead >= 0xC0)
        return national ? 1 : 2;
    return 0;
}

} // namespace

size_t textLength(std::string_view text, bool national)
{
    size_t units = 0;
    for (const char c : text)
        units += characterLength(static_cast<unsigned char>(c), national);
    return units;
}

std::string_view cutText(std::string_view text, size_t limit, bool national)
{
    size_t units = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        units += characterLength(static_cast<unsigned char>(text[i]), national);
        if (units > limit)
            return text.substr(0, i);
    }
    return text;
}

bool inDatetimeRange(double serial)
{
    static const double first = makeDate(1753, 1, 1) * 86400000;
    static const double end = (makeDate(9999, 12, 31) + 1) * 86400000;
    const double ms = std::round(serial * 86400000);
    return ms >= first && ms < end;
}

Variant fromStored(const Variant &stored, const ColumnType &type)
{
    if (stored.isNull())
        return stored;
    switch (type.type) {
    case SqlType::DateTime:
        if (stored.type() == VariantType::String) {
            if (const auto serial = parseDate(stored.stringValue()))
                return Variant::fromDate(*serial);
        }
        return stored;
    case SqlType::Bit:
        if (stored.type() == VariantType::Long)
            return Variant(stored.longValue() != 0);
        return stored;
    case SqlType::Real:
    case SqlType::Decimal:
        if (stored.type() == VariantType::Long)
            return Variant(static_cast<double>(stored.longValue()));
        return stored;
    default:
        return stored;
    }
}

} // namespace host
