#pragma once

#include "host/db/appconnection.h"

#include <filesystem>
#include <memory>
#include <string>

// A database the module cannot write, and the cause the user is to be told.
struct BlockedDatabase
{
    const char *description;
    bool readOnly; // otherwise another program holds the write lock
    const char *cause;
};
inline const BlockedDatabase kBlockedDatabases[] = {
    {"Busy", false, "数据库正忙，请稍后再试。"},
    {"ReadOnly", true, "数据库是只读的，不能写入。"},
};

// A copy of a test's database in a file of its own, for tests that need several connections
// to one database, as several workstations or programs have.
class DatabaseFile
{
public:
    // Copies the embedded database behind the connection into a new file in the temp folder.
    DatabaseFile(host::AppConnection &source, const std::string &name);
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile &) = delete;
    DatabaseFile &operator=(const DatabaseFile &) = delete;

    // A new connection to the file; read-only when asked.
    std::shared_ptr<host::AppConnection> connect(bool readOnly = false) const;
    // Makes the connection give up waiting for another connection's lock after the time.
    static void setLockWait(host::AppConnection &connection, int milliseconds);
    // Begins a write transaction on the connection's own, as another program's would.
    static void holdWriteLock(host::AppConnection &connection);
    static void releaseWriteLock(host::AppConnection &connection);
    // The connection to use while the database is blocked as asked: a read-only one, or the
    // current one, waiting only briefly, while the other holds the write lock.
    std::shared_ptr<host::AppConnection> block(const BlockedDatabase &how,
                                               std::shared_ptr<host::AppConnection> current,
                                               host::AppConnection &other) const;

private:
    std::filesystem::path m_dir;
    std::filesystem::path m_file;
};
