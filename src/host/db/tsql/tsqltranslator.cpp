#include "host/db/tsql/tsqlparser.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"

namespace host::tsql {

Translator::Impl::Nesting::Nesting(int &depth) : m_depth(depth)
{
    if (static_cast<size_t>(++m_depth) > kMaxNesting) {
        --m_depth;
        tooDeep();
    }
}

void Translator::Impl::Nesting::tooDeep()
{
    throw HostError(std::string(kNestedTooDeeply));
}

Translation Translator::Impl::statement()
{
    Translation result;
    const Token &t = peek();
    m_bind = m_literalMode == Literals::Bound &&
             (t.is("SELECT") || t.is("INSERT") || t.is("UPDATE") || t.is("DELETE"));
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
    result.literals = std::move(m_literals);
    return result;
}

Query Translator::Impl::condition()
{
    Scope scope;
    Query q;
    m_params = &q.params;
    const Expr e = parseExpression(&scope);
    expectEnd();
    q.sql = "SELECT CASE WHEN " + e.sql + " THEN 1 ELSE 0 END";
    return q;
}

Query Translator::Impl::values()
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

void Translator::Impl::syntaxError() const
{
    const std::string near = atEnd() ? "the end of the statement" : "'" + peek().text + "'";
    throw HostError("Incorrect syntax near " + near + ".");
}

void Translator::Impl::unsupported() const
{
    throw HostError("The embedded database does not support '" + peek().text + "' here.");
}

std::string Translator::Impl::nameToken()
{
    const Token &t = peek();
    if (!t.isName() || (t.kind == TokenKind::Word && isReserved(t)))
        syntaxError();
    advance();
    return t.text;
}

// A table name without database and schema parts: its plain name and its SQLite text.
std::pair<std::string, std::string> Translator::Impl::tableName()
{
    std::string name = nameToken();
    while (peek().isSymbol(".")) {
        advance();
        while (peek().isSymbol("."))
            advance();
        name = nameToken();
    }
    return {name, sqlName(name)};
}

int Translator::Impl::newParam(Variant value)
{
    m_params->push_back(std::move(value));
    return static_cast<int>(m_params->size());
}

std::vector<OutputColumn> Translator::Impl::tableColumns(const std::string &table)
{
    std::vector<OutputColumn> columns;
    if (const auto *info = m_schema.columns(table)) {
        for (const auto &c : *info)
            columns.push_back({c.name, c.type});
    }
    return columns;
}

const std::vector<ColumnInfo> &Translator::Impl::requireTable(const std::string &name)
{
    const auto *columns = m_schema.columns(name);
    if (!columns)
        throw HostError("Invalid object name '" + name + "'.");
    return *columns;
}

void Translator::Impl::skipParenthesized()
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

Translator::Translator(const std::vector<Token> &tokens, size_t begin, size_t end, Schema &schema,
                       const Session &session, Literals literals)
    : m_impl(std::make_unique<Impl>(tokens, begin, end, schema, session, literals))
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
