#include "host/db/tsql/tsqlparser.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"

namespace host::tsql {

Query Translator::Impl::createStatement()
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
                if (keys != sqlName(identityColumn))
                    element = "PRIMARY KEY (" + keys + ")";
            } else if (acceptWord("UNIQUE")) {
                acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                element = "UNIQUE (" + keyColumns() + ")";
            } else {
                bool identity = false;
                const size_t at = m_pos;
                element = columnDefinition(name, identity);
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
        const std::string indexName = sqlName(table + "." + index);
        q.sql = std::string(unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                (isTempName(table) ? "temp." : "") + indexName + " ON " + tableSql + " (" + keys +
                ")";
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

Query Translator::Impl::alterStatement()
{
    Query q;
    m_params = &q.params;
    expectWord("ALTER");
    expectWord("TABLE");
    const auto [name, sql] = tableName();
    expectWord("ADD");
    bool identity = false;
    q.sql = "ALTER TABLE " + sql + " ADD COLUMN " + columnDefinition(name, identity);
    if (identity)
        unsupported();
    return q;
}

void Translator::Impl::dropStatement(Translation &result)
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
                    (isTempName(table) ? "temp." : "") + sqlName(table + "." + index);
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

// One column of CREATE TABLE or ALTER TABLE ADD.
std::string Translator::Impl::columnDefinition(const std::string &table, bool &identity)
{
    const std::string name = nameToken();
    const std::string type = typeText();
    const ColumnType columnType = parseColumnType(type);
    if (columnType.type == SqlType::Unknown)
        throw HostError("Column, parameter, or variable #1: Cannot find data type " + type +
                        " among the types the embedded database supports.");
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
            options += " DEFAULT (" + storeAs(value, columnType, {table, name}) + ")";
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
        } else if (acceptWord("CONSTRAINT") || acceptWord("COLLATE")) {
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
    return sqlName(name) + " " + declared + options;
}

// WITH (index options) and ON filegroup: storage settings that SQLite has no use for.
void Translator::Impl::skipStorageOptions()
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

std::string Translator::Impl::keyColumns()
{
    expect("(");
    std::string list;
    do {
        list += (list.empty() ? "" : ",") + sqlName(nameToken());
        if (acceptWord("DESC"))
            list += " DESC";
        else
            acceptWord("ASC");
    } while (accept(","));
    expect(")");
    return list;
}

} // namespace host::tsql
