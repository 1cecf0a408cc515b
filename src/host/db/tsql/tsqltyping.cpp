#include "host/db/tsql/tsqlparser.h"

#include "host/core/sqltext.h"

#include <algorithm>

namespace host::tsql {

namespace {

constexpr std::string_view kReserved[] = {
    ("FROM"), "WHERE",  "GROUP",    "ORDER", "HAVING",  "UNION",     "EXCEPT", "INTERSECT",
    "INTO",   "ON",     "JOIN",     "INNER", "LEFT",    "RIGHT",     "FULL",   "CROSS",
    "OUTER",  "SET",    "WITH",     "AS",    "AND",     "OR",        "NOT",    "SELECT",
    "INSERT", "UPDATE", "DELETE",   "IF",    "ELSE",    "BEGIN",     "END",    "DECLARE",
    "CREATE", "DROP",   "TRUNCATE", "EXEC",  "EXECUTE", "RAISERROR", "COMMIT", "ROLLBACK",
    "VALUES", "WHEN",   "THEN",     "CASE",  "IS",      "IN",        "LIKE",   "BETWEEN",
    "OPTION", "PRINT",  "RETURN",   "BY",    "ASC",     "DESC",      "NULL"};

// Digits and decimals of an operand of decimal arithmetic: integers count as decimal(10,0).
std::pair<int, int> decimalShape(const ColumnType &t)
{
    switch (t.type) {
    case SqlType::Decimal:
        return {t.precision < 0 ? 18 : t.precision, std::max(t.scale, 0)};
    case SqlType::Int:
        return {10, 0};
    default:
        return {1, 0};
    }
}

// The type SQL Server gives the result of a decimal operation: digits beyond 38 are taken from
// the decimals, keeping at least 6 of them.
ColumnType limitedDecimal(int precision, int scale)
{
    if (precision <= kMaxPrecision)
        return decimalType(precision, scale);
    const int whole = precision - scale;
    return decimalType(kMaxPrecision, std::max(kMaxPrecision - whole, std::min(scale, 6)));
}

// Whole digits a value of this type can have; -1 when unknown.
int wholeDigits(const ColumnType &t)
{
    switch (t.type) {
    case SqlType::Bit:
        return 1;
    case SqlType::Int:
        return t.length == 1 ? 3 : t.length == 2 ? 5 : t.length == 4 ? 10 : 19;
    case SqlType::Decimal:
        return t.precision < 0 || t.scale < 0 ? -1 : t.precision - t.scale;
    default:
        return -1;
    }
}

} // namespace

ColumnType typeOf(SqlType type, int scale)
{
    ColumnType t;
    t.type = type;
    t.scale = scale;
    return t;
}

ColumnType decimalType(int precision, int scale)
{
    ColumnType t = typeOf(SqlType::Decimal, scale);
    t.precision = precision;
    return t;
}

// The result type of a + - * / % b: float wins, then decimal (with SQL Server's precision and
// scale), then integer.
ColumnType arithmeticType(const ColumnType &a, const ColumnType &b, char op)
{
    if (a.type == SqlType::Real || b.type == SqlType::Real)
        return typeOf(SqlType::Real);
    if (a.type != SqlType::Decimal && b.type != SqlType::Decimal) {
        if (isNumericType(a.type) && isNumericType(b.type))
            return typeOf(SqlType::Int);
        return {};
    }
    const auto [p1, s1] = decimalShape(a);
    const auto [p2, s2] = decimalShape(b);
    switch (op) {
    case '*':
        return limitedDecimal(p1 + p2 + 1, s1 + s2);
    case '/': {
        const int scale = std::max(6, s1 + p2 + 1);
        return limitedDecimal(p1 - s1 + s2 + scale, scale);
    }
    case '%': {
        const int scale = std::max(s1, s2);
        return decimalType(std::min(p1 - s1, p2 - s2) + scale, scale);
    }
    default: {
        // + and -: the whole digits keep their room, the decimals give way.
        const int whole = std::max(p1 - s1, p2 - s2);
        const int scale = std::max(s1, s2);
        if (scale + whole + 1 <= kMaxPrecision)
            return decimalType(scale + whole + 1, scale);
        return decimalType(kMaxPrecision, std::max(0, std::min(scale, kMaxPrecision - whole)));
    }
    }
}

// The type of CASE and COALESCE over branches of these types.
ColumnType commonType(const ColumnType &a, const ColumnType &b)
{
    if (a.type == SqlType::Unknown)
        return b;
    if (b.type == SqlType::Unknown || !isNumericType(a.type) || !isNumericType(b.type))
        return a;
    if (a.type == SqlType::Real || b.type == SqlType::Real)
        return typeOf(SqlType::Real);
    if (a.type == SqlType::Decimal || b.type == SqlType::Decimal) {
        const auto [p1, s1] = decimalShape(a);
        const auto [p2, s2] = decimalShape(b);
        const int scale = std::max(s1, s2);
        return decimalType(std::min(kMaxPrecision, std::max(p1 - s1, p2 - s2) + scale), scale);
    }
    return a.type == SqlType::Int ? a : b;
}

// Decimal results are held to their scale, as SQL Server's exact arithmetic gives them: a
// difference that is zero in decimals is zero, not a trace of binary floating point. A float
// result that overflows is an error, as it is on SQL Server, never an infinity.
NumericHold numericHold(const ColumnType &type)
{
    if (type.type == SqlType::Decimal)
        return {"tsql_decimal(", "," + std::to_string(type.scale) + ")", true};
    if (type.type == SqlType::Real)
        return {"tsql_float(", ")", false};
    return {};
}

Expr numericResult(std::string sql, const ColumnType &type)
{
    const NumericHold hold = numericHold(type);
    if (hold.open.empty())
        return {std::move(sql), type, {}};
    Expr e{hold.open + sql + hold.close, type, {}};
    if (hold.rounds)
        e.unrounded = std::move(sql);
    return e;
}

// How tsql_divide and tsql_modulo treat their operands: 1 integers (the quotient truncates),
// 2 exact or approximate numbers, 0 decided by the values (types unknown here).
int divisionKind(const ColumnType &a, const ColumnType &b)
{
    const auto integral = [](SqlType t) { return t == SqlType::Int || t == SqlType::Bit; };
    const auto fractional = [](SqlType t) { return t == SqlType::Decimal || t == SqlType::Real; };
    if (integral(a.type) && integral(b.type))
        return 1;
    if (fractional(a.type) || fractional(b.type))
        return 2;
    return 0;
}

// A value whose type may not fit the target (a wider integer, more whole digits, a longer text)
// goes through the conversion, which refuses it when it does not.
bool storesUnchanged(const ColumnType &from, const ColumnType &target)
{
    switch (target.type) {
    case SqlType::Int:
        return from.type == SqlType::Bit ||
               (from.type == SqlType::Int && from.length > 0 && from.length <= target.length);
    case SqlType::Bit:
        return from.type == SqlType::Bit;
    case SqlType::Real:
        return isNumericType(from.type);
    case SqlType::Decimal: {
        const bool exact =
            from.type == SqlType::Int || from.type == SqlType::Bit ||
            (from.type == SqlType::Decimal && from.scale >= 0 && from.scale <= target.scale);
        const int whole = wholeDigits(from);
        return exact && whole >= 0 && whole <= target.precision - target.scale;
    }
    case SqlType::Text:
        if (target.length < 0)
            return from.type == SqlType::Text;
        return from.type == SqlType::Text && from.length >= 0 &&
               (from.national && !target.national ? 2 : 1) * from.length <= target.length;
    case SqlType::DateTime:
        return from.type == SqlType::DateTime;
    case SqlType::Unknown:
        break;
    }
    return true;
}

namespace {

// storeAs, or convertAs without a column.
std::string conversion(const Expr &e, const ColumnType &target, const StoreTarget *column)
{
    if (storesUnchanged(e.type, target))
        return e.sql;
    switch (target.type) {
    case SqlType::Int:
        return "tsql_int(" + e.sql + "," + std::to_string(target.length) + ")";
    case SqlType::Bit:
        return "tsql_bit(" + e.sql + ")";
    case SqlType::Real:
        return "tsql_float(" + e.sql + ")";
    case SqlType::Decimal: {
        // A result already rounded to the target's scale is rounded there once, not twice.
        const std::string scale = std::to_string(target.scale);
        const bool rounded = !e.unrounded.empty() && e.type.scale == target.scale &&
                             e.sql == "tsql_decimal(" + e.unrounded + "," + scale + ")";
        return "tsql_decimal(" + (rounded ? e.unrounded : e.sql) + "," + scale + "," +
               std::to_string(target.precision) + ")";
    }
    case SqlType::Text: {
        if (target.length < 0)
            return "tsql_text(" + e.sql + ")";
        std::string sql = "tsql_text(" + e.sql + "," + std::to_string(target.length) + "," +
                          (target.national ? "1" : "0");
        if (column)
            sql += "," + sqlString(column->table) + "," + sqlString(column->column);
        return sql + ")";
    }
    case SqlType::DateTime:
        return "tsql_datetime(" + e.sql + ")";
    case SqlType::Unknown:
        break;
    }
    return e.sql;
}

} // namespace

std::string storeAs(const Expr &e, const ColumnType &target, const StoreTarget &column)
{
    return conversion(e, target, &column);
}

std::string convertAs(const Expr &e, const ColumnType &target)
{
    return conversion(e, target, nullptr);
}

Expr branchAs(const Expr &branch, const ColumnType &whole)
{
    if (whole.type != SqlType::DateTime || branch.type.type == SqlType::DateTime ||
        branch.sql == "NULL")
        return branch;
    return {convertAs(branch, whole), whole, {}};
}

std::string declarationFor(const ColumnType &type)
{
    switch (type.type) {
    case SqlType::Int:
        return type.length == 8 ? "bigint" : "int";
    case SqlType::Bit:
        return sqliteDeclaration("bit", type);
    case SqlType::Real:
        return "float";
    case SqlType::Decimal: {
        const std::string declared =
            "decimal(" + std::to_string(type.precision) + "," + std::to_string(type.scale) + ")";
        return sqliteDeclaration(declared, type);
    }
    case SqlType::Text:
        // Unbounded: a literal's length must not limit the texts later written to the table.
        return sqliteDeclaration("varchar", typeOf(SqlType::Text));
    case SqlType::DateTime:
        return sqliteDeclaration("datetime", type);
    case SqlType::Unknown:
        break;
    }
    return {};
}

bool isTempName(std::string_view name)
{
    return !name.empty() && name.front() == '#';
}

bool isReserved(const Token &t)
{
    if (t.kind != TokenKind::Word)
        return false;
    return std::find(std::begin(kReserved), std::end(kReserved), t.upper) != std::end(kReserved);
}

} // namespace host::tsql
