#pragma once

#include "host/db/sqlite/storage.h"

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host::tsql {

struct ColumnInfo
{
    std::string name;
    ColumnType type;
    bool identity = false;
};

// Column names and declared types of the tables and views the layer translates against,
// read from SQLite and cached until the schema changes.
class Schema
{
public:
    explicit Schema(sqlite3 *db) : m_db(db) {}

    // Nothing when no such table or view exists (temp tables included).
    const std::vector<ColumnInfo> *columns(std::string_view table);
    // Drops the cache when SQLite's schema version moved since the last call.
    void refresh();
    void invalidate()
    {
        m_tables.clear();
        ++m_generation;
    }
    // Reads the schema of the connection given from now on.
    void rebind(sqlite3 *db)
    {
        m_db = db;
        m_version = -1;
        invalidate();
    }
    // Moves on at every invalidation: what was read of the schema before may no longer hold.
    std::uint64_t generation() const { return m_generation; }

private:
    sqlite3 *m_db;
    std::map<std::string, std::optional<std::vector<ColumnInfo>>> m_tables; // by folded name
    long long m_version = -1;
    std::uint64_t m_generation = 0;
};

} // namespace host::tsql
