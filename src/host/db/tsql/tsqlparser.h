#pragma once

// The translator's parser, shared by the files that hold its parts:
//
//   tsqltranslator.cpp   entry points, errors, table names and the tables in scope
//   tsqltyping.cpp       SQL Server's types of results and its conversions on assignment
//   tsqlexpressions.cpp  comparisons, unary operators, variables, column references, CASE
//   tsqloperators.cpp    chains of binary operators: arithmetic, texts joined, AND, OR
//   tsqlliterals.cpp     literals, as text in the SQL or bound as parameters
//   tsqlbuiltins.cpp     the built-in functions (one table), CAST and CONVERT
//   tsqlselect.cpp       SELECT: the select list, FROM and joins, UNION, ORDER BY, INTO
//   tsqldml.cpp          INSERT, UPDATE, DELETE
//   tsqlddl.cpp          CREATE, ALTER, DROP
//
// Each part emits SQLite text as it reads, so an expression's SQL and its T-SQL type travel
// together in an Expr.

#include "host/db/tsql/tsqltranslator.h"

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host::tsql {

// DATEDIFF(dd, ...) between a constant and a date column: the SQL of each.
struct DayDifference
{
    std::string constant;
    std::string column;
    bool columnLast = true; // DATEDIFF(dd, constant, column)
};

struct Expr
{
    std::string sql;
    ColumnType type;
    std::string name;        // output name of a plain column reference
    bool constant = false;   // a literal or a variable
    int literal = -1;        // a bound literal alone, perhaps after a minus: its index
    std::string unrounded{}; // a decimal result: its SQL before rounding to its type's scale
    std::shared_ptr<const DayDifference> days{};
    std::string datedText{}; // CONVERT(DATETIME, a text column): the column's SQL
};

// `left op right` as a range of the date column when left is a DayDifference and right a
// constant number, so that the column is compared as stored (and an index on it serves)
// instead of every row's days being counted; nothing otherwise.
std::optional<std::string> dayRange(const Expr &left, std::string_view op, const Expr &right);

// `left = right` when one side is a text column converted to a date and the other a constant:
// the column compared as stored with the text the system keeps for the date, and only a text
// that differs from it read as a date, so that a row in the system's own form is matched without
// being converted and one in any other form SQL Server reads is still found; nothing otherwise.
std::optional<std::string> storedDateMatch(const Expr &left, std::string_view op,
                                           const Expr &right);

// A string or number literal as SQLite reads it, with the type SQL Server gives it.
struct Literal
{
    Variant value;
    ColumnType type;
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

// The columns an INSERT ... SELECT writes: each select item is stored as its column takes it.
struct InsertTargets
{
    std::string table;
    std::vector<ColumnInfo> columns;
};

struct SelectInfo
{
    std::string sql;
    std::vector<OutputColumn> columns;
    const std::vector<OutputColumn> *unionColumns = nullptr; // of the first SELECT of a UNION
    std::vector<std::string> itemSql; // of the first SELECT, to match a compound ORDER BY
    std::vector<std::string> assignTargets;
    std::string intoTable;
};

// ---- types (tsqltyping.cpp) ----

constexpr int kMaxPrecision = 38;
// The longest text of a type that is not max: 8,000 bytes, or 4,000 characters of an nvarchar.
constexpr int kMaxTextLength = 8000;
constexpr int kMaxNationalLength = 4000;
constexpr size_t kMaxNesting = 200;

ColumnType typeOf(SqlType type, int scale = -1);
ColumnType decimalType(int precision, int scale);
// The result type of a + - * / % b.
ColumnType arithmeticType(const ColumnType &a, const ColumnType &b, char op);
// The type of CASE and COALESCE over branches of these types.
ColumnType commonType(const ColumnType &a, const ColumnType &b);
// A result of CASE or COALESCE, or of a later SELECT of a UNION, as the whole takes it: where
// the whole is a date, a text or a number is read as SQL Server reads it ('' and 0 are
// 1900-01-01), so that every date holds its stored text, which date conditions compare as stored.
Expr branchAs(const Expr &branch, const ColumnType &whole);
// What holds an arithmetic result of this type to it, written around its SQL: nothing, or a
// function that rounds a decimal to its scale or refuses a float that overflowed.
struct NumericHold
{
    std::string open;
    std::string close;
    bool rounds = false;
};
NumericHold numericHold(const ColumnType &type);
// An arithmetic result held to the scale of its type.
Expr numericResult(std::string sql, const ColumnType &type);
// How tsql_divide and tsql_modulo treat their operands.
int divisionKind(const ColumnType &a, const ColumnType &b);
// The SQL of a value converted as SQL Server converts it on assignment to a column; a text too
// long for the column is refused with its name.
std::string storeAs(const Expr &e, const ColumnType &target, const StoreTarget &column);
// The same inside an expression, where a text too long for its type is cut.
std::string convertAs(const Expr &e, const ColumnType &target);
// Whether a value of this type is stored in a column of the target type as it is.
bool storesUnchanged(const ColumnType &from, const ColumnType &target);
// Throws HostError for a number SQL Server refuses.
Literal readLiteral(const Token &t);
// The type readLiteral() gives the shortest plain decimals of a number that is not negative
// (sqlNumber), without writing them.
ColumnType numberType(double magnitude);
// The same for a whole number's digits.
ColumnType wholeType(unsigned long long magnitude);
// Whether a decimal literal of the type, a double read from at most 15 digits, keeps its value
// to its last decimal when negated: its minus needs no rounding to its scale.
inline bool negatesExactly(const ColumnType &type)
{
    constexpr int kExactDigits = 15;
    return type.type == SqlType::Decimal && type.precision <= kExactDigits;
}
// Whether the literal of a number that is not negative holds a whole number (a Long), which its
// digits do when it has no decimals and fit in 64 bits; otherwise it holds the number.
inline bool readsAsWhole(double magnitude)
{
    // Converted there and back rather than floored: this runs for every number a save binds.
    return magnitude < 9223372036854775808.0 &&
           static_cast<double>(static_cast<long long>(magnitude)) == magnitude;
}
// The digits of a whole number without its minus.
inline unsigned long long magnitudeOf(long long whole)
{
    const auto bits = static_cast<unsigned long long>(whole);
    return whole < 0 ? 0 - bits : bits;
}
// The column declaration SELECT ... INTO gives a result of this type.
std::string declarationFor(const ColumnType &type);
bool isTempName(std::string_view name);
bool isReserved(const Token &t);

// The FROM list as SQLite text (tsqlselect.cpp).
std::string emitFrom(const std::vector<FromItem> &items);

class Translator::Impl
{
public:
    Impl(const std::vector<Token> &tokens, size_t begin, size_t end, Schema &schema,
         const Session &session, Literals literals)
        : m_tokens(tokens), m_begin(begin), m_pos(begin), m_end(end), m_schema(schema),
          m_session(session), m_literalMode(literals)
    {}

    Translation statement();
    Query condition();
    Query values();

private:
    // ---- token cursor ----

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
    void skipParenthesized();

    // One level of parentheses, subquery or derived table, counted while it is read: every
    // recursion of the parser passes here, so hostile text cannot reach the stack's end.
    class Nesting
    {
    public:
        explicit Nesting(int &depth);
        ~Nesting() { --m_depth; }
        Nesting(const Nesting &) = delete;
        Nesting &operator=(const Nesting &) = delete;
        [[noreturn]] static void tooDeep();

    private:
        int &m_depth;
    };

    // Literals read while it lives are written into the SQL.
    class InlineLiterals
    {
    public:
        explicit InlineLiterals(bool &bind) : m_bind(bind), m_saved(bind) { m_bind = false; }
        ~InlineLiterals() { m_bind = m_saved; }
        InlineLiterals(const InlineLiterals &) = delete;
        InlineLiterals &operator=(const InlineLiterals &) = delete;

    private:
        bool &m_bind;
        bool m_saved;
    };

    // ---- errors, names, tables (tsqltranslator.cpp) ----

    [[noreturn]] void syntaxError() const;
    [[noreturn]] void unsupported() const;
    std::string nameToken();
    std::string binaryCollation();
    std::pair<std::string, std::string> tableName();
    int newParam(Variant value);
    std::vector<OutputColumn> tableColumns(const std::string &table);
    const std::vector<ColumnInfo> &requireTable(const std::string &name);

    // ---- expressions (tsqlexpressions.cpp) ----

    Expr parseExpression(const Scope *scope);
    Expr parseOr(const Scope *scope);
    Expr parseAnd(const Scope *scope);
    Expr logicalChain(const Scope *scope, std::string_view keyword,
                      Expr (Impl::*operand)(const Scope *));
    Expr parseNot(const Scope *scope);
    Expr parseComparison(const Scope *scope);
    Expr parseAdditive(const Scope *scope);
    Expr parseMultiplicative(const Scope *scope);
    Expr parseUnary(const Scope *scope);
    Expr parsePrimary(const Scope *scope);
    Expr parseCase(const Scope *scope);
    Expr variable(const Token &t);
    Expr literal(size_t index);
    // A bound literal alone in e took only this from its type.
    void relax(const Expr &e, LiteralShape::Use use, const ColumnType &target = {});
    std::vector<Expr> arguments(const Scope *scope);

    // ---- functions (tsqlbuiltins.cpp) ----

    Expr parseFunction(const Scope *scope);
    Expr dateFunction(const Token &name, const Scope *scope);
    Expr convertFunction(const Token &name, const Scope *scope);
    Expr castFunction(const Token &name, const Scope *scope);
    Expr aggregateFunction(const Token &name, const Scope *scope);
    std::string typeText();

    // ---- SELECT (tsqlselect.cpp) ----

    struct CoreResult
    {
        std::string sql;
        std::unique_ptr<Scope> scope;
        std::string limit;
    };

    void selectStatement(Translation &result);
    SelectInfo parseSelect(const Scope *outer, const InsertTargets *targets);
    CoreResult parseSelectCore(const Scope *outer, const InsertTargets *targets, SelectInfo &info,
                               bool first);
    std::string orderTerm(const Scope *scope, const SelectInfo &info, bool compound);
    std::string optionalAlias();
    void expandStar(const ScopeTable &table, std::string &items, SelectInfo &info,
                    const InsertTargets *targets);
    void addItem(const Expr &e, const std::string &name, bool aliased, std::string &items,
                 SelectInfo &info, const InsertTargets *targets);
    std::vector<FromItem> parseFrom(Scope &scope);
    FromItem parseTableSource(Scope &scope);
    std::string joinKeyword();

    // ---- INSERT, UPDATE, DELETE (tsqldml.cpp) ----

    Query insertStatement();
    Query updateStatement();
    Query deleteStatement();

    // ---- CREATE, ALTER, DROP (tsqlddl.cpp) ----

    Query createStatement();
    Query alterStatement();
    void dropStatement(Translation &result);
    std::string columnDefinition(const std::string &table, bool &identity);
    void skipStorageOptions();
    std::string keyColumns();

    const std::vector<Token> &m_tokens;
    size_t m_begin;
    size_t m_pos;
    size_t m_end;
    Schema &m_schema;
    const Session &m_session;
    Literals m_literalMode;
    bool m_bind = false;
    std::vector<BoundLiteral> m_literals;
    std::vector<Variant> *m_params = nullptr;
    int m_depth = 0;
    Token m_endToken;
};

} // namespace host::tsql
