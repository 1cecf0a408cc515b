#include "host/db/tsqltranslator.h"

#include "host/core/hosterror.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <optional>

namespace host::tsql {

namespace {

struct Expr
{
    std::string sql;
    ColumnType type;
    std::string name;      // output name of a plain column reference
    bool constant = false; // a literal or a variable
};

struct ScopeTable
{
    std::string alias;
    std::string table; // empty for a derived table
    std::vector<OutputColumn> columns;
};

struct Scope
{
    std::vector<ScopeTable> tables;
    const Scope *outer = nullptr;
};

struct FromItem
{
    std::string join; // "" for the first item, "," or "INNER JOIN", "LEFT JOIN", ...
    std::string source;
    std::string alias;
    std::string table;
    std::string on;
};

struct SelectInfo
{
    std::string sql;
    std::vector<OutputColumn> columns;
    std::vector<std::string> itemSql; // of the first SELECT, to match a compound ORDER BY
    std::vector<std::string> assignTargets;
    std::string intoTable;
};

ColumnType typeOf(SqlType type, int scale = -1)
{
    ColumnType t;
    t.type = type;
    t.scale = scale;
    return t;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::string quoteName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string quoteText(std::string_view text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    return out + "'";
}

bool isTempName(std::string_view name)
{
    return !name.empty() && name.front() == '#';
}

constexpr std::string_view kReserved[] = {
    ("FROM"), "WHERE",  "GROUP",    "ORDER", "HAVING",  "UNION",     "EXCEPT", "INTERSECT",
    "INTO",   "ON",     "JOIN",     "INNER", "LEFT",    "RIGHT",     "FULL",   "CROSS",
    "OUTER",  "SET",    "WITH",     "AS",    "AND",     "OR",        "NOT",    "SELECT",
    "INSERT", "UPDATE", "DELETE",   "IF",    "ELSE",    "BEGIN",     "END",    "DECLARE",
    "CREATE", "DROP",   "TRUNCATE", "EXEC",  "EXECUTE", "RAISERROR", "COMMIT", "ROLLBACK",
    "VALUES", "WHEN",   "THEN",     "CASE",  "IS",      "IN",        "LIKE",   "BETWEEN",
    "OPTION", "PRINT",  "RETURN",   "BY",    "ASC",     "DESC",      "NULL"};

bool isReserved(const Token &t)
{
    if (t.kind != TokenKind::Word)
        return false;
    return std::find(std::begin(kReserved), std::end(kReserved), t.upper) != std::end(kReserved);
}

constexpr int kMaxPrecision = 38;

ColumnType decimalType(int precision, int scale)
{
    ColumnType t = typeOf(SqlType::Decimal, scale);
    t.precision = precision;
    return t;
}

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
// difference that is zero in decimals is zero, not a trace of binary floating point.
Expr numericResult(std::string sql, const ColumnType &type)
{
    if (type.type == SqlType::Decimal)
        sql = "tsql_decimal(" + sql + "," + std::to_string(type.scale) + ")";
    return {std::move(sql), type, {}};
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

// The SQL of a value converted as SQL Server converts it on assignment to a column.
std::string storeAs(const Expr &e, const ColumnType &target)
{
    switch (target.type) {
    case SqlType::Int:
        if (e.type.type == SqlType::Int || e.type.type == SqlType::Bit)
            return e.sql;
        return "tsql_int(" + e.sql + ")";
    case SqlType::Bit:
        if (e.type.type == SqlType::Bit)
            return e.sql;
        return "tsql_bit(" + e.sql + ")";
    case SqlType::Real:
        if (isNumericType(e.type.type))
            return e.sql;
        return "tsql_float(" + e.sql + ")";
    case SqlType::Decimal:
        if (e.type.type == SqlType::Int || e.type.type == SqlType::Bit ||
            (e.type.type == SqlType::Decimal && e.type.scale >= 0 && e.type.scale <= target.scale))
            return e.sql;
        return "tsql_decimal(" + e.sql + "," + std::to_string(target.scale) + ")";
    case SqlType::Text:
        if (e.type.type == SqlType::Text)
            return e.sql;
        return "tsql_text(" + e.sql + ")";
    case SqlType::DateTime:
        if (e.type.type == SqlType::DateTime)
            return e.sql;
        return "tsql_datetime(" + e.sql + ")";
    case SqlType::Unknown:
        break;
    }
    return e.sql;
}

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
    throw HostError("'" + t.text + "' is not a recognized datepart option.");
}

} // namespace

class Translator::Impl
{
public:
    Impl(const std::vector<Token> &tokens, size_t begin, size_t end, Schema &schema,
         const Session &session)
        : m_tokens(tokens), m_pos(begin), m_end(end), m_schema(schema), m_session(session)
    {}

    Translation statement()
    {
        Translation result;
        const Token &t = peek();
        if (t.is("SELECT")) {
            selectStatement(result);
        } else if (t.is("INSERT")) {
            result.steps.push_back(insertStatement());
        } else if (t.is("UPDATE")) {
            result.steps.push_back(updateStatement());
        } else if (t.is("DELETE")) {
            result.steps.push_back(deleteStatement());
        } else if (t.is("CREATE")) {
            result.steps.push_back(createStatement());
            result.changesSchema = true;
        } else if (t.is("DROP")) {
            dropStatement(result);
            result.changesSchema = true;
        } else if (t.is("ALTER")) {
            result.steps.push_back(alterStatement());
            result.changesSchema = true;
        } else if (t.is("TRUNCATE")) {
            advance();
            expectWord("TABLE");
            Query q;
            q.sql = "DELETE FROM " + tableName().second;
            result.steps.push_back(std::move(q));
        } else {
            unsupported();
        }
        expectEnd();
        return result;
    }

    Query condition()
    {
        Scope scope;
        Query q;
        m_params = &q.params;
        const Expr e = parseExpression(&scope);
        expectEnd();
        q.sql = "SELECT CASE WHEN " + e.sql + " THEN 1 ELSE 0 END";
        return q;
    }

    Query values()
    {
        Scope scope;
        Query q;
        m_params = &q.params;
        std::string list;
        for (;;) {
            const Expr e = parseExpression(&scope);
            list += (list.empty() ? "" : ", ") + e.sql;
            q.columns.push_back({e.name, e.type});
            if (!accept(","))
                break;
        }
        expectEnd();
        q.sql = "SELECT " + list;
        return q;
    }

private:
    // ---- token cursor ------------------------------------------------------------------

    const Token &peek(size_t ahead = 0) const
    {
        const size_t i = m_pos + ahead;
        return i < m_end ? m_tokens[i] : m_endToken;
    }
    const Token &advance()
    {
        const Token &t = peek();
        if (m_pos < m_end)
            ++m_pos;
        return t;
    }
    bool atEnd() const { return m_pos >= m_end; }
    bool accept(std::string_view symbol)
    {
        if (peek().isSymbol(symbol)) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool acceptWord(std::string_view keyword)
    {
        if (peek().is(keyword)) {
            ++m_pos;
            return true;
        }
        return false;
    }
    void expect(std::string_view symbol)
    {
        if (!accept(symbol))
            syntaxError();
    }
    void expectWord(std::string_view keyword)
    {
        if (!acceptWord(keyword))
            syntaxError();
    }
    void expectEnd()
    {
        if (!atEnd())
            syntaxError();
    }

    [[noreturn]] void syntaxError() const
    {
        const std::string near = atEnd() ? "the end of the statement" : "'" + peek().text + "'";
        throw HostError("Incorrect syntax near " + near + ".");
    }
    [[noreturn]] void unsupported() const
    {
        throw HostError("The embedded database does not support '" + peek().text + "' here.");
    }

    std::string nameToken()
    {
        const Token &t = peek();
        if (!t.isName() || (t.kind == TokenKind::Word && isReserved(t)))
            syntaxError();
        advance();
        return t.text;
    }

    // A table name without database and schema parts: its plain name and its SQLite text.
    std::pair<std::string, std::string> tableName()
    {
        std::string name = nameToken();
        while (peek().isSymbol(".")) {
            advance();
            while (peek().isSymbol("."))
                advance();
            name = nameToken();
        }
        return {name, quoteName(name)};
    }

    int newParam(Variant value)
    {
        m_params->push_back(std::move(value));
        return static_cast<int>(m_params->size());
    }

    // ---- names in scope ----------------------------------------------------------------

    std::vector<OutputColumn> tableColumns(const std::string &table)
    {
        std::vector<OutputColumn> columns;
        if (const auto *info = m_schema.columns(table)) {
            for (const auto &c : *info)
                columns.push_back({c.name, c.type});
        }
        return columns;
    }

    static const ScopeTable *findTable(const Scope *scope, std::string_view qualifier)
    {
        for (const Scope *s = scope; s; s = s->outer) {
            for (const auto &t : s->tables) {
                if (equalsNoCase(t.alias, qualifier))
                    return &t;
            }
            for (const auto &t : s->tables) {
                if (equalsNoCase(t.table, qualifier))
                    return &t;
            }
        }
        return nullptr;
    }

    static ColumnType resolveColumn(const Scope *scope, std::string_view qualifier,
                                    std::string_view name)
    {
        for (const Scope *s = scope; s; s = s->outer) {
            for (const auto &t : s->tables) {
                if (!qualifier.empty() && !equalsNoCase(t.alias, qualifier) &&
                    !equalsNoCase(t.table, qualifier))
                    continue;
                for (const auto &c : t.columns) {
                    if (equalsNoCase(c.name, name))
                        return c.type;
                }
            }
        }
        return {};
    }

    // ---- expressions -------------------------------------------------------------------

    Expr parseExpression(const Scope *scope)
    {
        // Parentheses and subqueries recurse; a limit keeps hostile text from the stack's end.
        constexpr int kMaxDepth = 200;
        if (++m_depth > kMaxDepth)
            throw HostError("The statement is nested too deeply.");
        Expr e = parseOr(scope);
        --m_depth;
        return e;
    }

    Expr parseOr(const Scope *scope)
    {
        Expr left = parseAnd(scope);
        while (acceptWord("OR")) {
            const Expr right = parseAnd(scope);
            left = {left.sql + " OR " + right.sql, typeOf(SqlType::Int), {}};
        }
        return left;
    }

    Expr parseAnd(const Scope *scope)
    {
        Expr left = parseNot(scope);
        while (acceptWord("AND")) {
            const Expr right = parseNot(scope);
            left = {left.sql + " AND " + right.sql, typeOf(SqlType::Int), {}};
        }
        return left;
    }

    Expr parseNot(const Scope *scope)
    {
        std::string prefix;
        while (acceptWord("NOT"))
            prefix += "NOT ";
        Expr e = parseComparison(scope);
        if (prefix.empty())
            return e;
        return {prefix + e.sql, typeOf(SqlType::Int), {}};
    }

    // A text constant compared with a number is read as a number of that type.
    static void numberForText(const Expr &number, Expr &text)
    {
        if (!isNumericType(number.type.type) || text.type.type != SqlType::Text || !text.constant)
            return;
        const ColumnType target =
            number.type.type == SqlType::Decimal ? typeOf(SqlType::Real) : number.type;
        text.sql = storeAs(text, target);
        text.type = target;
    }

    static void alignForComparison(Expr &left, Expr &right)
    {
        const bool leftDate = left.type.type == SqlType::DateTime;
        const bool rightDate = right.type.type == SqlType::DateTime;
        if (leftDate && !rightDate)
            right.sql = "tsql_datetime(" + right.sql + ")";
        else if (rightDate && !leftDate)
            left.sql = "tsql_datetime(" + left.sql + ")";
        numberForText(left, right);
        numberForText(right, left);
    }

    static bool comparesAsText(const Expr &left, const Expr &right)
    {
        const auto textish = [](SqlType t) { return t == SqlType::Text || t == SqlType::Unknown; };
        return (left.type.type == SqlType::Text || right.type.type == SqlType::Text) &&
               textish(left.type.type) && textish(right.type.type);
    }

    Expr parseComparison(const Scope *scope)
    {
        Expr left = parseAdditive(scope);
        const Token &t = peek();
        if (t.kind == TokenKind::Symbol) {
            static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> ops = {
                {{"=", "="},
                 {"<>", "<>"},
                 {"!=", "<>"},
                 {"<", "<"},
                 {">", ">"},
                 {"<=", "<="},
                 {">=", ">="},
                 {"!<", ">="},
                 {"!>", "<="}}};
            for (const auto &[written, sqlite] : ops) {
                if (t.text != written)
                    continue;
                advance();
                Expr right = parseAdditive(scope);
                alignForComparison(left, right);
                const std::string collate = comparesAsText(left, right) ? " COLLATE TSQL" : "";
                return {left.sql + " " + std::string(sqlite) + " " + right.sql + collate,
                        typeOf(SqlType::Int),
                        {}};
            }
            return left;
        }
        if (t.is("IS")) {
            advance();
            const bool negated = acceptWord("NOT");
            expectWord("NULL");
            return {left.sql + (negated ? " IS NOT NULL" : " IS NULL"), typeOf(SqlType::Int), {}};
        }
        const bool negated =
            peek().is("NOT") && (peek(1).is("IN") || peek(1).is("LIKE") || peek(1).is("BETWEEN"));
        if (negated)
            advance();
        const std::string notText = negated ? " NOT" : "";
        if (acceptWord("IN")) {
            expect("(");
            std::string list;
            if (peek().is("SELECT")) {
                list = parseSelect(scope, nullptr).sql;
            } else {
                for (;;) {
                    Expr item = parseExpression(scope);
                    alignForComparison(left, item);
                    list += (list.empty() ? "" : ",") + item.sql;
                    if (!accept(","))
                        break;
                }
            }
            expect(")");
            const std::string target =
                left.type.type == SqlType::Text ? left.sql + " COLLATE TSQL" : left.sql;
            return {target + notText + " IN (" + list + ")", typeOf(SqlType::Int), {}};
        }
        if (acceptWord("LIKE")) {
            const Expr pattern = parseAdditive(scope);
            std::string sql = left.sql + notText + " LIKE " + pattern.sql;
            if (acceptWord("ESCAPE"))
                sql += " ESCAPE " + parseAdditive(scope).sql;
            return {sql, typeOf(SqlType::Int), {}};
        }
        if (acceptWord("BETWEEN")) {
            Expr low = parseAdditive(scope);
            expectWord("AND");
            Expr high = parseAdditive(scope);
            alignForComparison(left, low);
            alignForComparison(left, high);
            const std::string collate = comparesAsText(left, low) ? " COLLATE TSQL" : "";
            return {left.sql + collate + notText + " BETWEEN " + low.sql + " AND " + high.sql,
                    typeOf(SqlType::Int),
                    {}};
        }
        if (negated)
            syntaxError();
        return left;
    }

    static Expr add(const Expr &left, const Expr &right)
    {
        const SqlType l = left.type.type;
        const SqlType r = right.type.type;
        if (isNumericType(l) && isNumericType(r))
            return numericResult("(" + left.sql + " + " + right.sql + ")",
                                 arithmeticType(left.type, right.type, '+'));
        if (l == SqlType::DateTime && r != SqlType::DateTime && r != SqlType::Text)
            return {"tsql_dateadd('dd'," + right.sql + "," + left.sql + ")",
                    typeOf(SqlType::DateTime),
                    {}};
        if (r == SqlType::DateTime && l != SqlType::DateTime && l != SqlType::Text)
            return {"tsql_dateadd('dd'," + left.sql + "," + right.sql + ")",
                    typeOf(SqlType::DateTime),
                    {}};
        if (l == SqlType::Text && r == SqlType::Text)
            return {"(" + left.sql + " || " + right.sql + ")", typeOf(SqlType::Text), {}};
        return {"tsql_add(" + left.sql + "," + right.sql + ")", {}, {}};
    }

    static Expr subtract(const Expr &left, const Expr &right)
    {
        if (left.type.type == SqlType::DateTime && right.type.type != SqlType::DateTime &&
            right.type.type != SqlType::Text)
            return {"tsql_dateadd('dd',-(" + right.sql + ")," + left.sql + ")",
                    typeOf(SqlType::DateTime),
                    {}};
        return numericResult("(" + left.sql + " - " + right.sql + ")",
                             arithmeticType(left.type, right.type, '-'));
    }

    Expr parseAdditive(const Scope *scope)
    {
        Expr left = parseMultiplicative(scope);
        for (;;) {
            if (accept("+")) {
                left = add(left, parseMultiplicative(scope));
            } else if (accept("-")) {
                left = subtract(left, parseMultiplicative(scope));
            } else if (accept("&")) {
                const Expr right = parseMultiplicative(scope);
                left = {"(" + left.sql + " & " + right.sql + ")", typeOf(SqlType::Int), {}};
            } else if (accept("|")) {
                const Expr right = parseMultiplicative(scope);
                left = {"(" + left.sql + " | " + right.sql + ")", typeOf(SqlType::Int), {}};
            } else {
                return left;
            }
        }
    }

    Expr parseMultiplicative(const Scope *scope)
    {
        Expr left = parseUnary(scope);
        for (;;) {
            std::string op;
            if (accept("*"))
                op = "*";
            else if (accept("/"))
                op = "/";
            else if (accept("%"))
                op = "%";
            else
                return left;
            const Expr right = parseUnary(scope);
            const ColumnType type = arithmeticType(left.type, right.type, op.front());
            if (op == "*") {
                left = numericResult("(" + left.sql + " * " + right.sql + ")", type);
            } else {
                const std::string fn = op == "/" ? "tsql_divide(" : "tsql_modulo(";
                left = numericResult(fn + left.sql + "," + right.sql + "," +
                                         std::to_string(divisionKind(left.type, right.type)) + ")",
                                     type);
            }
        }
    }

    Expr parseUnary(const Scope *scope)
    {
        std::vector<std::string> ops;
        for (;;) {
            if (accept("-"))
                ops.emplace_back("-");
            else if (accept("~"))
                ops.emplace_back("~");
            else if (!accept("+"))
                break;
        }
        if (ops.size() > 200)
            throw HostError("The statement is nested too deeply.");
        Expr e = parsePrimary(scope);
        for (auto op = ops.rbegin(); op != ops.rend(); ++op) {
            if (*op == "~")
                e = {"(~" + e.sql + ")", typeOf(SqlType::Int), {}};
            else
                e = numericResult("(-" + e.sql + ")", e.type);
        }
        return e;
    }

    Expr variable(const Token &t)
    {
        const std::string key = toUpper(t.text);
        if (key == "@@ROWCOUNT")
            return {"?" + std::to_string(newParam(Variant(m_session.rowCount))),
                    typeOf(SqlType::Int),
                    {}};
        if (key == "@@TRANCOUNT")
            return {"?" + std::to_string(newParam(Variant(m_session.tranCount))),
                    typeOf(SqlType::Int),
                    {}};
        if (key == "@@ERROR")
            return {"0", typeOf(SqlType::Int), {}};
        if (key == "@@IDENTITY")
            return {"last_insert_rowid()", typeOf(SqlType::Int), {}};
        const auto it = m_session.variables.find(key);
        if (it == m_session.variables.end())
            throw HostError("Must declare the scalar variable \"" + t.text + "\".");
        return {"?" + std::to_string(newParam(it->second.value)), it->second.type, {}};
    }

    Expr parsePrimary(const Scope *scope)
    {
        const Token &t = peek();
        switch (t.kind) {
        case TokenKind::Number: {
            advance();
            const size_t point = t.text.find('.');
            if (point == std::string::npos && t.text.find_first_of("eE") == std::string::npos)
                return {t.text, typeOf(SqlType::Int), {}};
            if (t.text.find_first_of("eE") != std::string::npos)
                return {t.text, typeOf(SqlType::Real), {}};
            const int scale = static_cast<int>(t.text.size() - point - 1);
            const size_t firstDigit = std::min(t.text.find_first_not_of('0'), point);
            const int whole = static_cast<int>(point - firstDigit);
            return {t.text, decimalType(std::max(1, whole + scale), scale), {}};
        }
        case TokenKind::String:
            advance();
            return {quoteText(t.text), typeOf(SqlType::Text), {}, true};
        case TokenKind::Variable: {
            advance();
            Expr e = variable(t);
            e.constant = true;
            return e;
        }
        case TokenKind::Symbol:
            if (t.isSymbol("(")) {
                advance();
                if (peek().is("SELECT")) {
                    const SelectInfo sub = parseSelect(scope, nullptr);
                    expect(")");
                    ColumnType type = sub.columns.empty() ? ColumnType{} : sub.columns[0].type;
                    return {"(" + sub.sql + ")", type, {}};
                }
                Expr inner = parseExpression(scope);
                expect(")");
                return {"(" + inner.sql + ")", inner.type, inner.name};
            }
            syntaxError();
        case TokenKind::Word:
        case TokenKind::QuotedId:
            break;
        case TokenKind::End:
            syntaxError();
        }
        if (t.kind == TokenKind::Word) {
            if (t.is("NULL")) {
                advance();
                return {"NULL", {}, {}};
            }
            if (t.is("CASE"))
                return parseCase(scope);
            if (t.is("EXISTS")) {
                advance();
                expect("(");
                const SelectInfo sub = parseSelect(scope, nullptr);
                expect(")");
                return {"EXISTS (" + sub.sql + ")", typeOf(SqlType::Int), {}};
            }
            if (t.is("CURRENT_TIMESTAMP")) {
                advance();
                return {"tsql_getdate()", typeOf(SqlType::DateTime), {}};
            }
            if (peek(1).isSymbol("(") && (t.is("LEFT") || t.is("RIGHT") || !isReserved(t)))
                return parseFunction(scope);
            if (isReserved(t))
                syntaxError();
        }
        // Column reference: [qualifier.]name, database and schema parts dropped.
        std::vector<std::string> parts{nameToken()};
        while (peek().isSymbol(".") && peek(1).isName()) {
            advance();
            parts.push_back(nameToken());
        }
        const std::string &column = parts.back();
        const std::string qualifier = parts.size() >= 2 ? parts[parts.size() - 2] : "";
        Expr e;
        e.name = column;
        e.type = resolveColumn(scope, qualifier, column);
        e.sql =
            qualifier.empty() ? quoteName(column) : quoteName(qualifier) + "." + quoteName(column);
        return e;
    }

    Expr parseCase(const Scope *scope)
    {
        advance(); // CASE
        std::string sql = "CASE";
        std::optional<Expr> input;
        if (!peek().is("WHEN")) {
            input = parseExpression(scope);
            sql += " " + input->sql;
        }
        ColumnType type;
        const auto result = [&]() {
            const Expr e = parseExpression(scope);
            type = commonType(type, e.type);
            return e.sql;
        };
        if (!peek().is("WHEN"))
            syntaxError();
        while (acceptWord("WHEN")) {
            Expr when = parseExpression(scope);
            if (input) {
                Expr in = *input;
                alignForComparison(in, when);
                if (comparesAsText(in, when))
                    when.sql += " COLLATE TSQL";
            }
            expectWord("THEN");
            sql += " WHEN " + when.sql + " THEN " + result();
        }
        if (acceptWord("ELSE"))
            sql += " ELSE " + result();
        expectWord("END");
        return {sql + " END", type, {}};
    }

    std::vector<Expr> arguments(const Scope *scope)
    {
        std::vector<Expr> args;
        if (accept(")"))
            return args;
        for (;;) {
            args.push_back(parseExpression(scope));
            if (accept(")"))
                return args;
            expect(",");
        }
    }

    static std::string joinArgs(const std::vector<Expr> &args)
    {
        std::string out;
        for (const auto &a : args)
            out += (out.empty() ? "" : ",") + a.sql;
        return out;
    }

    // Reads a type name with its arguments: "decimal(28,10)", "varchar(max)".
    std::string typeText()
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

    static Expr convert(const Expr &value, const std::string &type, const std::string &style)
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
            throw HostError("Type " + type + " is not a defined system type.");
        default: {
            Expr stored{storeAs(value, target), target, {}};
            if (stored.sql == value.sql && target.type == SqlType::Decimal)
                stored.sql = "tsql_decimal(" + value.sql + "," + std::to_string(target.scale) + ")";
            return stored;
        }
        }
    }

    Expr parseFunction(const Scope *scope)
    {
        const Token &nameTok = advance();
        const std::string name = nameTok.upper;
        expect("(");
        // Functions whose first argument is a keyword or a type.
        if (name == "DATEADD" || name == "DATEDIFF" || name == "DATEPART") {
            const std::string part = datePartName(advance());
            expect(",");
            std::vector<Expr> rest = arguments(scope);
            const std::string quotedPart = quoteText(part);
            if (name == "DATEADD" && rest.size() == 2)
                return {"tsql_dateadd(" + quotedPart + "," + joinArgs(rest) + ")",
                        typeOf(SqlType::DateTime),
                        {}};
            if (name == "DATEDIFF" && rest.size() == 2)
                return {"tsql_datediff(" + quotedPart + "," + joinArgs(rest) + ")",
                        typeOf(SqlType::Int),
                        {}};
            if (name == "DATEPART" && rest.size() == 1)
                return {"tsql_datepart(" + quotedPart + "," + rest[0].sql + "," +
                            std::to_string(m_session.dateFirst) + ")",
                        typeOf(SqlType::Int),
                        {}};
            throw HostError("The " + nameTok.text + " function requires " +
                            (name == "DATEPART" ? "2" : "3") + " arguments.");
        }
        if (name == "CONVERT") {
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
        if (name == "CAST") {
            const Expr value = parseExpression(scope);
            expectWord("AS");
            const std::string type = typeText();
            expect(")");
            return convert(value, type, {});
        }
        if (name == "COUNT" || name == "SUM" || name == "MAX" || name == "MIN" || name == "AVG") {
            std::string prefix;
            if (acceptWord("DISTINCT"))
                prefix = "DISTINCT ";
            else
                acceptWord("ALL");
            if (name == "COUNT" && accept("*")) {
                expect(")");
                return {"count(*)", typeOf(SqlType::Int), {}};
            }
            const Expr arg = parseExpression(scope);
            expect(")");
            ColumnType type = arg.type;
            if (name == "COUNT")
                type = typeOf(SqlType::Int);
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
        const std::vector<Expr> args = arguments(scope);
        const auto need = [&](size_t low, size_t high) {
            if (args.size() < low || args.size() > high)
                throw HostError("The " + nameTok.text +
                                " function has the wrong number of arguments.");
        };
        const auto call = [&](std::string_view fn, ColumnType type) {
            return Expr{std::string(fn) + "(" + joinArgs(args) + ")", type, {}};
        };
        const ColumnType text = typeOf(SqlType::Text);
        const ColumnType integer = typeOf(SqlType::Int);
        if (name == "GETDATE" || name == "GETUTCDATE" || name == "SYSDATETIME") {
            need(0, 0);
            return call("tsql_getdate", typeOf(SqlType::DateTime));
        }
        if (name == "ISNULL") {
            need(2, 2);
            ColumnType type = args[0].type.type == SqlType::Unknown ? args[1].type : args[0].type;
            const std::string fallback =
                args[0].type.type == SqlType::Unknown ? args[1].sql : storeAs(args[1], type);
            return {"ifnull(" + args[0].sql + "," + fallback + ")", type, {}};
        }
        if (name == "COALESCE") {
            need(1, 100);
            ColumnType type;
            for (const auto &a : args)
                type = commonType(type, a.type);
            return call("coalesce", type);
        }
        if (name == "NULLIF") {
            need(2, 2);
            return call("nullif", args[0].type);
        }
        if (name == "YEAR" || name == "MONTH" || name == "DAY") {
            need(1, 1);
            const std::string part = name == "YEAR" ? "yy" : name == "MONTH" ? "mm" : "dd";
            return {"tsql_datepart('" + part + "'," + args[0].sql + ",7)", integer, {}};
        }
        if (name == "LEN") {
            need(1, 1);
            return call("tsql_len", integer);
        }
        if (name == "DATALENGTH") {
            need(1, 1);
            return call("length", integer);
        }
        if (name == "LTRIM" || name == "RTRIM" || name == "UPPER" || name == "LOWER") {
            need(1, 1);
            return {toUpper(name) + "(tsql_text(" + args[0].sql + "))", text, {}};
        }
        if (name == "REPLACE") {
            need(3, 3);
            return call("replace", text);
        }
        if (name == "SUBSTRING") {
            need(3, 3);
            return call("substr", text);
        }
        if (name == "LEFT") {
            need(2, 2);
            return {"substr(" + args[0].sql + ",1," + args[1].sql + ")", text, {}};
        }
        if (name == "RIGHT") {
            need(2, 2);
            return call("tsql_right", text);
        }
        if (name == "CHARINDEX") {
            need(2, 2);
            return {"instr(" + args[1].sql + "," + args[0].sql + ")", integer, {}};
        }
        if (name == "REPLICATE") {
            need(2, 2);
            return call("tsql_replicate", text);
        }
        if (name == "SPACE") {
            need(1, 1);
            return {"tsql_replicate(' '," + args[0].sql + ")", text, {}};
        }
        if (name == "STR") {
            need(1, 3);
            std::string sql = "tsql_str(" + args[0].sql;
            sql += "," + (args.size() > 1 ? args[1].sql : std::string("10"));
            sql += "," + (args.size() > 2 ? args[2].sql : std::string("0")) + ")";
            return {sql, text, {}};
        }
        if (name == "ABS" || name == "SIGN") {
            need(1, 1);
            return call(name == "ABS" ? "abs" : "sign", args[0].type);
        }
        if (name == "ROUND") {
            need(2, 3);
            if (args.size() == 3)
                return call("tsql_round", args[0].type);
            return {"tsql_round(" + joinArgs(args) + ",0)", args[0].type, {}};
        }
        if (name == "FLOOR" || name == "CEILING") {
            need(1, 1);
            return call(name == "FLOOR" ? "tsql_floor" : "tsql_ceiling", args[0].type);
        }
        if (name == "OBJECT_ID") {
            need(1, 2);
            return {"tsql_object_id(" + args[0].sql + ")", integer, {}};
        }
        if (name == "OBJECTPROPERTY") {
            need(2, 2);
            return call("tsql_objectproperty", integer);
        }
        if (name == "SCOPE_IDENTITY") {
            need(0, 0);
            return call("last_insert_rowid", integer);
        }
        throw HostError("'" + nameTok.text + "' is not a recognized built-in function name.");
    }

    // ---- SELECT ------------------------------------------------------------------------

    // Skips to the next token at parenthesis depth 0 that satisfies stop.
    template <typename Stop> void skipTo(Stop stop)
    {
        int depth = 0;
        while (!atEnd()) {
            const Token &t = peek();
            if (depth == 0 && stop(t))
                return;
            if (t.isSymbol("("))
                ++depth;
            else if (t.isSymbol(")")) {
                if (depth == 0)
                    return;
                --depth;
            }
            advance();
        }
    }

    static bool endsSelectList(const Token &t)
    {
        return t.is("INTO") || t.is("FROM") || t.is("WHERE") || t.is("GROUP") || t.is("HAVING") ||
               t.is("ORDER") || t.is("UNION") || t.is("EXCEPT") || t.is("INTERSECT") ||
               t.is("OPTION");
    }

    std::string optionalAlias()
    {
        if (acceptWord("AS")) {
            const Token &t = advance();
            if (!t.isName() && t.kind != TokenKind::String)
                syntaxError();
            return t.text;
        }
        const Token &t = peek();
        if (t.kind == TokenKind::QuotedId || t.kind == TokenKind::String ||
            (t.kind == TokenKind::Word && !isReserved(t))) {
            advance();
            return t.text;
        }
        return {};
    }

    void expandStar(const ScopeTable &table, std::string &items, SelectInfo &info,
                    const std::vector<ColumnType> *targetTypes)
    {
        for (const auto &c : table.columns) {
            Expr e{quoteName(table.alias) + "." + quoteName(c.name), c.type, c.name};
            addItem(e, c.name, false, items, info, targetTypes);
        }
    }

    void addItem(const Expr &e, const std::string &name, bool aliased, std::string &items,
                 SelectInfo &info, const std::vector<ColumnType> *targetTypes)
    {
        const size_t index = info.columns.size();
        std::string sql = e.sql;
        if (targetTypes && index < targetTypes->size())
            sql = storeAs(e, (*targetTypes)[index]);
        if (aliased || sql != e.sql)
            sql += " AS " + quoteName(name);
        items += (items.empty() ? "" : ", ") + sql;
        info.columns.push_back({name, e.type});
        info.itemSql.push_back(e.sql);
    }

    struct CoreResult
    {
        std::string sql;
        std::unique_ptr<Scope> scope;
        std::string limit;
    };

    CoreResult parseSelectCore(const Scope *outer, const std::vector<ColumnType> *targetTypes,
                               SelectInfo &info, bool first)
    {
        CoreResult core;
        core.scope = std::make_unique<Scope>();
        core.scope->outer = outer;
        expectWord("SELECT");
        std::string head = "SELECT ";
        if (acceptWord("DISTINCT"))
            head += "DISTINCT ";
        else
            acceptWord("ALL");
        if (acceptWord("TOP")) {
            const bool paren = accept("(");
            const Token &n = advance();
            if (n.kind == TokenKind::Number)
                core.limit = n.text;
            else if (n.kind == TokenKind::Variable)
                core.limit = variable(n).sql;
            else
                syntaxError();
            if (paren)
                expect(")");
            if (peek().is("PERCENT") || peek().is("WITH"))
                unsupported();
        }
        const size_t itemsBegin = m_pos;
        skipTo(endsSelectList);
        const size_t itemsEnd = m_pos;
        if (acceptWord("INTO")) {
            if (!first || !info.intoTable.empty())
                syntaxError();
            info.intoTable = tableName().first;
        }
        std::string from;
        if (acceptWord("FROM"))
            from = " FROM " + emitFrom(parseFrom(*core.scope));
        const size_t afterFrom = m_pos;

        // The select list, read now that the FROM clause has put its tables in scope.
        m_pos = itemsBegin;
        const size_t savedEnd = m_end;
        m_end = itemsEnd;
        std::string items;
        SelectInfo local;
        SelectInfo &target = first ? info : local;
        for (;;) {
            if (atEnd())
                syntaxError();
            if (accept("*")) {
                if (core.scope->tables.empty())
                    throw HostError("Must specify table to select from.");
                for (const auto &t : core.scope->tables)
                    expandStar(t, items, target, targetTypes);
            } else if (peek().isName() && peek(1).isSymbol(".") && peek(2).isSymbol("*")) {
                const std::string qualifier = nameToken();
                advance();
                advance();
                const ScopeTable *table = findTable(core.scope.get(), qualifier);
                if (!table)
                    throw HostError("The column prefix '" + qualifier +
                                    "' does not match with a table name or alias name used in "
                                    "the query.");
                expandStar(*table, items, target, targetTypes);
            } else if (peek().kind == TokenKind::Variable && peek(1).isSymbol("=")) {
                const Token &variableToken = advance();
                if (!m_session.variables.contains(toUpper(variableToken.text)))
                    throw HostError("Must declare the scalar variable \"" + variableToken.text +
                                    "\".");
                target.assignTargets.push_back(toUpper(variableToken.text));
                advance();
                const Expr e = parseExpression(core.scope.get());
                addItem(e, e.name, false, items, target, nullptr);
            } else if ((peek().kind == TokenKind::QuotedId || peek().kind == TokenKind::String ||
                        (peek().kind == TokenKind::Word && !isReserved(peek()))) &&
                       peek(1).isSymbol("=")) {
                const std::string alias = advance().text;
                advance();
                const Expr e = parseExpression(core.scope.get());
                addItem(e, alias, true, items, target, targetTypes);
            } else {
                const Expr e = parseExpression(core.scope.get());
                const std::string alias = optionalAlias();
                addItem(e, alias.empty() ? e.name : alias, !alias.empty(), items, target,
                        targetTypes);
            }
            if (!accept(","))
                break;
        }
        expectEnd();
        m_end = savedEnd;
        m_pos = afterFrom;
        if (!first && local.columns.size() != info.columns.size())
            throw HostError("All queries combined using a UNION, INTERSECT or EXCEPT operator "
                            "must have an equal number of expressions in their target lists.");
        if (!info.assignTargets.empty() && info.assignTargets.size() != info.columns.size())
            throw HostError("A SELECT statement that assigns a value to a variable must not be "
                            "combined with data-retrieval operations.");

        std::string sql = head + items + from;
        if (acceptWord("WHERE"))
            sql += " WHERE " + parseExpression(core.scope.get()).sql;
        if (acceptWord("GROUP")) {
            expectWord("BY");
            std::string list;
            do {
                const Expr e = parseExpression(core.scope.get());
                list += (list.empty() ? "" : ", ") + e.sql;
                if (e.type.type == SqlType::Text)
                    list += " COLLATE TSQL";
            } while (accept(","));
            sql += " GROUP BY " + list;
        }
        if (acceptWord("HAVING"))
            sql += " HAVING " + parseExpression(core.scope.get()).sql;
        core.sql = std::move(sql);
        return core;
    }

    SelectInfo parseSelect(const Scope *outer, const std::vector<ColumnType> *targetTypes)
    {
        SelectInfo info;
        CoreResult core = parseSelectCore(outer, targetTypes, info, true);
        std::string sql = core.sql;
        const std::string limit = core.limit;
        bool compound = false;
        for (;;) {
            std::string op;
            if (acceptWord("UNION"))
                op = acceptWord("ALL") ? " UNION ALL " : " UNION ";
            else if (acceptWord("EXCEPT"))
                op = " EXCEPT ";
            else if (acceptWord("INTERSECT"))
                op = " INTERSECT ";
            else
                break;
            compound = true;
            sql += op + parseSelectCore(outer, targetTypes, info, false).sql;
        }
        if (acceptWord("ORDER")) {
            expectWord("BY");
            std::string list;
            do {
                list += (list.empty() ? "" : ", ") +
                        orderTerm(compound ? nullptr : core.scope.get(), info, compound);
                if (acceptWord("DESC"))
                    list += " DESC";
                else
                    acceptWord("ASC");
            } while (accept(","));
            sql += " ORDER BY " + list;
        }
        if (!limit.empty())
            sql += " LIMIT " + limit;
        info.sql = std::move(sql);
        return info;
    }

    std::string orderTerm(const Scope *scope, const SelectInfo &info, bool compound)
    {
        // A bare name that is an output column sorts by that column.
        if (peek().isName() && !peek(1).isSymbol(".") && !peek(1).isSymbol("(")) {
            const std::string name = peek().text;
            for (size_t i = 0; i < info.columns.size(); ++i) {
                if (!equalsNoCase(info.columns[i].name, name))
                    continue;
                advance();
                const std::string collate =
                    info.columns[i].type.type == SqlType::Text ? " COLLATE TSQL" : "";
                if (compound)
                    return std::to_string(i + 1) + collate;
                return quoteName(name) + collate;
            }
        }
        if (peek().kind == TokenKind::Number && (peek(1).isSymbol(",") || peek(1).is("ASC") ||
                                                 peek(1).is("DESC") || m_pos + 1 >= m_end))
            return advance().text;
        Scope empty;
        const Expr e = parseExpression(scope ? scope : &empty);
        const std::string collate = e.type.type == SqlType::Text ? " COLLATE TSQL" : "";
        if (compound) {
            for (size_t i = 0; i < info.itemSql.size(); ++i) {
                if (info.itemSql[i] == e.sql)
                    return std::to_string(i + 1) + collate;
            }
            throw HostError("ORDER BY items must appear in the select list if the statement "
                            "contains a UNION, INTERSECT or EXCEPT operator.");
        }
        return e.sql + collate;
    }

    // ---- FROM --------------------------------------------------------------------------

    FromItem parseTableSource(Scope &scope)
    {
        FromItem item;
        if (accept("(")) {
            if (!peek().is("SELECT"))
                unsupported();
            const SelectInfo sub = parseSelect(scope.outer, nullptr);
            expect(")");
            item.alias = optionalAlias();
            if (item.alias.empty())
                syntaxError();
            item.source = "(" + sub.sql + ") AS " + quoteName(item.alias);
            scope.tables.push_back({item.alias, {}, sub.columns});
            return item;
        }
        const auto [name, sql] = tableName();
        item.table = name;
        item.alias = optionalAlias();
        if (peek().is("WITH") && peek(1).isSymbol("(")) {
            advance();
            skipParenthesized();
        }
        if (item.alias.empty())
            item.alias = name;
        item.source = sql;
        if (!equalsNoCase(item.alias, name))
            item.source += " AS " + quoteName(item.alias);
        if (!m_schema.columns(name))
            throw HostError("Invalid object name '" + name + "'.");
        scope.tables.push_back({item.alias, name, tableColumns(name)});
        return item;
    }

    void skipParenthesized()
    {
        expect("(");
        int depth = 1;
        while (depth > 0 && !atEnd()) {
            const Token &t = advance();
            if (t.isSymbol("("))
                ++depth;
            else if (t.isSymbol(")"))
                --depth;
        }
    }

    std::string joinKeyword()
    {
        if (acceptWord("JOIN"))
            return "INNER JOIN";
        if (acceptWord("INNER")) {
            expectWord("JOIN");
            return "INNER JOIN";
        }
        for (const std::string_view kind : {"LEFT", "RIGHT", "FULL"}) {
            if (acceptWord(kind)) {
                acceptWord("OUTER");
                expectWord("JOIN");
                return std::string(kind) + " JOIN";
            }
        }
        if (acceptWord("CROSS")) {
            expectWord("JOIN");
            return "CROSS JOIN";
        }
        return {};
    }

    std::vector<FromItem> parseFrom(Scope &scope)
    {
        std::vector<FromItem> items;
        items.push_back(parseTableSource(scope));
        for (;;) {
            if (accept(",")) {
                FromItem next = parseTableSource(scope);
                next.join = ",";
                items.push_back(std::move(next));
                continue;
            }
            std::string join = joinKeyword();
            if (join.empty())
                return items;
            FromItem next = parseTableSource(scope);
            next.join = join;
            if (join != "CROSS JOIN") {
                expectWord("ON");
                next.on = parseExpression(&scope).sql;
            }
            items.push_back(std::move(next));
        }
    }

    static std::string emitFrom(const std::vector<FromItem> &items)
    {
        std::string sql;
        for (const auto &item : items) {
            if (item.join.empty())
                sql += item.source;
            else if (item.join == ",")
                sql += ", " + item.source;
            else
                sql += " " + item.join + " " + item.source;
            if (!item.on.empty())
                sql += " ON " + item.on;
        }
        return sql;
    }

    // ---- statements --------------------------------------------------------------------

    void selectStatement(Translation &result)
    {
        Query q;
        m_params = &q.params;
        SelectInfo info = parseSelect(nullptr, nullptr);
        if (info.intoTable.empty()) {
            q.sql = std::move(info.sql);
            q.columns = std::move(info.columns);
            result.assignTargets = std::move(info.assignTargets);
            result.steps.push_back(std::move(q));
            if (result.assignTargets.empty())
                result.resultStep = 0;
            return;
        }
        // SELECT ... INTO: make the table from the select list's types, then fill it.
        std::string columns;
        std::vector<std::string> seen;
        for (const auto &c : info.columns) {
            if (c.name.empty())
                throw HostError("An object or column name is missing or empty. For SELECT INTO "
                                "statements, verify each column has a name.");
            if (std::any_of(seen.begin(), seen.end(),
                            [&](const std::string &s) { return equalsNoCase(s, c.name); }))
                throw HostError("Column names in each table must be unique. Column name '" +
                                c.name + "' in table '" + info.intoTable +
                                "' is specified more than once.");
            seen.push_back(c.name);
            columns += (columns.empty() ? "" : ", ") + quoteName(c.name);
            const std::string declared = declarationFor(c.type);
            if (!declared.empty())
                columns += " " + declared;
        }
        if (m_schema.columns(info.intoTable))
            throw HostError("There is already an object named '" + info.intoTable +
                            "' in the database.");
        Query create;
        create.sql =
            std::string(isTempName(info.intoTable) ? "CREATE TEMP TABLE " : "CREATE TABLE ") +
            quoteName(info.intoTable) + " (" + columns + ")";
        q.sql = "INSERT INTO " + quoteName(info.intoTable) + " " + info.sql;
        result.steps.push_back(std::move(create));
        result.steps.push_back(std::move(q));
        result.changesSchema = true;
    }

    static std::string declarationFor(const ColumnType &type)
    {
        switch (type.type) {
        case SqlType::Int:
            return "int";
        case SqlType::Bit:
            return sqliteDeclaration("bit", type);
        case SqlType::Real:
            return "float";
        case SqlType::Decimal: {
            const std::string declared = "decimal(" + std::to_string(type.precision) + "," +
                                         std::to_string(type.scale) + ")";
            return sqliteDeclaration(declared, type);
        }
        case SqlType::Text:
            return sqliteDeclaration("varchar", type);
        case SqlType::DateTime:
            return sqliteDeclaration("datetime", type);
        case SqlType::Unknown:
            break;
        }
        return {};
    }

    const std::vector<ColumnInfo> &requireTable(const std::string &name)
    {
        const auto *columns = m_schema.columns(name);
        if (!columns)
            throw HostError("Invalid object name '" + name + "'.");
        return *columns;
    }

    static const ColumnInfo &requireColumn(const std::vector<ColumnInfo> &columns,
                                           const std::string &name)
    {
        for (const auto &c : columns) {
            if (equalsNoCase(c.name, name))
                return c;
        }
        throw HostError("Invalid column name '" + name + "'.");
    }

    Query insertStatement()
    {
        Query q;
        m_params = &q.params;
        expectWord("INSERT");
        acceptWord("INTO");
        const auto [table, tableSql] = tableName();
        const auto &tableColumns = requireTable(table);
        std::vector<ColumnInfo> targets;
        if (peek().isSymbol("(") && !peek(1).is("SELECT")) {
            advance();
            do {
                targets.push_back(requireColumn(tableColumns, nameToken()));
            } while (accept(","));
            expect(")");
        } else {
            for (const auto &c : tableColumns) {
                if (!c.identity)
                    targets.push_back(c);
            }
        }
        std::string columnList;
        std::vector<ColumnType> types;
        for (const auto &c : targets) {
            columnList += (columnList.empty() ? "" : ",") + quoteName(c.name);
            types.push_back(c.type);
        }
        q.sql = "INSERT INTO " + tableSql + " (" + columnList + ") ";
        if (acceptWord("VALUES")) {
            std::string rows;
            Scope scope;
            do {
                expect("(");
                std::string row;
                size_t index = 0;
                do {
                    const Expr e = parseExpression(&scope);
                    if (index >= types.size())
                        throw HostError("There are more columns in the INSERT statement than "
                                        "values specified in the VALUES clause.");
                    row += (row.empty() ? "" : ",") + storeAs(e, types[index++]);
                } while (accept(","));
                expect(")");
                if (index != types.size())
                    throw HostError("There are fewer columns in the INSERT statement than "
                                    "values specified in the VALUES clause.");
                rows += (rows.empty() ? "(" : ",(") + row + ")";
            } while (accept(","));
            q.sql += "VALUES " + rows;
        } else if (peek().is("SELECT") || (peek().isSymbol("(") && peek(1).is("SELECT"))) {
            const bool paren = accept("(");
            const SelectInfo select = parseSelect(nullptr, &types);
            if (paren)
                expect(")");
            if (select.columns.size() != types.size())
                throw HostError(
                    "The select list for the INSERT statement contains " +
                    std::string(select.columns.size() < types.size() ? "fewer" : "more") +
                    " items than the insert list.");
            q.sql += select.sql;
        } else if (acceptWord("DEFAULT")) {
            expectWord("VALUES");
            q.sql = "INSERT INTO " + tableSql + " DEFAULT VALUES";
        } else {
            unsupported();
        }
        return q;
    }

    // UPDATE target SET ... [FROM ...] [WHERE ...]. SQLite's UPDATE ... FROM takes the target
    // outside the FROM list, so the target's entry leaves the list and every inner-join
    // condition moves to the WHERE clause.
    Query updateStatement()
    {
        Query q;
        m_params = &q.params;
        expectWord("UPDATE");
        const auto [target, targetSql] = tableName();
        expectWord("SET");
        const size_t setBegin = m_pos;
        skipTo([](const Token &t) { return t.is("FROM") || t.is("WHERE") || t.is("OPTION"); });
        const size_t setEnd = m_pos;

        Scope scope;
        std::vector<FromItem> from;
        if (acceptWord("FROM"))
            from = parseFrom(scope);
        const size_t afterFrom = m_pos;

        std::string table = target;
        std::string alias = target;
        std::vector<std::string> conditions;
        const auto self = std::find_if(from.begin(), from.end(), [&](const FromItem &item) {
            return equalsNoCase(item.alias, target);
        });
        if (self != from.end()) {
            if (self->table.empty())
                unsupported();
            table = self->table;
            alias = self->alias;
            if (!self->on.empty())
                conditions.push_back(self->on);
            const size_t index = static_cast<size_t>(self - from.begin());
            from.erase(self);
            if (index == 0 && !from.empty() && from.front().join != ",") {
                if (!from.front().on.empty())
                    conditions.push_back(from.front().on);
                from.front().on.clear();
            }
        } else {
            scope.tables.push_back({target, target, tableColumns(target)});
        }
        std::vector<std::string> sources;
        for (size_t i = 0; i < from.size(); ++i) {
            const auto &item = from[i];
            if (item.join.find("LEFT") != std::string::npos ||
                item.join.find("RIGHT") != std::string::npos ||
                item.join.find("FULL") != std::string::npos)
                throw HostError("The embedded database supports only inner joins in UPDATE "
                                "... FROM.");
            sources.push_back(item.source);
            if (!item.on.empty())
                conditions.push_back(item.on);
        }
        const auto &columns = requireTable(table);

        m_pos = setBegin;
        const size_t savedEnd = m_end;
        m_end = setEnd;
        std::string assignments;
        do {
            std::string column = nameToken();
            while (accept("."))
                column = nameToken();
            const ColumnInfo &info = requireColumn(columns, column);
            expect("=");
            const Expr value = parseExpression(&scope);
            assignments += (assignments.empty() ? "" : ", ") + quoteName(info.name) + " = " +
                           storeAs(value, info.type);
        } while (accept(","));
        expectEnd();
        m_end = savedEnd;
        m_pos = afterFrom;

        if (acceptWord("WHERE"))
            conditions.push_back(parseExpression(&scope).sql);
        q.sql = "UPDATE " + quoteName(table);
        if (!equalsNoCase(alias, table))
            q.sql += " AS " + quoteName(alias);
        q.sql += " SET " + assignments;
        if (!sources.empty()) {
            std::string list;
            for (const auto &s : sources)
                list += (list.empty() ? "" : ", ") + s;
            q.sql += " FROM " + list;
        }
        if (!conditions.empty()) {
            std::string where;
            for (const auto &c : conditions)
                where += (where.empty() ? "(" : " AND (") + c + ")";
            q.sql += " WHERE " + where;
        }
        return q;
    }

    Query deleteStatement()
    {
        Query q;
        m_params = &q.params;
        expectWord("DELETE");
        acceptWord("FROM");
        const auto [target, targetSql] = tableName();
        Scope scope;
        if (acceptWord("FROM")) {
            // DELETE alias FROM t alias JOIN ...: the rows of the target that the join finds.
            const std::vector<FromItem> from = parseFrom(scope);
            const auto self = std::find_if(from.begin(), from.end(), [&](const FromItem &item) {
                return equalsNoCase(item.alias, target);
            });
            if (self == from.end() || self->table.empty())
                unsupported();
            std::string sql = "DELETE FROM " + quoteName(self->table) + " WHERE rowid IN (SELECT " +
                              quoteName(self->alias) + ".rowid FROM " + emitFrom(from);
            if (acceptWord("WHERE"))
                sql += " WHERE " + parseExpression(&scope).sql;
            q.sql = sql + ")";
            return q;
        }
        requireTable(target);
        scope.tables.push_back({target, target, tableColumns(target)});
        q.sql = "DELETE FROM " + targetSql;
        if (acceptWord("WHERE"))
            q.sql += " WHERE " + parseExpression(&scope).sql;
        return q;
    }

    // One column of CREATE TABLE or ALTER TABLE ADD.
    std::string columnDefinition(bool &identity)
    {
        const std::string name = nameToken();
        const std::string type = typeText();
        const ColumnType columnType = parseColumnType(type);
        if (columnType.type == SqlType::Unknown)
            throw HostError("Column, parameter, or variable #1: Cannot find data type " + type +
                            ".");
        std::string declared = sqliteDeclaration(type, columnType);
        std::string options;
        identity = false;
        Scope scope;
        while (!atEnd() && !peek().isSymbol(",") && !peek().isSymbol(")")) {
            if (acceptWord("NULL"))
                continue;
            if (acceptWord("NOT")) {
                expectWord("NULL");
                options += " NOT NULL";
            } else if (acceptWord("DEFAULT")) {
                const Expr value = parseAdditive(&scope);
                options += " DEFAULT (" + storeAs(value, columnType) + ")";
            } else if (acceptWord("IDENTITY")) {
                if (peek().isSymbol("("))
                    skipParenthesized();
                identity = true;
            } else if (acceptWord("PRIMARY")) {
                expectWord("KEY");
                acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                if (!identity)
                    options += " PRIMARY KEY";
            } else if (acceptWord("UNIQUE")) {
                acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                options += " UNIQUE";
            } else if (acceptWord("CONSTRAINT")) {
                nameToken();
            } else if (acceptWord("COLLATE")) {
                nameToken();
            } else {
                unsupported();
            }
        }
        if (identity) {
            declared = "INTEGER PRIMARY KEY AUTOINCREMENT";
            const auto pk = options.find(" PRIMARY KEY");
            if (pk != std::string::npos)
                options.erase(pk, 12);
        }
        return quoteName(name) + " " + declared + options;
    }

    // WITH (index options) and ON filegroup: storage settings that SQLite has no use for.
    void skipStorageOptions()
    {
        for (;;) {
            if (peek().is("WITH") && peek(1).isSymbol("(")) {
                advance();
                skipParenthesized();
            } else if (acceptWord("ON") || acceptWord("TEXTIMAGE_ON")) {
                nameToken();
            } else {
                return;
            }
        }
    }

    std::string keyColumns()
    {
        expect("(");
        std::string list;
        do {
            list += (list.empty() ? "" : ",") + quoteName(nameToken());
            if (acceptWord("DESC"))
                list += " DESC";
            else
                acceptWord("ASC");
        } while (accept(","));
        expect(")");
        return list;
    }

    Query createStatement()
    {
        Query q;
        m_params = &q.params;
        expectWord("CREATE");
        if (acceptWord("TABLE")) {
            const auto [name, sql] = tableName();
            if (m_schema.columns(name))
                throw HostError("There is already an object named '" + name + "' in the database.");
            expect("(");
            std::string body;
            std::string identityColumn;
            do {
                std::string element;
                if (acceptWord("CONSTRAINT"))
                    nameToken();
                if (acceptWord("PRIMARY")) {
                    expectWord("KEY");
                    acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                    const std::string keys = keyColumns();
                    skipStorageOptions();
                    if (keys != quoteName(identityColumn))
                        element = "PRIMARY KEY (" + keys + ")";
                } else if (acceptWord("UNIQUE")) {
                    acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                    element = "UNIQUE (" + keyColumns() + ")";
                } else {
                    bool identity = false;
                    const size_t at = m_pos;
                    element = columnDefinition(identity);
                    if (identity)
                        identityColumn = m_tokens[at].text;
                }
                if (!element.empty())
                    body += (body.empty() ? "" : ", ") + element;
            } while (accept(","));
            expect(")");
            skipStorageOptions();
            q.sql = std::string(isTempName(name) ? "CREATE TEMP TABLE " : "CREATE TABLE ") + sql +
                    " (" + body + ")";
            return q;
        }
        const bool unique = acceptWord("UNIQUE");
        acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
        if (acceptWord("INDEX")) {
            const std::string index = nameToken();
            expectWord("ON");
            const auto [table, tableSql] = tableName();
            const std::string keys = keyColumns();
            if (acceptWord("INCLUDE"))
                skipParenthesized();
            skipStorageOptions();
            const std::string indexName = quoteName(table + "." + index);
            q.sql = std::string(unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                    (isTempName(table) ? "temp." : "") + indexName + " ON " + tableSql + " (" +
                    keys + ")";
            return q;
        }
        if (!unique && acceptWord("VIEW")) {
            const auto [name, sql] = tableName();
            expectWord("AS");
            q.sql = "CREATE VIEW " + sql + " AS " + parseSelect(nullptr, nullptr).sql;
            if (!q.params.empty())
                throw HostError("Variables are not allowed in a view.");
            return q;
        }
        unsupported();
    }

    Query alterStatement()
    {
        Query q;
        m_params = &q.params;
        expectWord("ALTER");
        expectWord("TABLE");
        const auto [name, sql] = tableName();
        expectWord("ADD");
        bool identity = false;
        q.sql = "ALTER TABLE " + sql + " ADD COLUMN " + columnDefinition(identity);
        if (identity)
            unsupported();
        return q;
    }

    void dropStatement(Translation &result)
    {
        expectWord("DROP");
        std::string kind;
        if (acceptWord("TABLE"))
            kind = "TABLE";
        else if (acceptWord("VIEW"))
            kind = "VIEW";
        else if (acceptWord("INDEX"))
            kind = "INDEX";
        else
            unsupported();
        bool ifExists = false;
        if (acceptWord("IF")) {
            expectWord("EXISTS");
            ifExists = true;
        }
        do {
            Query q;
            if (kind == "INDEX") {
                std::string table = nameToken();
                std::string index;
                if (accept(".")) {
                    index = nameToken();
                } else {
                    expectWord("ON");
                    index = table;
                    table = tableName().first;
                }
                q.sql = "DROP INDEX " + std::string(ifExists ? "IF EXISTS " : "") +
                        (isTempName(table) ? "temp." : "") + quoteName(table + "." + index);
            } else {
                const auto [name, sql] = tableName();
                if (!ifExists && !m_schema.columns(name))
                    throw HostError("Cannot drop the " +
                                    std::string(kind == "TABLE" ? "table" : "view") + " '" + name +
                                    "', because it does not exist or you do not have permission.");
                q.sql = "DROP " + kind + (ifExists ? " IF EXISTS " : " ") + sql;
            }
            result.steps.push_back(std::move(q));
        } while (accept(","));
    }

    const std::vector<Token> &m_tokens;
    size_t m_pos;
    size_t m_end;
    Schema &m_schema;
    const Session &m_session;
    std::vector<Variant> *m_params = nullptr;
    int m_depth = 0;
    Token m_endToken;
};

Translator::Translator(const std::vector<Token> &tokens, size_t begin, size_t end, Schema &schema,
                       const Session &session)
    : m_impl(std::make_unique<Impl>(tokens, begin, end, schema, session))
{}

Translator::~Translator() = default;

Translation Translator::translateStatement()
{
    return m_impl->statement();
}

Query Translator::translateCondition()
{
    return m_impl->condition();
}

Query Translator::translateValues()
{
    return m_impl->values();
}

} // namespace host::tsql
