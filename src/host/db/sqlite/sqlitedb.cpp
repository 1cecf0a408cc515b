#include "host/db/sqlite/sqlitedb.h"

#include "host/core/hosterror.h"
#include "host/db/sqlite/storage.h"

#include <unistd.h>

#include <filesystem>

namespace host::sqlite {

namespace {

// Whether the file's folder takes no new file: neither a journal nor a write-ahead log and its
// shared memory can be made beside the file.
bool inReadOnlyFolder(const std::string &path)
{
    const std::filesystem::path folder = std::filesystem::absolute(path).parent_path();
    return ::access(folder.c_str(), W_OK) != 0;
}

// The file opened as immutable: read without the shared memory a write-ahead log needs, which a
// folder that takes no new file cannot hold, and without locks, as nobody who may not write
// there changes the file.
std::string immutableUri(const std::string &path)
{
    std::string uri = "file://";
    for (const char c : std::filesystem::absolute(path).string()) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789abcdef";
            const auto byte = static_cast<unsigned char>(c);
            uri += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

// The HostError number of an SQLite result code, primary or extended. The database's own
// failures get numbers of their own, so that they are not taken for the host's conversion errors
// whose numbers SQLite's codes share; every other code is kept.
long sqliteErrorNumber(int resultCode)
{
    if (resultCode == SQLITE_READONLY_DBMOVED)
        return HostError::DatabaseMoved;
    switch (resultCode & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return HostError::DatabaseBusy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return HostError::DatabaseReadOnly;
    case SQLITE_FULL:
        return HostError::DatabaseFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return HostError::DatabaseDamaged;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return HostError::DatabaseUnavailable;
    default:
        return resultCode;
    }
}

// SQLite's switches of the Bloom filter and of its push-down into subqueries.
constexpr unsigned kBloomFilter = 0x00080000;
constexpr unsigned kBloomPulldown = 0x00100000;

int guardOpened(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    guardConnection(db);
    return SQLITE_OK;
}

} // namespace

void guardConnection(sqlite3 *db)
{
    sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, db, kBloomFilter | kBloomPulldown);
}

void guardEveryConnection()
{
    // The entry point's type as SQLite declares it for every extension.
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&guardOpened));
}

void throwError(sqlite3 *db, int rc, std::string_view sql)
{
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    if (!sql.empty())
        message += "\nSQL: " + std::string(sql);
    // The extended code tells a file moved away from one that is read-only.
    throw HostError(message, sqliteErrorNumber(db ? sqlite3_extended_errcode(db) : rc));
}

Database::Database(const std::string &path) : m_path(path)
{
    openFile();
}

void Database::openFile()
{
    m_stamp.reset();
    // A file the user may only read, or that lies in a folder the user may not write, is opened
    // for reading: it can be queried, and nothing tries to write beside it.
    const bool exists = ::access(m_path.c_str(), F_OK) == 0;
    const bool readOnlyFolder = exists && inReadOnlyFolder(m_path);
    const bool readOnly = exists && (readOnlyFolder || ::access(m_path.c_str(), W_OK) != 0);
    open(m_path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    // A file in write-ahead mode cannot be read there unless its writer left the log's shared
    // memory beside it. Without a log it is whole in itself; a log left beside it would be
    // passed over, so its failure stands. Another user who may write there may still change
    // it: how it looked is kept, to tell.
    if (readOnlyFolder &&
        sqlite3_exec(m_db, "PRAGMA schema_version", nullptr, nullptr, nullptr) != SQLITE_OK &&
        !std::filesystem::exists(m_path + "-wal")) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        const auto stamp = FileStamp::settled(m_path);
        open(immutableUri(m_path), SQLITE_OPEN_READONLY);
        m_stamp = stamp;
    }
    sqlite3_extended_result_codes(m_db, 0);
}

void Database::open(const std::string &name, int mode)
{
    guardEveryConnection();
    const int rc =
        sqlite3_open_v2(name.c_str(), &m_db, mode | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw HostError("Cannot open the database '" + m_path + "': " + message,
                        sqliteErrorNumber(rc));
    }
}

bool Database::changedSinceOpened() const
{
    return m_stamp && FileStamp::of(m_path) != m_stamp;
}

void Database::reopen()
{
    sqlite3 *const old = m_db;
    const auto stamp = m_stamp;
    m_db = nullptr;
    try {
        openFile();
    } catch (const HostError &) {
        m_db = old;
        m_stamp = stamp;
        throw;
    }
    sqlite3_close_v2(old);
}

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

void Database::exec(const std::string &sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw HostError(message + "\nSQL: " + sql, sqliteErrorNumber(rc));
    }
}

Statement::Statement(sqlite3 *db, std::string_view sql) : m_db(db)
{
    check(m_db,
          sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr));
}

Statement::Statement(sqlite3 *db, sqlite3_stmt *borrowed)
    : m_db(db), m_stmt(borrowed), m_owned(false)
{}

Statement::~Statement()
{
    if (m_owned) {
        sqlite3_finalize(m_stmt);
        return;
    }
    sqlite3_reset(m_stmt);
}

StatementCache::StatementCache(sqlite3 *db, size_t capacity) : m_db(db), m_capacity(capacity) {}

StatementCache::~StatementCache()
{
    rebind(nullptr);
}

void StatementCache::rebind(sqlite3 *db)
{
    for (const auto &[sql, entry] : m_entries)
        sqlite3_finalize(entry.stmt);
    m_entries.clear();
    m_byId.clear();
    m_db = db;
}

sqlite3_stmt *StatementCache::prepare(const std::string &sql)
{
    const auto found = m_entries.find(sql);
    if (found != m_entries.end()) {
        found->second.lastUse = ++m_uses;
        return found->second.stmt;
    }
    sqlite3_stmt *stmt = nullptr;
    check(m_db, sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr));
    if (m_entries.size() >= m_capacity) {
        auto oldest = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        }
        sqlite3_finalize(oldest->second.stmt);
        m_entries.erase(oldest);
        m_byId.clear();
    }
    m_entries.emplace(sql, Entry{stmt, ++m_uses});
    return stmt;
}

sqlite3_stmt *StatementCache::prepare(std::uint64_t id, const std::string &sql)
{
    if (const auto found = m_byId.find(id); found != m_byId.end()) {
        // Used as much as one found by its text: the least recently used goes first.
        found->second->lastUse = ++m_uses;
        return found->second->stmt;
    }
    sqlite3_stmt *stmt = prepare(sql);
    m_byId.emplace(id, &m_entries.at(sql));
    return stmt;
}

void Statement::bindKept(int index, const Variant &value)
{
    switch (value.type()) {
    case VariantType::Long:
        bindWhole(index, value.longValue());
        return;
    case VariantType::Double:
        bindNumber(index, value.doubleValue());
        return;
    case VariantType::String:
        bindText(index, value.stringValue());
        return;
    default:
        bind(index, value);
    }
}

void Statement::bindWhole(int index, long long value)
{
    check(m_db, sqlite3_bind_int64(m_stmt, index, value));
}

void Statement::bindNumber(int index, double value)
{
    check(m_db, sqlite3_bind_double(m_stmt, index, value));
}

void Statement::bindNullFrom(int index)
{
    for (int i = index; i <= sqlite3_bind_parameter_count(m_stmt); ++i)
        check(m_db, sqlite3_bind_null(m_stmt, i));
}

void Statement::bindText(int index, std::string_view text)
{
    check(m_db, sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()),
                                  SQLITE_STATIC));
}

void Statement::bind(int index, const Variant &value)
{
    int rc = SQLITE_OK;
    switch (value.type()) {
    case VariantType::Empty:
    case VariantType::Null:
    case VariantType::Object:
        rc = sqlite3_bind_null(m_stmt, index);
        break;
    case VariantType::Long:
        rc = sqlite3_bind_int64(m_stmt, index, value.longValue());
        break;
    case VariantType::Double:
        rc = sqlite3_bind_double(m_stmt, index, value.doubleValue());
        break;
    case VariantType::Boolean:
        rc = sqlite3_bind_int(m_stmt, index, value.boolValue() ? 1 : 0);
        break;
    case VariantType::Date: {
        const std::string text = dateToStoredText(value.dateValue());
        rc = sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT);
        break;
    }
    case VariantType::String:
        rc = sqlite3_bind_text(m_stmt, index, value.stringValue().data(),
                               static_cast<int>(value.stringValue().size()), SQLITE_TRANSIENT);
        break;
    }
    check(m_db, rc);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement's own error text is more precise after a reset.
    sqlite3_reset(m_stmt);
    check(m_db, rc);
    return false;
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

Transaction::Transaction(sqlite3 *db) : m_db(db)
{
    check(m_db, sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr),
          "BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    rollback();
}

void Transaction::commit()
{
    check(m_db, sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr), "COMMIT");
    m_done = true;
}

void Transaction::rollback() noexcept
{
    if (m_done)
        return;
    m_done = true;
    // Fails only when SQLite has rolled back by itself already.
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Transaction::isOpen() const
{
    return !m_done && !sqlite3_get_autocommit(m_db);
}

} // namespace host::sqlite
