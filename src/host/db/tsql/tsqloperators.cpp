#include "host/db/tsql/tsqlparser.h"

#include "host/core/hosterror.h"

#include <algorithm>

namespace host::tsql {

namespace {

// A chain of binary operators, which SQLite reads left-deep: ((a + b) - c) + ... Each operator
// wraps the text so far in an opening and a closing text. They are kept apart and the whole is
// written once at the end, so that a long chain costs its length and not its length squared.
class Chain
{
public:
    explicit Chain(Expr first) : m_first(std::move(first)) {}

    const ColumnType &type() const { return m_ends.empty() ? m_first.type : m_type; }

    // open + the chain so far + close, of this type. A chain longer than SQLite takes is refused
    // here, before the rest is read.
    void wrap(std::string_view open, std::string_view close, const ColumnType &type)
    {
        if (++m_terms > kMaxExpressionDepth)
            throw HostError(std::string(kExpressionTooDeep));
        push(open, close);
        m_type = type;
        m_rounded = false;
    }

    // The same for an arithmetic result, held to its type as numericResult() holds it.
    void wrapNumeric(std::string_view open, std::string_view close, const ColumnType &type)
    {
        wrap(open, close, type);
        const NumericHold hold = numericHold(type);
        if (hold.open.empty())
            return;
        push(hold.open, hold.close);
        m_rounded = hold.rounds;
    }

    Expr result() &&
    {
        if (m_ends.empty())
            return std::move(m_first);
        Expr e{text(m_ends.size()), m_type, {}};
        if (m_rounded)
            e.unrounded = text(m_ends.size() - 1);
        return e;
    }

private:
    struct End
    {
        size_t open;
        size_t close;
    };

    void push(std::string_view open, std::string_view close)
    {
        m_opens += open;
        m_closes += close;
        m_ends.push_back({m_opens.size(), m_closes.size()});
    }

    // The first operand inside its first `wraps` wraps.
    std::string text(size_t wraps) const
    {
        const End all = wraps == 0 ? End{0, 0} : m_ends[wraps - 1];
        std::string sql;
        sql.reserve(all.open + m_first.sql.size() + all.close);
        for (size_t i = wraps; i-- > 0;) {
            const size_t begin = i == 0 ? 0 : m_ends[i - 1].open;
            sql.append(m_opens, begin, m_ends[i].open - begin);
        }
        sql += m_first.sql;
        sql.append(m_closes, 0, all.close);
        return sql;
    }

    Expr m_first;
    std::string m_opens;  // innermost first
    std::string m_closes; // innermost first
    std::vector<End> m_ends;
    ColumnType m_type;
    size_t m_terms = 1;
    bool m_rounded = false;
};

// Two texts joined as SQL Server joins them: unless one is of a max type, the result is cut at
// 8,000 bytes, or at 4,000 characters when either is an nvarchar.
void concatenate(Chain &left, const Expr &right)
{
    const ColumnType &l = left.type();
    ColumnType type = typeOf(SqlType::Text);
    type.national = l.national || right.type.national;
    type.max = l.max || right.type.max;
    const std::string joined = " || " + right.sql + ")";
    if (type.max) {
        left.wrap("(", joined, type);
        return;
    }
    const int limit = type.national ? kMaxNationalLength : kMaxTextLength;
    if (l.length >= 0 && right.type.length >= 0 && l.length + right.type.length <= limit) {
        type.length = l.length + right.type.length;
        left.wrap("(", joined, type);
        return;
    }
    type.length = limit;
    left.wrap("tsql_text((",
              joined + "," + std::to_string(limit) + "," + (type.national ? "1" : "0") + ")", type);
}

void add(Chain &left, const Expr &right)
{
    const SqlType l = left.type().type;
    const SqlType r = right.type.type;
    if (isNumericType(l) && isNumericType(r))
        left.wrapNumeric("(", " + " + right.sql + ")",
                         arithmeticType(left.type(), right.type, '+'));
    else if (l == SqlType::DateTime && r != SqlType::DateTime && r != SqlType::Text)
        left.wrap("tsql_dateadd('dd'," + right.sql + ",", ")", typeOf(SqlType::DateTime));
    else if (r == SqlType::DateTime && l != SqlType::DateTime && l != SqlType::Text)
        left.wrap("tsql_dateadd('dd',", "," + right.sql + ")", typeOf(SqlType::DateTime));
    else if (l == SqlType::Text && r == SqlType::Text)
        concatenate(left, right);
    else
        left.wrap("tsql_add(", "," + right.sql + ")", {});
}

void subtract(Chain &left, const Expr &right)
{
    if (left.type().type == SqlType::DateTime && right.type.type != SqlType::DateTime &&
        right.type.type != SqlType::Text)
        left.wrap("tsql_dateadd('dd',-(" + right.sql + "),", ")", typeOf(SqlType::DateTime));
    else
        left.wrapNumeric("(", " - " + right.sql + ")",
                         arithmeticType(left.type(), right.type, '-'));
}

// SQLite reads terms joined by AND or OR as a chain as deep as it is long. Up to this many are
// joined as they stand; more are joined in parenthesized groups of as many, nested as far as
// needed, so that the tree stays shallow however many terms there are.
constexpr size_t kFlatTerms = 64;

void joinGroups(std::string &sql, const std::vector<std::string> &terms, size_t begin, size_t end,
                size_t span, std::string_view op)
{
    for (size_t i = begin; i < end; i += span) {
        if (i > begin)
            sql += op;
        const size_t last = std::min(i + span, end);
        if (last - i == 1) {
            sql += terms[i];
        } else {
            sql += '(';
            joinGroups(sql, terms, i, last, span / kFlatTerms, op);
            sql += ')';
        }
    }
}

// Both operators are associative in SQL's logic of three values, and SQLite evaluates the terms
// left to right with or without the groups: they change neither the result, NULL included, nor
// which terms are evaluated.
std::string joinLogical(const std::vector<std::string> &terms, std::string_view op)
{
    size_t span = 1;
    while ((terms.size() + span - 1) / span > kFlatTerms)
        span *= kFlatTerms;
    size_t length = 0;
    for (const auto &term : terms)
        length += term.size() + op.size() + 2;
    std::string sql;
    sql.reserve(length);
    joinGroups(sql, terms, 0, terms.size(), span, op);
    return sql;
}

} // namespace

Expr Translator::Impl::parseOr(const Scope *scope)
{
    return logicalChain(scope, "OR", &Impl::parseAnd);
}

Expr Translator::Impl::parseAnd(const Scope *scope)
{
    return logicalChain(scope, "AND", &Impl::parseNot);
}

Expr Translator::Impl::logicalChain(const Scope *scope, std::string_view keyword,
                                    Expr (Impl::*operand)(const Scope *))
{
    Expr first = (this->*operand)(scope);
    if (!peek().is(keyword))
        return first;
    std::vector<std::string> terms;
    terms.push_back(std::move(first.sql));
    while (acceptWord(keyword))
        terms.push_back((this->*operand)(scope).sql);
    return {joinLogical(terms, " " + std::string(keyword) + " "), typeOf(SqlType::Int), {}};
}

Expr Translator::Impl::parseAdditive(const Scope *scope)
{
    Chain chain(parseMultiplicative(scope));
    for (;;) {
        if (accept("+")) {
            add(chain, parseMultiplicative(scope));
        } else if (accept("-")) {
            subtract(chain, parseMultiplicative(scope));
        } else if (accept("&")) {
            chain.wrap("(", " & " + parseMultiplicative(scope).sql + ")", typeOf(SqlType::Int));
        } else if (accept("|")) {
            chain.wrap("(", " | " + parseMultiplicative(scope).sql + ")", typeOf(SqlType::Int));
        } else {
            return std::move(chain).result();
        }
    }
}

Expr Translator::Impl::parseMultiplicative(const Scope *scope)
{
    Chain chain(parseUnary(scope));
    for (;;) {
        char op = 0;
        if (accept("*"))
            op = '*';
        else if (accept("/"))
            op = '/';
        else if (accept("%"))
            op = '%';
        else
            return std::move(chain).result();
        const Expr right = parseUnary(scope);
        const ColumnType type = arithmeticType(chain.type(), right.type, op);
        if (op == '*')
            chain.wrapNumeric("(", " * " + right.sql + ")", type);
        else
            chain.wrapNumeric(op == '/' ? "tsql_divide(" : "tsql_modulo(",
                              "," + right.sql + "," +
                                  std::to_string(divisionKind(chain.type(), right.type)) + ")",
                              type);
    }
}

} // namespace host::tsql
