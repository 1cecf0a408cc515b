#include "host/db/tsql/tsqlparser.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/text.h"

#include <algorithm>

namespace host::tsql {

namespace {

const ColumnInfo &requireColumn(const std::vector<ColumnInfo> &columns, const std::string &name)
{
    for (const auto &c : columns) {
        if (equalsNoCase(c.name, name))
            return c;
    }
    throw HostError("Invalid column name '" + name + "'.");
}

} // namespace

Query Translator::Impl::insertStatement()
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
        columnList += (columnList.empty() ? "" : ",") + sqlName(c.name);
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
                relax(e, LiteralShape::Use::Stored, types[index]);
                row += (row.empty() ? "" : ",") +
                       storeAs(e, types[index], {table, targets[index].name});
                ++index;
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
        const InsertTargets written{table, targets};
        const SelectInfo select = parseSelect(nullptr, &written);
        if (paren)
            expect(")");
        if (select.columns.size() != types.size())
            throw HostError("The select list for the INSERT statement contains " +
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
Query Translator::Impl::updateStatement()
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
    const auto self =
        std::find_if(from.begin(), from.end(), [&name = target](const FromItem &item) {
            return equalsNoCase(item.alias, name);
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
        relax(value, LiteralShape::Use::Stored, info.type);
        assignments += (assignments.empty() ? "" : ", ") + sqlName(info.name) + " = " +
                       storeAs(value, info.type, {table, info.name});
    } while (accept(","));
    expectEnd();
    m_end = savedEnd;
    m_pos = afterFrom;

    if (acceptWord("WHERE"))
        conditions.push_back(parseExpression(&scope).sql);
    q.sql = "UPDATE " + sqlName(table);
    if (!equalsNoCase(alias, table))
        q.sql += " AS " + sqlName(alias);
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

Query Translator::Impl::deleteStatement()
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
        const auto self =
            std::find_if(from.begin(), from.end(), [&name = target](const FromItem &item) {
                return equalsNoCase(item.alias, name);
            });
        if (self == from.end() || self->table.empty())
            unsupported();
        std::string sql = "DELETE FROM " + sqlName(self->table) + " WHERE rowid IN (SELECT " +
                          sqlName(self->alias) + ".rowid FROM " + emitFrom(from);
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

} // namespace host::tsql
