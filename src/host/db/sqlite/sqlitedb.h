#pragma once

#include "host/core/variant.h"
#include "host/db/sqlite/filestamp.h"

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace host::sqlite {

// Throws HostError carrying SQLite's message (and the SQL text when given) for the code rc.
[[noreturn]] void throwError(sqlite3 *db, int rc, std::string_view sql);
// The same unless rc is OK.
inline void check(sqlite3 *db, int rc, std::string_view sql = {})
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throwError(db, rc, sql);
}

// Turns off, for the connection, the optimisations that compare a text's bytes where its
// collation compares otherwise: SQLite 3.40's Bloom filter over an automatic index hashes the
// bytes, so a join drops the rows equal only under the collation (trailing blanks).
void guardConnection(sqlite3 *db);
// The same for every connection the process opens from now on, its own and those of any library
// in it. Database calls it before it opens; a program that opens SQLite by other means calls it
// first. Calling it again does nothing.
void guardEveryConnection();

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

    // Whether the file is read as one nobody changes (see the constructor), and so must be read
    // afresh once another program changed it.
    bool isImmutable() const { return m_stamp.has_value(); }
    // Whether a file read as immutable was changed since it was opened: what the connection read
    // before no longer goes with what it would read now.
    bool changedSinceOpened() const;
    // Opens the file again, choosing how as the constructor does, and closes the connection it
    // had: what was made on that one (statements, functions, settings) goes with it. Throws
    // HostError when the file cannot be opened, and keeps the connection it had.
    void reopen();

private:
    // Opens m_path, choosing how.
    void openFile();
    // Opens the file at m_path by the name SQLite is given.
    void open(const std::string &name, int mode);

    std::string m_path;
    sqlite3 *m_db = nullptr;
    // How a file opened as immutable looked just before.
    std::optional<FileStamp> m_stamp;
};

// A prepared statement, finalized in the destructor; or one borrowed from a StatementCache,
// reset in the destructor instead, whose values stay bound until its next user binds each one.
class Statement
{
public:
    Statement(sqlite3 *db, std::string_view sql);
    Statement(sqlite3 *db, sqlite3_stmt *borrowed);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Binds 1-based parameter index; dates are bound as the stored date text.
    void bind(int index, const Variant &value);
    // The same for a value that outlives the statement's use (until it is reset), which SQLite
    // then reads where it is instead of copying it.
    void bindKept(int index, const Variant &value);
    // The same for values of one type; a text bound so is read where it is, as by bindKept().
    void bindWhole(int index, long long value);
    void bindNumber(int index, double value);
    void bindText(int index, std::string_view text);
    // Binds NULL from the parameter on: a kept statement still holds the values of its last run.
    void bindNullFrom(int index);
    // True while a row is available.
    bool step();
    // Ready to run again, its values still bound.
    void reset();
    int columnCount() const { return sqlite3_column_count(m_stmt); }
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_owned = true;
};

// Prepared statements kept by their SQL text, so a statement that runs again is not prepared
// again; past the capacity the least recently used is finalized. SQLite prepares a kept
// statement anew by itself when the schema it was made for changes.
class StatementCache
{
public:
    StatementCache(sqlite3 *db, size_t capacity);
    ~StatementCache();
    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;

    // The statement for the text, to be used through Statement(db, borrowed) and not kept.
    sqlite3_stmt *prepare(const std::string &sql);
    // The same for a text that the caller names by a number no other text ever has, which is
    // found without reading the text again.
    sqlite3_stmt *prepare(std::uint64_t id, const std::string &sql);
    // Finalizes every kept statement; those prepared from now on are the connection's given.
    void rebind(sqlite3 *db);

private:
    struct Entry
    {
        sqlite3_stmt *stmt;
        std::uint64_t lastUse;
    };
    sqlite3 *m_db;
    size_t m_capacity;
    std::uint64_t m_uses = 0;
    std::unordered_map<std::string, Entry> m_entries;
    // Entries by their caller's number, until any statement is finalized.
    std::unordered_map<std::uint64_t, Entry *> m_byId;
};

// The one transaction of an SQLite connection: the T-SQL layer's BEGIN TRAN ... COMMIT, a batch
// that groups its writes and a bulk load all run in one. It takes the write lock when it begins
// (every transaction here writes, and one that read first could only fail once it writes, where
// this one waits for another writer). Unless commit() succeeded it rolls back when rolled back
// or destroyed, and never throws from there. One at a time per connection.
class Transaction
{
public:
    // Throws HostError when the database cannot be locked for writing.
    explicit Transaction(sqlite3 *db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Throws HostError when the commit fails; the transaction is then still to be rolled back.
    void commit();
    void rollback() noexcept;
    // False once committed or rolled back, also when SQLite rolled back by itself on an error
    // (a full disk, a lost lock).
    bool isOpen() const;

private:
    sqlite3 *m_db;
    bool m_done = false;
};

} // namespace host::sqlite
