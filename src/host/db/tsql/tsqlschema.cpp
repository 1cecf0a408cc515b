#include "host/db/tsql/tsqlschema.h"

#include "host/core/text.h"
#include "host/db/sqlite/sqlitedb.h"

namespace host::tsql {

namespace {

long long pragmaValue(sqlite3 *db, const char *sql)
{
    sqlite::Statement stmt(db, sql);
    return stmt.step() ? sqlite3_column_int64(stmt.handle(), 0) : 0;
}

} // namespace

void Schema::refresh()
{
    const long long version = pragmaValue(m_db, "PRAGMA main.schema_version") * 1000003 +
                              pragmaValue(m_db, "PRAGMA temp.schema_version");
    if (version != m_version)
        invalidate();
    m_version = version;
}

const std::vector<ColumnInfo> *Schema::columns(std::string_view table)
{
    const std::string key = toUpper(table);
    auto it = m_tables.find(key);
    if (it == m_tables.end()) {
        std::vector<ColumnInfo> columns;
        sqlite::Statement stmt(m_db, "SELECT name, type, pk FROM pragma_table_info(?)");
        stmt.bind(1, Variant(std::string(table)));
        while (stmt.step()) {
            ColumnInfo info;
            info.name = reinterpret_cast<const char *>(sqlite3_column_text(stmt.handle(), 0));
            const auto *declared =
                reinterpret_cast<const char *>(sqlite3_column_text(stmt.handle(), 1));
            const std::string declaredType = declared ? declared : "";
            info.type = parseColumnType(declaredType);
            info.identity = declaredType == "INTEGER" && sqlite3_column_int(stmt.handle(), 2) > 0;
            columns.push_back(std::move(info));
        }
        std::optional<std::vector<ColumnInfo>> entry;
        if (!columns.empty())
            entry = std::move(columns);
        it = m_tables.emplace(key, std::move(entry)).first;
    }
    return it->second ? &*it->second : nullptr;
}

} // namespace host::tsql
