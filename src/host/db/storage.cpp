#include "host/db/storage.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace host {

namespace {

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
        t.length = first;
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
        return name + " TEXT" + (type.length >= 0 ? "(" + std::to_string(type.length) + ")" : "") +
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
    double factor = std::pow(10.0, scale);
    double scaled = value * factor;
    if (std::fabs(scaled) >= kSignificant) {
        const int whole = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
        factor = std::pow(10.0, std::max(0, std::min(scale, 15 - whole)));
        scaled = value * factor;
    }
    // A decimal typed as 1.005 is held as 1.00499999...; the nudge rounds it as written.
    const double nudge = std::copysign(std::fabs(scaled) * 1e-15, scaled);
    const double rounded = std::round(scaled + nudge) / factor;
    return rounded == 0 ? 0.0 : rounded;
}

std::string dateToStoredText(double serial)
{
    return formatDate(serial, "YYYY-MM-DD HH:NN:SS.FFF");
}

double storedTextToDate(std::string_view text)
{
    const std::string trimmed = Trim(text);
    if (trimmed.empty())
        return makeDate(1900, 1, 1);
    if (const auto serial = parseDate(trimmed))
        return *serial;
    throw HostError("Conversion failed when converting date and/or time from character string.");
}

Variant toStored(const Variant &value, const ColumnType &type)
{
    if (value.isNull() || value.isEmpty())
        return Variant::null();
    switch (type.type) {
    case SqlType::Int: {
        if (value.type() == VariantType::Long)
            return value;
        const double n = numberOf(value, "int");
        if (value.type() == VariantType::String && n != std::trunc(n))
            conversionFailed(value, "int");
        return Variant(static_cast<long long>(std::trunc(n)));
    }
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
        return Variant(numberOf(value, "float"));
    case SqlType::Decimal:
        return Variant(roundDecimal(numberOf(value, "numeric"), type.scale));
    case SqlType::Text:
        switch (value.type()) {
        case VariantType::String:
            return value;
        case VariantType::Boolean:
            return Variant(value.boolValue() ? "1" : "0");
        case VariantType::Date:
            return Variant(dateToStoredText(value.dateValue()));
        default:
            return Variant(CStr(value));
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
    if (value.type() == VariantType::Date)
        return Variant(dateToStoredText(value.dateValue()));
    if (value.type() == VariantType::Boolean)
        return Variant(value.boolValue() ? 1 : 0);
    return value;
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
