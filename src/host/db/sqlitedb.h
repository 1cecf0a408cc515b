#pragma once

#include "host/core/variant.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace host::sqlite {

// Throws HostError carrying SQLite's message (and the SQL text when given) unless rc is OK.
void check(sqlite3 *db, int rc, std::string_view sql = {});

// One open SQLite connection; closed in the destructor.
class Database
{
public:
    explicit Database(const std::string &path);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    sqlite3 *handle() const { return m_db; }
    // Runs statements that return no rows.
    void exec(const std::string &sql);

private:
    sqlite3 *m_db = nullptr;
};

// A prepared statement, finalized in the destructor.
class Statement
{
public:
    Statement(sqlite3 *db, std::string_view sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Binds 1-based parameter index; dates are bound as the stored date text.
    void bind(int index, const Variant &value);
    // True while a row is available.
    bool step();
    void reset();
    int columnCount() const { return sqlite3_column_count(m_stmt); }
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    std::string m_sql;
};

// Rolls back in its destructor unless committed; never throws from there.
class Transaction
{
public:
    explicit Transaction(sqlite3 *db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    sqlite3 *m_db;
    bool m_done = false;
};

} // namespace host::sqlite
