#pragma once

#include "host/core/variant.h"
#include "host/db/sqlite/storage.h"
#include "host/db/tsql/tsqllexer.h"
#include "host/db/tsql/tsqlschema.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host::tsql {

struct OutputColumn
{
    std::string name;
    ColumnType type;
};

// One SQLite statement with the values of the T-SQL variables it reads.
struct Query
{
    std::string sql;
    std::vector<Variant> params;       // bound to ?1, ?2, ... in order
    std::vector<OutputColumn> columns; // for a statement that yields rows
};

struct Variable
{
    ColumnType type;
    Variant value; // as stored for its type (dates as their stored text)
};

// Connection state that statements read: variables, SET options, the last row count.
struct Session
{
    std::map<std::string, Variable> variables; // by uppercase name with '@'
    int dateFirst = 7;
    long long rowCount = 0;
    int tranCount = 0;
};

// What a translation took from the type of a literal it bound as a parameter. Another value of
// the literal that gives the same can reuse the translation with that value bound instead.
struct LiteralShape
{
    enum class Use
    {
        Typed,    // its whole type (length, digits and decimals)
        Compared, // compared with a value: text or number, an integer's width
        Stored    // assigned to a column of type target: whether it converts there
    };
    Use use = Use::Typed;
    ColumnType type;
    ColumnType target;
    // Written after a minus, whose SQL holds a decimal's scale unless the decimal negates
    // exactly (negatesExactly).
    bool negated = false;

    bool admits(const ColumnType &other) const;
};

struct BoundLiteral
{
    size_t token; // counted from the statement's first token
    int param;    // its ?param in the statement's one step
    LiteralShape shape;
};

// What one T-SQL statement becomes.
struct Translation
{
    std::vector<Query> steps;
    int resultStep = -1;                    // the step whose rows the statement yields
    std::vector<std::string> assignTargets; // SELECT @a = ..., @b = ...: the variables
    bool changesSchema = false;
    std::vector<BoundLiteral> literals; // of a SELECT, INSERT, UPDATE or DELETE
};

// The refusal of a statement nested deeper than the embedded database goes (SQL Server goes
// deeper: SQLite's parser holds about 30 levels of subqueries).
inline constexpr std::string_view kNestedTooDeeply =
    "The statement is nested too deeply for the embedded database; write it with fewer nested "
    "levels.";

// SQLite reads a chain of operators (a + b + c ...) as a tree as deep as the chain is long, and
// refuses an expression deeper than this (its default SQLITE_MAX_EXPR_DEPTH, which this program
// keeps). The refusal of one, whichever of the two sees it first, names the limit.
inline constexpr size_t kMaxExpressionDepth = 1000;
inline constexpr std::string_view kExpressionTooDeep =
    "The expression is too deep for the embedded database, which takes at most 1000 levels of "
    "operators (each term of a chain such as a + b + c is one); write it with fewer terms.";

// Literals of SELECT, INSERT, UPDATE and DELETE are bound as parameters where SQLite reads a
// parameter as it reads the literal (not in GROUP BY and ORDER BY, where a number is a column),
// so that statements that differ only in their values share one translation and one prepared
// statement. Inline writes every literal into the SQL.
enum class Literals
{
    Bound,
    Inline
};

// Translates the tokens [begin, end) of one statement to SQLite. It covers what the module and
// the host stand-ins send: SELECT (DISTINCT, TOP n, alias = expr, INTO #temp or a table, inner,
// outer and cross joins, derived tables, GROUP BY, HAVING, UNION [ALL], ORDER BY), INSERT
// VALUES/SELECT, UPDATE [alias] SET ... FROM with inner joins, DELETE [alias FROM join],
// CREATE TABLE/INDEX/VIEW, ALTER TABLE ADD, DROP TABLE/VIEW/INDEX, TRUNCATE TABLE, and SQL
// Server's operators and functions with their types (texts joined by +, date arithmetic, texts
// compared under the TSQL collation, values converted on assignment as SQL Server converts
// them, decimal results rounded to the scale SQL Server gives them, integer quotients truncated,
// a zero divisor an error). Anything else throws HostError.
class Translator
{
public:
    Translator(const std::vector<Token> &tokens, size_t begin, size_t end, Schema &schema,
               const Session &session, Literals literals = Literals::Bound);
    ~Translator();
    Translator(const Translator &) = delete;
    Translator &operator=(const Translator &) = delete;

    // SELECT, INSERT, UPDATE, DELETE, CREATE, DROP, TRUNCATE.
    Translation translateStatement();
    // A condition, as "SELECT CASE WHEN cond THEN 1 ELSE 0 END".
    Query translateCondition();
    // Comma-separated expressions up to the end, as one "SELECT a, b, ...".
    Query translateValues();

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace host::tsql
