#pragma once

#include "host/db/appconnection.h"

#include <filesystem>
#include <memory>
#include <string>

// A database the module cannot write, and the cause the user is to be told, followed by the
// database's own words.
struct BlockedDatabase
{
    const char *description;
    bool readOnly; // otherwise another program holds the write lock
    const char *cause;
};
inline const BlockedDatabase kBlockedDatabases[] = {
    {"Busy", false, "数据库正忙，请稍后再试。\ndatabase is locked"},
    {"ReadOnly", true, "数据库是只读的，不能写入。\nattempt to write a readonly database"},
};

// A copy of a test's database in a file of its own, for tests that need several connections to
// one database, as several programs have.
class DatabaseFile
{
public:
    // Copies the embedded database behind the connection into a new file.
    DatabaseFile(host::AppConnection &source, const std::string &name);
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile &) = delete;
    DatabaseFile &operator=(const DatabaseFile &) = delete;

    std::string path() const;
    std::shared_ptr<host::AppConnection> connect(bool readOnly = false) const;
    // The connection to use while the database is blocked as asked: a read-only one, or the
    // current one, waiting only briefly, while `other` holds the write lock.
    std::shared_ptr<host::AppConnection> block(const BlockedDatabase &how,
                                               std::shared_ptr<host::AppConnection> current,
                                               host::AppConnection &other) const;
    // `other` takes the write lock, and `waiting` waits for it only briefly.
    static void holdWriteLock(host::AppConnection &other, host::AppConnection &waiting);
    static void release(host::AppConnection &other);

private:
    std::filesystem::path m_dir;
};
