#include "host/db/tsql/tsqlparser.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/text.h"

#include <algorithm>
#include <array>

namespace host::tsql {

namespace {

std::string datePartName(const Token &t)
{
    static const std::array<std::pair<std::string_view, std::string_view>, 22> parts = {{
        {"YEAR", "yy"}, {"YY", "yy"},    {"YYYY", "yy"}, {"QUARTER", "qq"}, {"QQ", "qq"},
        {"Q", "qq"},    {"MONTH", "mm"}, {"MM", "mm"},   {"M", "mm"},       {"DAYOFYEAR", "dy"},
        {"DY", "dy"},   {"Y", "dy"},     {"DAY", "dd"},  {"DD", "dd"},      {"D", "dd"},
        {"WEEK", "wk"}, {"WK", "wk"},    {"WW", "wk"},   {"WEEKDAY", "dw"}, {"DW", "dw"},
        {"HOUR", "hh"}, {"HH", "hh"},
    }};
    static const std::array<std::pair<std::string_view, std::string_view>, 8> timeParts = {{
        {"MINUTE", "mi"},
        {"MI", "mi"},
        {"N", "mi"},
        {"SECOND", "ss"},
        {"SS", "ss"},
        {"S", "ss"},
        {"MILLISECOND", "ms"},
        {"MS", "ms"},
    }};
    if (t.kind == TokenKind::Word || t.kind == TokenKind::String) {
        const std::string key = toUpper(t.text);
        for (const auto &[name, code] : parts) {
            if (key == name)
                return std::string(code);
        }
        for (const auto &[name, code] : timeParts) {
            if (key == name)
                return std::string(code);
        }
    }
    throw HostError("'" + t.text + "' is not a datepart option the embedded database supports.");
}

using Args = std::vector<Expr>;

std::string joinArgs(const Args &args)
{
    std::string out;
    for (const auto &a : args)
        out += (out.empty() ? "" : ",") + a.sql;
    return out;
}

bool isDateColumn(const Expr &e)
{
    return !e.name.empty() && e.type.type == SqlType::DateTime;
}

std::shared_ptr<const DayDifference> dayDifference(const Expr &from, const Expr &to)
{
    if (from.constant && isDateColumn(to))
        return std::make_shared<const DayDifference>(DayDifference{from.sql, to.sql, true});
    if (to.constant && isDateColumn(from))
        return std::make_shared<const DayDifference>(DayDifference{to.sql, from.sql, false});
    return nullptr;
}

Expr call(std::string_view fn, const Args &args, const ColumnType &type)
{
    return {std::string(fn) + "(" + joinArgs(args) + ")", type, {}};
}

ColumnType text()
{
    return typeOf(SqlType::Text);
}

ColumnType integer()
{
    return typeOf(SqlType::Int);
}

Expr datePart(std::string_view part, const Expr &date)
{
    return {"tsql_datepart('" + std::string(part) + "'," + date.sql + ",7)", integer(), {}};
}

Expr trimOrCase(std::string_view fn, const Expr &value)
{
    return {std::string(fn) + "(tsql_text(" + value.sql + "))", text(), {}};
}

Expr isNull(const Args &a)
{
    const bool firstUntyped = a[0].type.type == SqlType::Unknown;
    const ColumnType type = firstUntyped ? a[1].type : a[0].type;
    const std::string fallback = firstUntyped ? a[1].sql : convertAs(a[1], type);
    return {"ifnull(" + a[0].sql + "," + fallback + ")", type, {}};
}

Expr coalesce(const Args &a)
{
    ColumnType type;
    for (const auto &arg : a)
        type = commonType(type, arg.type);
    Args branches;
    for (const auto &arg : a)
        branches.push_back(branchAs(arg, type));
    return call("coalesce", branches, type);
}

Expr str(const Args &a)
{
    std::string sql = "tsql_str(" + a[0].sql;
    sql += "," + (a.size() > 1 ? a[1].sql : std::string("10"));
    sql += "," + (a.size() > 2 ? a[2].sql : std::string("0")) + ")";
    return {sql, text(), {}};
}

// A text repeated: at most 8,000 bytes, or 4,000 characters of an nvarchar, unless the text
// is of a max type.
Expr replicate(const Expr &unit, const Expr &count, bool national, bool max)
{
    ColumnType type = text();
    type.national = national;
    type.max = max;
    const std::string limit =
        max ? "-1" : std::to_string(national ? kMaxNationalLength : kMaxTextLength);
    return {"tsql_replicate(" + unit.sql + "," + count.sql + "," + limit + "," +
                (national ? "1" : "0") + ")",
            type,
            {}};
}

// The bytes SQL Server keeps a value in: a number or a date by its type, a text by its
// characters in the code page, or in UTF-16 for an nvarchar.
Expr dataLength(const Args &a)
{
    const ColumnType &t = a[0].type;
    int bytes = 0;
    switch (t.type) {
    case SqlType::Int:
        bytes = t.length > 0 ? t.length : 4;
        break;
    case SqlType::Bit:
        bytes = 1;
        break;
    case SqlType::Real:
    case SqlType::DateTime:
        bytes = 8;
        break;
    case SqlType::Decimal: {
        const int precision = t.precision < 0 ? 18 : t.precision;
        bytes = precision <= 9 ? 5 : precision <= 19 ? 9 : precision <= 28 ? 13 : 17;
        break;
    }
    case SqlType::Text:
    case SqlType::Unknown:
        break;
    }
    return {"tsql_datalength(" + a[0].sql + "," + (t.national ? "1" : "0") + "," +
                std::to_string(bytes) + ")",
            integer(),
            {}};
}

Expr round(const Args &a)
{
    if (a.size() == 3)
        return call("tsql_round", a, a[0].type);
    return {"tsql_round(" + joinArgs(a) + ",0)", a[0].type, {}};
}

// The functions whose arguments are all expressions: name, argument count, and the SQLite
// call with its result type.
struct Builtin
{
    std::string_view name;
    size_t minArgs;
    size_t maxArgs;
    Expr (*build)(const Args &args);
};

constexpr Builtin kBuiltins[] = {
    {"ABS", 1, 1, [](const Args &a) { return call("abs", a, a[0].type); }},
    {"CEILING", 1, 1, [](const Args &a) { return call("tsql_ceiling", a, a[0].type); }},
    {"CHARINDEX", 2, 2,
     [](const Args &a) {
         return Expr{"instr(" + a[1].sql + "," + a[0].sql + ")", integer(), {}};
     }},
    {"COALESCE", 1, 100, coalesce},
    {"DATALENGTH", 1, 1, dataLength},
    {"DAY", 1, 1, [](const Args &a) { return datePart("dd", a[0]); }},
    {"FLOOR", 1, 1, [](const Args &a) { return call("tsql_floor", a, a[0].type); }},
    {"GETDATE", 0, 0,
     [](const Args &a) { return call("tsql_getdate", a, typeOf(SqlType::DateTime)); }},
    {"GETUTCDATE", 0, 0,
     [](const Args &a) { return call("tsql_getdate", a, typeOf(SqlType::DateTime)); }},
    {"ISNULL", 2, 2, isNull},
    {"LEFT", 2, 2,
     [](const Args &a) {
         return Expr{"substr(" + a[0].sql + ",1," + a[1].sql + ")", text(), {}};
     }},
    {"LEN", 1, 1, [](const Args &a) { return call("tsql_len", a, integer()); }},
    {"LOWER", 1, 1, [](const Args &a) { return trimOrCase("LOWER", a[0]); }},
    {"LTRIM", 1, 1, [](const Args &a) { return trimOrCase("LTRIM", a[0]); }},
    {"MONTH", 1, 1, [](const Args &a) { return datePart("mm", a[0]); }},
    {"NULLIF", 2, 2, [](const Args &a) { return call("nullif", a, a[0].type); }},
    {"OBJECTPROPERTY", 2, 2,
     [](const Args &a) { return call("tsql_objectproperty", a, integer()); }},
    {"OBJECT_ID", 1, 2,
     [](const Args &a) {
         return Expr{"tsql_object_id(" + a[0].sql + ")", integer(), {}};
     }},
    {"REPLACE", 3, 3, [](const Args &a) { return call("replace", a, text()); }},
    {"REPLICATE", 2, 2,
     [](const Args &a) { return replicate(a[0], a[1], a[0].type.national, a[0].type.max); }},
    {"RIGHT", 2, 2, [](const Args &a) { return call("tsql_right", a, text()); }},
    {"ROUND", 2, 3, round},
    {"RTRIM", 1, 1, [](const Args &a) { return trimOrCase("RTRIM", a[0]); }},
    {"SCOPE_IDENTITY", 0, 0, [](const Args &a) { return call("last_insert_rowid", a, integer()); }},
    {"SIGN", 1, 1, [](const Args &a) { return call("sign", a, a[0].type); }},
    {"SPACE", 1, 1,
     [](const Args &a) {
         return replicate({"' '", text(), {}}, a[0], false, false);
     }},
    {"STR", 1, 3, str},
    {"SUBSTRING", 3, 3, [](const Args &a) { return call("substr", a, text()); }},
    {"SYSDATETIME", 0, 0,
     [](const Args &a) { return call("tsql_getdate", a, typeOf(SqlType::DateTime)); }},
    {"UPPER", 1, 1, [](const Args &a) { return trimOrCase("UPPER", a[0]); }},
    {"YEAR", 1, 1, [](const Args &a) { return datePart("yy", a[0]); }},
};

Expr convert(const Expr &value, const std::string &type, const std::string &style)
{
    const ColumnType target = parseColumnType(type);
    switch (target.type) {
    case SqlType::Text: {
        if (value.type.type == SqlType::Text && target.length < 0)
            return {value.sql, target, {}};
        const int length = target.length < 0 ? 30 : target.length;
        return {"tsql_varchar(" + value.sql + "," + std::to_string(length) + "," +
                    (style.empty() ? "0" : style) + "," +
                    (value.type.type == SqlType::DateTime ? "1" : "0") + ")",
                target,
                {}};
    }
    case SqlType::Unknown:
        throw HostError("Type " + type + " is not a system type the embedded database supports.");
    default: {
        Expr stored{convertAs(value, target), target, {}};
        if (stored.sql == value.sql && target.type == SqlType::Decimal)
            stored.sql = "tsql_decimal(" + value.sql + "," + std::to_string(target.scale) + ")";
        if (target.type == SqlType::DateTime && value.type.type == SqlType::Text &&
            !value.name.empty())
            stored.datedText = value.sql;
        return stored;
    }
    }
}

} // namespace

// Reads a type name with its arguments: "decimal(28,10)", "varchar(max)".
std::string Translator::Impl::typeText()
{
    std::string text = nameToken();
    if (accept("(")) {
        text += "(";
        for (bool first = true; !accept(")"); first = false) {
            if (!first) {
                expect(",");
                text += ",";
            }
            const Token &arg = advance();
            if (arg.kind != TokenKind::Number && !arg.is("MAX"))
                syntaxError();
            text += arg.text;
        }
        text += ")";
    }
    return text;
}

// The functions whose first argument is a keyword or a type, and the aggregates, read their
// own arguments; the others take a list of expressions.
Expr Translator::Impl::parseFunction(const Scope *scope)
{
    using Form = Expr (Impl::*)(const Token &name, const Scope *scope);
    static constexpr std::pair<std::string_view, Form> kForms[] = {
        {"AVG", &Impl::aggregateFunction},   {"CAST", &Impl::castFunction},
        {"CONVERT", &Impl::convertFunction}, {"COUNT", &Impl::aggregateFunction},
        {"DATEADD", &Impl::dateFunction},    {"DATEDIFF", &Impl::dateFunction},
        {"DATEPART", &Impl::dateFunction},   {"MAX", &Impl::aggregateFunction},
        {"MIN", &Impl::aggregateFunction},   {"SUM", &Impl::aggregateFunction},
    };
    const Token &name = advance();
    expect("(");
    for (const auto &[formName, form] : kForms) {
        if (name.upper == formName)
            return (this->*form)(name, scope);
    }
    const Args args = arguments(scope);
    for (const auto &builtin : kBuiltins) {
        if (name.upper != builtin.name)
            continue;
        if (args.size() < builtin.minArgs || args.size() > builtin.maxArgs)
            throw HostError("The " + name.text + " function has the wrong number of arguments.");
        return builtin.build(args);
    }
    throw HostError("'" + name.text +
                    "' is not a built-in function the embedded database supports.");
}

Expr Translator::Impl::dateFunction(const Token &name, const Scope *scope)
{
    const std::string part = sqlString(datePartName(advance()));
    expect(",");
    const Args rest = arguments(scope);
    if (name.is("DATEADD") && rest.size() == 2)
        return {"tsql_dateadd(" + part + "," + joinArgs(rest) + ")", typeOf(SqlType::DateTime), {}};
    if (name.is("DATEDIFF") && rest.size() == 2) {
        Expr e{"tsql_datediff(" + part + "," + joinArgs(rest) + ")", integer(), {}};
        if (part == "'dd'")
            e.days = dayDifference(rest[0], rest[1]);
        return e;
    }
    if (name.is("DATEPART") && rest.size() == 1)
        return {"tsql_datepart(" + part + "," + rest[0].sql + "," +
                    std::to_string(m_session.dateFirst) + ")",
                integer(),
                {}};
    throw HostError("The " + name.text + " function requires " + (name.is("DATEPART") ? "2" : "3") +
                    " arguments.");
}

Expr Translator::Impl::convertFunction(const Token &, const Scope *scope)
{
    const std::string type = typeText();
    expect(",");
    const Expr value = parseExpression(scope);
    std::string style;
    if (accept(",")) {
        const Token &s = advance();
        if (s.kind != TokenKind::Number)
            syntaxError();
        style = s.text;
    }
    expect(")");
    return convert(value, type, style);
}

Expr Translator::Impl::castFunction(const Token &, const Scope *scope)
{
    const Expr value = parseExpression(scope);
    expectWord("AS");
    const std::string type = typeText();
    expect(")");
    return convert(value, type, {});
}

Expr Translator::Impl::aggregateFunction(const Token &nameToken, const Scope *scope)
{
    const std::string &name = nameToken.upper;
    std::string prefix;
    if (acceptWord("DISTINCT"))
        prefix = "DISTINCT ";
    else
        acceptWord("ALL");
    if (name == "COUNT" && accept("*")) {
        expect(")");
        return {"count(*)", integer(), {}};
    }
    const Expr arg = parseExpression(scope);
    expect(")");
    ColumnType type = arg.type;
    if (name == "COUNT")
        type = integer();
    else if (name == "AVG" && arg.type.type == SqlType::Decimal)
        type = decimalType(kMaxPrecision, std::max(arg.type.scale, 6));
    else if (name == "AVG" && type.type != SqlType::Int)
        type = typeOf(SqlType::Real);
    else if (name == "SUM" && arg.type.type == SqlType::Decimal)
        type = decimalType(kMaxPrecision, arg.type.scale);
    if (name == "AVG" && arg.type.type == SqlType::Int)
        return {"CAST(avg(" + prefix + arg.sql + ") AS INTEGER)", type, {}};
    if (name == "SUM" || name == "AVG")
        return numericResult(name + "(" + prefix + arg.sql + ")", type);
    return {name + "(" + prefix + arg.sql + ")", type, {}};
}

namespace {

// A number that stays the same through the statement: a literal or a variable.
bool constantNumber(const Expr &e)
{
    const SqlType t = e.type.type;
    if (t != SqlType::Int && t != SqlType::Decimal && t != SqlType::Real)
        return false;
    return e.constant || e.literal >= 0 ||
           (!e.sql.empty() && std::all_of(e.sql.begin(), e.sql.end(), [](char c) {
               return (c >= '0' && c <= '9') || c == '.';
           }));
}

} // namespace

// The column's days against the constant's days plus (or, with the column first, minus) the
// number; a day d is in the range from day f when the column is at least f's 'YYYY-MM-DD',
// which sorts before every time of that day as stored.
std::optional<std::string> dayRange(const Expr &left, std::string_view op, const Expr &right)
{
    if (!left.days || !constantNumber(right))
        return std::nullopt;
    const DayDifference &d = *left.days;
    std::string_view dayOp = op;
    if (!d.columnLast)
        dayOp = op == "<" ? ">" : op == ">" ? "<" : op == "<=" ? ">=" : op == ">=" ? "<=" : op;
    const auto from = [&](bool after) {
        return "tsql_dayfrom(" + d.constant + "," + right.sql + "," +
               (d.columnLast ? "1," : "-1,") + (after ? "1)" : "0)");
    };
    const std::string &c = d.column;
    if (dayOp == "<=")
        return c + " < " + from(true);
    if (dayOp == "<")
        return c + " < " + from(false);
    if (dayOp == ">=")
        return c + " >= " + from(false);
    if (dayOp == ">")
        return c + " >= " + from(true);
    if (dayOp == "=")
        return "(" + c + " >= " + from(false) + " AND " + c + " < " + from(true) + ")";
    return "(" + c + " < " + from(false) + " OR " + c + " >= " + from(true) + ")";
}

std::optional<std::string> storedDateMatch(const Expr &left, std::string_view op, const Expr &right)
{
    const auto constant = [](const Expr &e) { return e.constant || e.literal >= 0; };
    if (op != "=")
        return std::nullopt;
    const auto match = [](const std::string &column, const std::string &value) {
        return "(" + column + " = tsql_datekey(" + value + ") OR tsql_samedate(" + column + "," +
               value + "))";
    };
    if (!left.datedText.empty() && constant(right))
        return match(left.datedText, right.sql);
    if (!right.datedText.empty() && constant(left))
        return match(right.datedText, left.sql);
    return std::nullopt;
}

} // namespace host::tsql
