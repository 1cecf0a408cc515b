#include "host/db/tsql/tsqlfunctions.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/text.h"
#include "host/db/sqlite/sqlitedb.h"
#include "host/db/sqlite/storage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace host::tsql {

namespace {

Variant valueOf(sqlite3_value *value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return Variant(static_cast<long long>(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return Variant(sqlite3_value_double(value));
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return Variant(std::string(reinterpret_cast<const char *>(sqlite3_value_text(value)),
                                   static_cast<size_t>(sqlite3_value_bytes(value))));
    default:
        return Variant::null();
    }
}

// The text of a value as SQLite holds it, valid until the value changes.
std::string_view textView(sqlite3_value *value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return {text, static_cast<size_t>(sqlite3_value_bytes(value))};
}

std::string textOf(sqlite3_value *value)
{
    return std::string(textView(value));
}

void setResult(sqlite3_context *ctx, const Variant &value)
{
    switch (value.type()) {
    case VariantType::Long:
        sqlite3_result_int64(ctx, value.longValue());
        break;
    case VariantType::Double:
        if (!std::isfinite(value.doubleValue()))
            throw HostError("Arithmetic overflow error converting expression to data type float.");
        sqlite3_result_double(ctx, value.doubleValue());
        break;
    case VariantType::String:
        sqlite3_result_text(ctx, value.stringValue().data(),
                            static_cast<int>(value.stringValue().size()), SQLITE_TRANSIENT);
        break;
    case VariantType::Boolean:
        sqlite3_result_int(ctx, value.boolValue() ? 1 : 0);
        break;
    default:
        sqlite3_result_null(ctx);
        break;
    }
}

using SqlFunction = void (*)(sqlite3_context *, int, sqlite3_value **);

// Every function runs through this: an exception of any kind becomes an SQL error of the
// statement, since none may unwind through SQLite's C frames.
template <SqlFunction Function>
void guarded(sqlite3_context *ctx, int argc, sqlite3_value **argv) noexcept
{
    try {
        Function(ctx, argc, argv);
    } catch (const HostError &e) {
        sqlite3_result_error(ctx, e.Description().c_str(), -1);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception &e) {
        sqlite3_result_error(ctx, e.what(), -1);
    } catch (...) {
        sqlite3_result_error(ctx, "The function failed.", -1);
    }
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    }
    return false;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A date argument: stored text, or a number of days from 1900-01-01. A text with no blanks to
// trim, as every stored date, is read where SQLite holds it: date conditions run once a row.
double dateArgument(sqlite3_value *value)
{
    if (sqlite3_value_type(value) == SQLITE_TEXT) {
        const std::string_view text = textView(value);
        if (!text.empty() && isDigit(text.front()) && isDigit(text.back())) {
            if (const auto serial = parseDate(text); serial && inDatetimeRange(*serial))
                return *serial;
        }
        return storedTextToDate(text);
    }
    const double serial = sqlite3_value_double(value) + 2;
    if (!inDatetimeRange(serial))
        throw HostError("Arithmetic overflow error converting expression to data type datetime.");
    return serial;
}

// A text that is blank or a plain date (YYYY-MM-DD) without its spaces: empty for a blank;
// nothing for any other text. Dates of count lines are kept so and compared converted, row by
// row.
std::optional<std::string_view> plainDay(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return text;
    constexpr size_t kDateLength = 10;
    if (text.size() != kDateLength || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int fields[3] = {};
    const size_t starts[3] = {0, 5, 8};
    const size_t lengths[3] = {4, 2, 2};
    for (size_t f = 0; f < 3; ++f) {
        for (size_t i = starts[f]; i < starts[f] + lengths[f]; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            fields[f] = fields[f] * 10 + (text[i] - '0');
        }
    }
    constexpr int kFirstYear = 1753;
    if (fields[0] < kFirstYear || fields[1] < 1 || fields[1] > 12 || fields[2] < 1 ||
        fields[2] > daysInMonth(fields[0], fields[1]))
        return std::nullopt;
    return text;
}

// The stored form of a blank or a plain date, as dateToStoredText(storedTextToDate()) gives it.
std::optional<std::string> plainStoredDate(std::string_view text)
{
    const auto day = plainDay(text);
    if (!day)
        return std::nullopt;
    if (day->empty())
        return std::string("1900-01-01 00:00:00.000");
    return std::string(*day) + " 00:00:00.000";
}

// tsql_int(value, bytes), tsql_decimal(value, scale[, precision]), tsql_text(value[, length,
// national[, table, column]]), tsql_bit(value), tsql_float(value), tsql_datetime(value): the
// value converted for a column of that type. A text too long for the column named is refused;
// without a column it is cut, as an expression's conversion cuts it.
template <SqlType Type> void storeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    ColumnType type;
    type.type = Type;
    if (Type == SqlType::Int || Type == SqlType::Text)
        type.length = argc > 1 ? sqlite3_value_int(argv[1]) : -1;
    if (Type == SqlType::Text)
        type.national = argc > 2 && sqlite3_value_int(argv[2]) != 0;
    if (Type == SqlType::Decimal) {
        type.scale = argc > 1 ? sqlite3_value_int(argv[1]) : -1;
        type.precision = argc > 2 ? sqlite3_value_int(argv[2]) : -1;
        // Numbers, by far the most of what is rounded, need no Variant; a number rounded to
        // its scale alone cannot overflow, which only a precision or an infinity makes.
        const int kind = sqlite3_value_type(argv[0]);
        if (kind == SQLITE_FLOAT || kind == SQLITE_INTEGER) {
            const double value = sqlite3_value_double(argv[0]);
            sqlite3_result_double(ctx, type.precision < 0 && std::isfinite(value)
                                           ? roundDecimal(value, type.scale)
                                           : storedDecimal(value, type));
            return;
        }
    }
    if (Type == SqlType::Text && type.length < 0) {
        // A text or null of no length limit is itself: a trimmed or sorted name column passes
        // through here on every row.
        const int kind = sqlite3_value_type(argv[0]);
        if (kind == SQLITE_TEXT || kind == SQLITE_NULL) {
            sqlite3_result_value(ctx, argv[0]);
            return;
        }
    }
    if (Type == SqlType::DateTime && sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const std::string_view text(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                                    static_cast<size_t>(sqlite3_value_bytes(argv[0])));
        if (const auto stored = plainStoredDate(text)) {
            sqlite3_result_text(ctx, stored->data(), static_cast<int>(stored->size()),
                                SQLITE_TRANSIENT);
            return;
        }
    }
    if (Type == SqlType::Text && argc == 3) {
        setResult(ctx, toConverted(valueOf(argv[0]), type));
        return;
    }
    StoreTarget target;
    std::string table;
    std::string column;
    if (Type == SqlType::Text && argc == 5) {
        table = textOf(argv[3]);
        column = textOf(argv[4]);
        target = {table, column};
    }
    setResult(ctx, toStored(valueOf(argv[0]), type, target));
}

void getdateFunction(sqlite3_context *ctx, int, sqlite3_value **)
{
    setResult(ctx, Variant(dateToStoredText(now())));
}

size_t utf8Length(std::string_view text)
{
    size_t n = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    }
    return n;
}

// The first count characters of a UTF-8 text.
std::string utf8Left(std::string_view text, size_t count)
{
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == count)
                return std::string(text.substr(0, i));
            ++chars;
        }
    }
    return std::string(text);
}

std::string numberText(sqlite3_value *value)
{
    if (sqlite3_value_type(value) == SQLITE_FLOAT)
        return numberToText(sqlite3_value_double(value));
    return textOf(value);
}

std::string formatStyle(double serial, int style)
{
    switch (style) {
    case 101:
        return formatDate(serial, "MM/DD/YYYY");
    case 102:
        return formatDate(serial, "YYYY.MM.DD");
    case 103:
        return formatDate(serial, "DD/MM/YYYY");
    case 111:
        return formatDate(serial, "YYYY/MM/DD");
    case 112:
        return formatDate(serial, "YYYYMMDD");
    case 23:
        return formatDate(serial, "YYYY-MM-DD");
    case 108:
        return formatDate(serial, "HH:NN:SS");
    case 20:
    case 120:
        return formatDate(serial, "YYYY-MM-DD HH:NN:SS");
    case 0:
    case 100: {
        static constexpr const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        const DateParts p = splitDate(serial);
        char buf[32];
        const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
        std::snprintf(buf, sizeof buf, "%s %2d %04d %2d:%02d%s", months[p.month - 1], p.day, p.year,
                      hour12, p.minute, p.hour < 12 ? "AM" : "PM");
        return buf;
    }
    default:
        return formatDate(serial, "YYYY-MM-DD HH:NN:SS.FFF");
    }
}

// tsql_varchar(value, length, style, valueIsDate)
void varcharFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto length = static_cast<size_t>(sqlite3_value_int(argv[1]));
    std::string text;
    if (sqlite3_value_int(argv[3]) != 0)
        text = formatStyle(dateArgument(argv[0]), sqlite3_value_int(argv[2]));
    else
        text = numberText(argv[0]);
    setResult(ctx, Variant(utf8Left(text, length)));
}

// An operand of arithmetic: a text is read as a number, as SQL Server converts it.
Variant numberArgument(sqlite3_value *value)
{
    if (sqlite3_value_type(value) != SQLITE_TEXT)
        return valueOf(value);
    const std::string text = textOf(value);
    const auto n = parseNumber(text);
    if (!n)
        throw HostError("Conversion failed when converting the varchar value '" + text +
                        "' to data type int.");
    if (*n == std::trunc(*n) && std::fabs(*n) < 9.0e15)
        return Variant(static_cast<long long>(*n));
    return Variant(*n);
}

// + as SQL Server does it: texts join, numbers add, a text with a number is read as a number.
void addFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int a = sqlite3_value_type(argv[0]);
    const int b = sqlite3_value_type(argv[1]);
    if (a == SQLITE_TEXT && b == SQLITE_TEXT) {
        setResult(ctx, Variant(textOf(argv[0]) + textOf(argv[1])));
        return;
    }
    const Variant x = numberArgument(argv[0]);
    const Variant y = numberArgument(argv[1]);
    if (x.type() != VariantType::Long || y.type() != VariantType::Long) {
        setResult(ctx, Variant(CDbl(x) + CDbl(y)));
        return;
    }
    long long sum = 0;
    if (__builtin_add_overflow(x.longValue(), y.longValue(), &sum))
        throw HostError("Arithmetic overflow error converting expression to data type bigint.");
    setResult(ctx, Variant(sum));
}

// tsql_divide(a, b, kind) and tsql_modulo(a, b, kind) as SQL Server computes them: kind 1 for
// integer operands (the quotient truncates), 2 when a decimal or float takes part, 0 when the
// values decide. A zero divisor is an error, not NULL.
template <bool Modulo> void divideFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int typeX = sqlite3_value_type(argv[0]);
    const int typeY = sqlite3_value_type(argv[1]);
    if (typeX == SQLITE_NULL || typeY == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const int kind = sqlite3_value_int(argv[2]);
    const auto isNumber = [](int type) { return type == SQLITE_INTEGER || type == SQLITE_FLOAT; };
    // Quantities over coefficients, once a row in the count's fills: numbers need no Variant.
    if (isNumber(typeX) && isNumber(typeY) &&
        (kind == 2 || typeX == SQLITE_FLOAT || typeY == SQLITE_FLOAT)) {
        const double a = sqlite3_value_double(argv[0]);
        const double b = sqlite3_value_double(argv[1]);
        if (b == 0)
            throw HostError("Divide by zero error encountered.");
        const double result = Modulo ? std::fmod(a, b) : kind == 1 ? std::trunc(a / b) : a / b;
        if (!std::isfinite(result))
            throw HostError("Arithmetic overflow error converting expression to data type float.");
        sqlite3_result_double(ctx, result);
        return;
    }
    const Variant x = numberArgument(argv[0]);
    const Variant y = numberArgument(argv[1]);
    if (CDbl(y) == 0)
        throw HostError("Divide by zero error encountered.");
    const bool longs = x.type() == VariantType::Long && y.type() == VariantType::Long;
    if (longs && kind != 2) {
        const long long a = x.longValue();
        const long long b = y.longValue();
        if (a == std::numeric_limits<long long>::min() && b == -1)
            throw HostError("Arithmetic overflow error converting expression to data type "
                            "bigint.");
        setResult(ctx, Variant(Modulo ? a % b : a / b));
        return;
    }
    const double a = CDbl(x);
    const double b = CDbl(y);
    if (Modulo)
        setResult(ctx, Variant(std::fmod(a, b)));
    else
        setResult(ctx, Variant(kind == 1 ? std::trunc(a / b) : a / b));
}

[[noreturn]] void dateaddOverflow()
{
    throw HostError("Adding a value to a 'datetime' column caused an overflow.");
}

double addMonths(double serial, long long months)
{
    DateParts p = splitDate(serial);
    const long long total = static_cast<long long>(p.year) * 12 + (p.month - 1) + months;
    if (total < 0 || total / 12 > 9999)
        dateaddOverflow();
    p.year = static_cast<int>(total / 12);
    p.month = static_cast<int>(total % 12) + 1;
    if (p.month <= 0) {
        p.month += 12;
        --p.year;
    }
    p.day = std::min(p.day, daysInMonth(p.year, p.month));
    return makeDate(p);
}

void dateaddFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string part = textOf(argv[0]);
    const double count = std::trunc(sqlite3_value_double(argv[1]));
    if (!(count >= std::numeric_limits<std::int32_t>::min() &&
          count <= std::numeric_limits<std::int32_t>::max()))
        throw HostError("Arithmetic overflow error converting expression to data type int.");
    const auto n = static_cast<long long>(count);
    const double date = dateArgument(argv[2]);
    double result = date;
    if (part == "yy")
        result = addMonths(date, n * 12);
    else if (part == "qq")
        result = addMonths(date, n * 3);
    else if (part == "mm")
        result = addMonths(date, n);
    else if (part == "wk")
        result = date + static_cast<double>(n) * 7;
    else if (part == "dd" || part == "dy" || part == "dw")
        result = date + static_cast<double>(n);
    else if (part == "hh")
        result = date + static_cast<double>(n) / 24;
    else if (part == "mi")
        result = date + static_cast<double>(n) / 1440;
    else if (part == "ss")
        result = date + static_cast<double>(n) / 86400;
    else
        result = date + static_cast<double>(n) / 86400000;
    if (!inDatetimeRange(result))
        dateaddOverflow();
    setResult(ctx, Variant(dateToStoredText(result)));
}

long long unitIndex(double serial, std::string_view part)
{
    if (part == "yy" || part == "qq" || part == "mm") {
        const DateParts p = splitDate(serial);
        if (part == "yy")
            return p.year;
        if (part == "qq")
            return p.year * 4LL + (p.month - 1) / 3;
        return p.year * 12LL + p.month - 1;
    }
    const auto day = static_cast<long long>(std::floor(serial + 1e-9));
    if (part == "wk") // weeks end on Saturday whatever DATEFIRST says
        return static_cast<long long>(std::floor((static_cast<double>(day) - 1) / 7));
    if (part == "hh")
        return static_cast<long long>(std::floor(serial * 24 + 1e-7));
    if (part == "mi")
        return static_cast<long long>(std::floor(serial * 1440 + 1e-6));
    if (part == "ss")
        return static_cast<long long>(std::floor(serial * 86400 + 1e-4));
    if (part == "ms")
        return std::llround(serial * 86400000);
    return day;
}

void datediffFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const double a = dateArgument(argv[1]);
    const double b = dateArgument(argv[2]);
    const std::string_view part = textView(argv[0]);
    sqlite3_result_int64(ctx, unitIndex(b, part) - unitIndex(a, part));
}

// tsql_dayfrom(date, days, sign, after): the first day of a range of whole days as
// 'YYYY-MM-DD': the date's day plus sign * days, rounded up, or rounded down and the day after
// when after is 1. A day outside datetime's range gives a text before or after every date.
void dayfromFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (anyNull(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const double day = std::floor(dateArgument(argv[0]) + 1e-9) +
                       sqlite3_value_int(argv[2]) * sqlite3_value_double(argv[1]);
    const double first = sqlite3_value_int(argv[3]) != 0 ? std::floor(day) + 1 : std::ceil(day);
    std::string text;
    if (first < makeDate(1753, 1, 1))
        text = "1753-01-01";
    else if (first > makeDate(9999, 12, 31))
        text = "9999-12-32";
    else
        text = formatDate(first, "YYYY-MM-DD");
    sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// tsql_datekey(value): the text a date column holds for the date the value converts to, as
// every writer of the system stores it: empty for 1900-01-01, the day alone (YYYY-MM-DD) at
// midnight, else the date and time as stored.
void datekeyFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // A blank or a plain day, as count lines keep their dates, is its own key.
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        // Read as bytes: a bound text need not be copied to end in a NUL.
        const auto *bytes = static_cast<const char *>(sqlite3_value_blob(argv[0]));
        const std::string_view text(bytes ? bytes : "",
                                    static_cast<size_t>(sqlite3_value_bytes(argv[0])));
        if (const auto day = plainDay(text)) {
            // 1900-01-01 is kept blank; an empty view's null pointer would be taken for NULL.
            if (day->empty() || *day == "1900-01-01")
                sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
            else if (day->size() == text.size())
                sqlite3_result_value(ctx, argv[0]); // not copied when bound in place
            else
                sqlite3_result_text(ctx, day->data(), static_cast<int>(day->size()),
                                    SQLITE_TRANSIENT);
            return;
        }
    }
    constexpr std::string_view kFirstDay = "1900-01-01 00:00:00.000";
    constexpr std::string_view kMidnight = " 00:00:00.000";
    constexpr size_t kDay = 10;
    const std::string stored = dateToStoredText(dateArgument(argv[0]));
    std::string_view key = stored;
    if (key == kFirstDay)
        key = {};
    else if (key.substr(kDay) == kMidnight)
        key = key.substr(0, kDay);
    sqlite3_result_text(ctx, key.empty() ? "" : key.data(), static_cast<int>(key.size()),
                        SQLITE_TRANSIENT);
}

// tsql_samedate(text, value): 1 when the text reads as the same date and time as the value, as
// SQL Server reads it ('' is 1900-01-01, blanks around it and other layouts are taken), else 0;
// NULL when either is NULL. A text that is no date is no match rather than an error: it is
// another line's key, which the row lookup must not fail on.
void samedateFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const long long wanted = unitIndex(dateArgument(argv[1]), "ms");
    try {
        sqlite3_result_int(ctx, unitIndex(dateArgument(argv[0]), "ms") == wanted ? 1 : 0);
    } catch (const HostError &) {
        sqlite3_result_int(ctx, 0);
    }
}

void datepartFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string part = textOf(argv[0]);
    const double date = dateArgument(argv[1]);
    const int dateFirst = argc > 2 ? sqlite3_value_int(argv[2]) : 7;
    const DateParts p = splitDate(date);
    const auto day = static_cast<long long>(std::floor(date + 1e-9));
    const int isoWeekday = static_cast<int>(((day - 2) % 7 + 7) % 7) + 1; // Monday 1
    const int weekday = (isoWeekday - dateFirst + 7) % 7 + 1;
    long long result = 0;
    if (part == "yy")
        result = p.year;
    else if (part == "qq")
        result = (p.month - 1) / 3 + 1;
    else if (part == "mm")
        result = p.month;
    else if (part == "dd")
        result = p.day;
    else if (part == "dy")
        result = day - static_cast<long long>(makeDate(p.year, 1, 1)) + 1;
    else if (part == "dw")
        result = weekday;
    else if (part == "wk") {
        const auto jan1 = static_cast<long long>(makeDate(p.year, 1, 1));
        const int jan1Iso = static_cast<int>(((jan1 - 2) % 7 + 7) % 7) + 1;
        const int jan1Weekday = (jan1Iso - dateFirst + 7) % 7 + 1;
        result = (day - jan1 + jan1Weekday - 1) / 7 + 1;
    } else if (part == "hh")
        result = p.hour;
    else if (part == "mi")
        result = p.minute;
    else if (part == "ss")
        result = p.second;
    else
        result = p.millisecond;
    setResult(ctx, Variant(result));
}

std::string_view trimTrailing(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

void lenFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string text = numberText(argv[0]);
    setResult(ctx, Variant(static_cast<long long>(utf8Length(trimTrailing(text)))));
}

// tsql_datalength(value, national, bytes): the bytes SQL Server keeps the value in. A value of a
// fixed size (bytes > 0) takes its size; a text is measured in its code page, or in UTF-16 when
// national; a number of unknown type as an int, a bigint or a float.
void datalengthFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int kind = sqlite3_value_type(argv[0]);
    if (kind == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    constexpr long long kIntBytes = 4;
    constexpr long long kWideBytes = 8;
    long long bytes = sqlite3_value_int(argv[2]);
    if (bytes > 0) {
        sqlite3_result_int64(ctx, bytes);
        return;
    }
    if (kind == SQLITE_INTEGER) {
        const sqlite3_int64 n = sqlite3_value_int64(argv[0]);
        const bool isInt = n >= std::numeric_limits<std::int32_t>::min() &&
                           n <= std::numeric_limits<std::int32_t>::max();
        bytes = isInt ? kIntBytes : kWideBytes;
    } else if (kind == SQLITE_FLOAT) {
        bytes = kWideBytes;
    } else {
        const bool national = sqlite3_value_int(argv[1]) != 0;
        const std::string_view text(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                                    static_cast<size_t>(sqlite3_value_bytes(argv[0])));
        bytes = static_cast<long long>(textLength(text, national)) * (national ? 2 : 1);
    }
    sqlite3_result_int64(ctx, bytes);
}

void rightFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string text = numberText(argv[0]);
    const long long n = std::max<long long>(0, sqlite3_value_int64(argv[1]));
    const auto length = static_cast<long long>(utf8Length(text));
    if (n >= length) {
        setResult(ctx, Variant(text));
        return;
    }
    const std::string head = utf8Left(text, static_cast<size_t>(length - n));
    setResult(ctx, Variant(text.substr(head.size())));
}

// SQL Server's limit of a text that is not of a max type.
constexpr long long kMaxTextBytes = 8000;

// tsql_replicate(text, count, limit, national): the text count times, cut at limit (in the units
// of textLength) as SQL Server cuts a text that is not of a max type; limit -1 for a max type.
void replicateFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (anyNull(2, argv) || sqlite3_value_double(argv[1]) < 0) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string unit = numberText(argv[0]);
    const double count = std::trunc(sqlite3_value_double(argv[1]));
    const long long limit = sqlite3_value_int64(argv[2]);
    const bool national = sqlite3_value_int(argv[3]) != 0;
    std::string out;
    if (unit.empty()) {
        setResult(ctx, Variant(out));
        return;
    }
    double repeats = count;
    std::string_view tail;
    if (limit >= 0) {
        const size_t unitLength = std::max<size_t>(1, textLength(unit, national));
        const auto whole = static_cast<size_t>(limit) / unitLength;
        if (count > static_cast<double>(whole)) {
            repeats = static_cast<double>(whole);
            tail = cutText(unit, static_cast<size_t>(limit) - whole * unitLength, national);
        }
    } else {
        const int most = sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LENGTH, -1);
        if (count * static_cast<double>(unit.size()) > most)
            throw HostError("The embedded database does not support texts of more than " +
                            std::to_string(most) + " bytes.");
    }
    out.reserve(static_cast<size_t>(repeats) * unit.size() + tail.size());
    for (long long i = 0; i < static_cast<long long>(repeats); ++i)
        out += unit;
    out += tail;
    setResult(ctx, Variant(out));
}

// STR(number, length, decimals): right-aligned, '*' when it does not fit.
void strFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const double value = sqlite3_value_double(argv[0]);
    const double length = std::trunc(sqlite3_value_double(argv[1]));
    const int decimals = std::clamp(sqlite3_value_int(argv[2]), 0, 16);
    if (!(length > 0 && length <= kMaxTextBytes)) {
        sqlite3_result_null(ctx);
        return;
    }
    char buf[400];
    const auto written = std::to_chars(buf, buf + sizeof buf, roundDecimal(value, decimals),
                                       std::chars_format::fixed, decimals);
    std::string text(buf, written.ptr);
    if (static_cast<double>(text.size()) > length)
        text = std::string(static_cast<size_t>(length), '*');
    else
        text = std::string(static_cast<size_t>(length) - text.size(), ' ') + text;
    setResult(ctx, Variant(text));
}

void roundFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int digits = sqlite3_value_int(argv[1]);
    const bool truncate = sqlite3_value_int(argv[2]) != 0;
    if (sqlite3_value_numeric_type(argv[0]) == SQLITE_INTEGER && digits >= 0) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    }
    const double value = sqlite3_value_double(argv[0]);
    double result = 0;
    if (digits >= 0 && !truncate) {
        result = roundDecimal(value, digits);
    } else if (digits >= 0) {
        // Past 2^53 a double holds no fraction left to cut.
        const double factor = std::pow(10.0, std::min(digits, 300));
        const double scaled = value * factor;
        result = std::fabs(scaled) >= 9007199254740992.0 ? value : std::trunc(scaled) / factor;
    } else {
        // A negative length rounds to tens, hundreds, ...: ROUND(1250, -2) is 1300.
        const double unit = std::pow(10.0, std::min(-static_cast<long long>(digits), 300LL));
        result = (truncate ? std::trunc(value / unit) : roundDecimal(value / unit, 0)) * unit;
    }
    if (sqlite3_value_numeric_type(argv[0]) != SQLITE_INTEGER)
        sqlite3_result_double(ctx, result);
    else if (std::fabs(result) >= 9.2e18)
        sqlite3_result_error(ctx,
                             "Arithmetic overflow error converting expression to data type "
                             "bigint.",
                             -1);
    else
        sqlite3_result_int64(ctx, static_cast<long long>(result));
}

template <bool Floor> void floorFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int type = sqlite3_value_numeric_type(argv[0]);
    if (type == SQLITE_NULL) {
        sqlite3_result_null(ctx);
    } else if (type == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
    } else {
        const double v = sqlite3_value_double(argv[0]);
        sqlite3_result_double(ctx, Floor ? std::floor(v) : std::ceil(v));
    }
}

// An object name as OBJECT_ID takes it: "dbo.t", "[t]", "tempdb..#t".
std::string objectName(std::string name)
{
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name = name.substr(dot + 1);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    return name;
}

void objectIdFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string name = objectName(textOf(argv[0]));
    const bool temp = !name.empty() && name.front() == '#';
    sqlite::Statement stmt(sqlite3_context_db_handle(ctx),
                           temp ? "SELECT -rowid FROM temp.sqlite_master WHERE type IN "
                                  "('table','view') AND name = ?1 COLLATE NOCASE"
                                : "SELECT rowid FROM main.sqlite_master WHERE type IN "
                                  "('table','view') AND name = ?1 COLLATE NOCASE");
    stmt.bind(1, Variant(name));
    if (stmt.step())
        sqlite3_result_int64(ctx, sqlite3_column_int64(stmt.handle(), 0));
    else
        sqlite3_result_null(ctx);
}

void objectPropertyFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const long long id = sqlite3_value_int64(argv[0]);
    const std::string property = toLower(textOf(argv[1]));
    if (property != "istable" && property != "isview" && property != "isusertable") {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite::Statement stmt(sqlite3_context_db_handle(ctx),
                           id < 0 ? "SELECT type FROM temp.sqlite_master WHERE rowid = ?1"
                                  : "SELECT type FROM main.sqlite_master WHERE rowid = ?1");
    stmt.bind(1, Variant(id < 0 ? -id : id));
    if (!stmt.step()) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string type = reinterpret_cast<const char *>(sqlite3_column_text(stmt.handle(), 0));
    const bool match = property == "isview" ? type == "view" : type == "table";
    sqlite3_result_int(ctx, match ? 1 : 0);
}

int collate(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    return compareText(static_cast<const char *>(a), lengthA, static_cast<const char *>(b),
                       lengthB);
}

} // namespace

int compareText(const char *a, int lengthA, const char *b, int lengthB)
{
    const std::string_view x = trimTrailing(std::string_view(a, static_cast<size_t>(lengthA)));
    const std::string_view y = trimTrailing(std::string_view(b, static_cast<size_t>(lengthB)));
    const size_t n = std::min(x.size(), y.size());
    for (size_t i = 0; i < n; ++i) {
        const int cx = static_cast<unsigned char>(lowerAscii(x[i]));
        const int cy = static_cast<unsigned char>(lowerAscii(y[i]));
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    if (x.size() == y.size())
        return 0;
    return x.size() < y.size() ? -1 : 1;
}

void registerFunctions(sqlite3 *db)
{
    struct Function
    {
        const char *name;
        int args;
        SqlFunction fn;
        bool deterministic;
    };
    static constexpr Function functions[] = {
        // Marked deterministic so that SQLite reads the clock once per statement run, not per
        // row: SQL Server's GETDATE() is one value for the whole statement too.
        {"tsql_getdate", 0, guarded<getdateFunction>, true},
        {"tsql_datetime", 1, guarded<storeFunction<SqlType::DateTime>>, true},
        {"tsql_int", -1, guarded<storeFunction<SqlType::Int>>, true},
        {"tsql_bit", 1, guarded<storeFunction<SqlType::Bit>>, true},
        {"tsql_float", 1, guarded<storeFunction<SqlType::Real>>, true},
        {"tsql_decimal", -1, guarded<storeFunction<SqlType::Decimal>>, true},
        {"tsql_text", -1, guarded<storeFunction<SqlType::Text>>, true},
        {"tsql_varchar", 4, guarded<varcharFunction>, true},
        {"tsql_add", 2, guarded<addFunction>, true},
        {"tsql_divide", 3, guarded<divideFunction<false>>, true},
        {"tsql_modulo", 3, guarded<divideFunction<true>>, true},
        {"tsql_dateadd", 3, guarded<dateaddFunction>, true},
        {"tsql_datediff", 3, guarded<datediffFunction>, true},
        {"tsql_dayfrom", 4, guarded<dayfromFunction>, true},
        {"tsql_datekey", 1, guarded<datekeyFunction>, true},
        {"tsql_samedate", 2, guarded<samedateFunction>, true},
        {"tsql_datepart", 3, guarded<datepartFunction>, true},
        {"tsql_len", 1, guarded<lenFunction>, true},
        {"tsql_datalength", 3, guarded<datalengthFunction>, true},
        {"tsql_right", 2, guarded<rightFunction>, true},
        {"tsql_replicate", 4, guarded<replicateFunction>, true},
        {"tsql_str", 3, guarded<strFunction>, true},
        {"tsql_round", 3, guarded<roundFunction>, true},
        {"tsql_floor", 1, guarded<floorFunction<true>>, true},
        {"tsql_ceiling", 1, guarded<floorFunction<false>>, true},
        {"tsql_object_id", 1, guarded<objectIdFunction>, false},
        {"tsql_objectproperty", 2, guarded<objectPropertyFunction>, false},
    };
    for (const auto &f : functions) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        sqlite::check(db, sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn,
                                                     nullptr, nullptr, nullptr));
    }
    sqlite::check(db,
                  sqlite3_create_collation_v2(db, "TSQL", SQLITE_UTF8, nullptr, collate, nullptr));
    sqlite::check(db, sqlite3_exec(db,
                                   "CREATE TEMP VIEW IF NOT EXISTS sysobjects AS "
                                   "SELECT rowid AS id, name COLLATE TSQL AS name, "
                                   "CASE type WHEN 'table' THEN 'U' ELSE 'V' END AS xtype "
                                   "FROM main.sqlite_master WHERE type IN ('table','view') "
                                   "UNION ALL SELECT -rowid, name, "
                                   "CASE type WHEN 'table' THEN 'U' ELSE 'V' END "
                                   "FROM temp.sqlite_master WHERE type IN ('table','view')",
                                   nullptr, nullptr, nullptr));
}

} // namespace host::tsql
