#pragma once

#include "host/db/appconnection.h"

#include <filesystem>
#include <memory>
#include <string>

// A database the module cannot write, and the cause the user is to be told, followed by the
// database's own words.
struct BlockedDatabase
{
    enum class Way
    {
        Locked,   // another program holds the write lock
        ReadOnly, // opened for reading
        Linked    // the file has a second name
    };
    const char *description;
    Way way;
    const char *cause;
};
inline const BlockedDatabase kBlockedDatabases[] = {
    {"Busy", BlockedDatabase::Way::Locked, "数据库正忙，请稍后再试。\ndatabase is locked"},
    {"ReadOnly", BlockedDatabase::Way::ReadOnly,
     "数据库是只读的，不能写入。\nattempt to write a readonly database"},
    {"Linked", BlockedDatabase::Way::Linked,
     "数据库文件另有一个名称（硬链接），从两个名称写入会损坏文件，所以不能写入。请删除另一个名称。\n"
     "The database file has more than one name (a hard link): each name keeps a log of its own, "
     "and writes through two names would damage the file. It is not written."},
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
    // The connection to use while the database is blocked as asked: a read-only one, the current
    // one while the file has a second name, or the current one, waiting only briefly, while
    // `other` holds the write lock.
    std::shared_ptr<host::AppConnection> block(const BlockedDatabase &how,
                                               std::shared_ptr<host::AppConnection> current,
                                               host::AppConnection &other) const;
    // `other` takes the write lock, and `waiting` waits for it only briefly.
    static void holdWriteLock(host::AppConnection &other, host::AppConnection &waiting);
    // Ends what block() did: the lock `other` holds, the second name.
    void release(host::AppConnection &other) const;

private:
    std::filesystem::path m_dir;
};
