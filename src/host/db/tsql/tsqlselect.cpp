#include "host/db/tsql/tsqlparser.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/text.h"

#include <algorithm>

namespace host::tsql {

namespace {

const ScopeTable *findTable(const Scope *scope, std::string_view qualifier)
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

bool endsSelectList(const Token &t)
{
    return t.is("INTO") || t.is("FROM") || t.is("WHERE") || t.is("GROUP") || t.is("HAVING") ||
           t.is("ORDER") || t.is("UNION") || t.is("EXCEPT") || t.is("INTERSECT") || t.is("OPTION");
}

} // namespace

void Translator::Impl::selectStatement(Translation &result)
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
            throw HostError("Column names in each table must be unique. Column name '" + c.name +
                            "' in table '" + info.intoTable + "' is specified more than once.");
        seen.push_back(c.name);
        columns += (columns.empty() ? "" : ", ") + sqlName(c.name);
        const std::string declared = declarationFor(c.type);
        if (!declared.empty())
            columns += " " + declared;
    }
    if (m_schema.columns(info.intoTable))
        throw HostError("There is already an object named '" + info.intoTable +
                        "' in the database.");
    Query create;
    create.sql = std::string(isTempName(info.intoTable) ? "CREATE TEMP TABLE " : "CREATE TABLE ") +
                 sqlName(info.intoTable) + " (" + columns + ")";
    q.sql = "INSERT INTO " + sqlName(info.intoTable) + " " + info.sql;
    result.steps.push_back(std::move(create));
    result.steps.push_back(std::move(q));
    result.changesSchema = true;
}

SelectInfo Translator::Impl::parseSelect(const Scope *outer, const InsertTargets *targets)
{
    const Nesting nesting(m_depth);
    SelectInfo info;
    CoreResult core = parseSelectCore(outer, targets, info, true);
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
        sql += op + parseSelectCore(outer, targets, info, false).sql;
    }
    if (acceptWord("ORDER")) {
        expectWord("BY");
        const InlineLiterals ordinals(m_bind);
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

Translator::Impl::CoreResult Translator::Impl::parseSelectCore(const Scope *outer,
                                                               const InsertTargets *targets,
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
    local.unionColumns = &info.columns;
    SelectInfo &target = first ? info : local;
    for (;;) {
        if (atEnd())
            syntaxError();
        if (accept("*")) {
            if (core.scope->tables.empty())
                throw HostError("Must specify table to select from.");
            for (const auto &t : core.scope->tables)
                expandStar(t, items, target, targets);
        } else if (peek().isName() && peek(1).isSymbol(".") && peek(2).isSymbol("*")) {
            const std::string qualifier = nameToken();
            advance();
            advance();
            const ScopeTable *table = findTable(core.scope.get(), qualifier);
            if (!table)
                throw HostError("The column prefix '" + qualifier +
                                "' does not match with a table name or alias name used in "
                                "the query.");
            expandStar(*table, items, target, targets);
        } else if (peek().kind == TokenKind::Variable && peek(1).isSymbol("=")) {
            const Token &variableToken = advance();
            if (!m_session.variables.contains(toUpper(variableToken.text)))
                throw HostError("Must declare the scalar variable \"" + variableToken.text + "\".");
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
            addItem(e, alias, true, items, target, targets);
        } else {
            const Expr e = parseExpression(core.scope.get());
            const std::string alias = optionalAlias();
            addItem(e, alias.empty() ? e.name : alias, !alias.empty(), items, target, targets);
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
        const InlineLiterals ordinals(m_bind);
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

std::string Translator::Impl::orderTerm(const Scope *scope, const SelectInfo &info, bool compound)
{
    // A bare name that is an output column sorts by that column, named by its place: SQLite
    // would take a column of the joined tables of that name first, or call it ambiguous, unless
    // the output column has an alias. A name that two output columns share stays a name, sorted
    // as it always was.
    if (peek().isName() && !peek(1).isSymbol(".") && !peek(1).isSymbol("(")) {
        const std::string name = peek().text;
        const auto named = [&name](const OutputColumn &c) { return equalsNoCase(c.name, name); };
        const auto found = std::find_if(info.columns.begin(), info.columns.end(), named);
        if (found != info.columns.end()) {
            advance();
            const std::string collate = found->type.type == SqlType::Text ? " COLLATE TSQL" : "";
            if (compound || std::count_if(found, info.columns.end(), named) == 1)
                return std::to_string(found - info.columns.begin() + 1) + collate;
            return sqlName(name) + collate;
        }
    }
    if (peek().kind == TokenKind::Number &&
        (peek(1).isSymbol(",") || peek(1).is("ASC") || peek(1).is("DESC") || m_pos + 1 >= m_end))
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

std::string Translator::Impl::optionalAlias()
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

void Translator::Impl::expandStar(const ScopeTable &table, std::string &items, SelectInfo &info,
                                  const InsertTargets *targets)
{
    for (const auto &c : table.columns) {
        Expr e{sqlName(table.alias) + "." + sqlName(c.name), c.type, c.name};
        addItem(e, c.name, false, items, info, targets);
    }
}

void Translator::Impl::addItem(const Expr &e, const std::string &name, bool aliased,
                               std::string &items, SelectInfo &info, const InsertTargets *targets)
{
    const size_t index = info.columns.size();
    const Expr item = info.unionColumns && index < info.unionColumns->size()
                          ? branchAs(e, (*info.unionColumns)[index].type)
                          : e;
    std::string sql = item.sql;
    if (targets && index < targets->columns.size()) {
        const ColumnInfo &column = targets->columns[index];
        sql = storeAs(item, column.type, {targets->table, column.name});
    }
    if (aliased || sql != e.sql)
        sql += " AS " + sqlName(name);
    items += (items.empty() ? "" : ", ") + sql;
    info.columns.push_back({name, e.type});
    info.itemSql.push_back(e.sql);
}

std::vector<FromItem> Translator::Impl::parseFrom(Scope &scope)
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

FromItem Translator::Impl::parseTableSource(Scope &scope)
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
        item.source = "(" + sub.sql + ") AS " + sqlName(item.alias);
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
        item.source += " AS " + sqlName(item.alias);
    if (!m_schema.columns(name))
        throw HostError("Invalid object name '" + name + "'.");
    scope.tables.push_back({item.alias, name, tableColumns(name)});
    return item;
}

std::string Translator::Impl::joinKeyword()
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

std::string emitFrom(const std::vector<FromItem> &items)
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

} // namespace host::tsql
