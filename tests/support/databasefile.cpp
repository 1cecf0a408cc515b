#include "support/databasefile.h"

#include "host/db/embeddeddatabase.h"
#include "host/db/sqlitedb.h"

#include <unistd.h>

DatabaseFile::DatabaseFile(host::AppConnection &source, const std::string &name)
    : m_dir(std::filesystem::temp_directory_path() /
            ("dbfile-" + std::to_string(::getpid()) + "-" + name)),
      m_file(m_dir / "host.db")
{
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    host::sqlite::check(source.embedded()->handle(),
                        sqlite3_exec(source.embedded()->handle(),
                                     ("VACUUM INTO '" + m_file.string() + "'").c_str(), nullptr,
                                     nullptr, nullptr));
}

DatabaseFile::~DatabaseFile()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::shared_ptr<host::AppConnection> DatabaseFile::connect(bool readOnly) const
{
    auto connection = std::make_shared<host::AppConnection>();
    connection->openDatabase(readOnly ? "file:" + m_file.string() + "?mode=ro" : m_file.string());
    return connection;
}

void DatabaseFile::setLockWait(host::AppConnection &connection, int milliseconds)
{
    sqlite3_busy_timeout(connection.embedded()->handle(), milliseconds);
}

void DatabaseFile::holdWriteLock(host::AppConnection &connection)
{
    host::sqlite::check(connection.embedded()->handle(),
                        sqlite3_exec(connection.embedded()->handle(), "BEGIN IMMEDIATE", nullptr,
                                     nullptr, nullptr));
}

void DatabaseFile::releaseWriteLock(host::AppConnection &connection)
{
    sqlite3_exec(connection.embedded()->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

std::shared_ptr<host::AppConnection>
DatabaseFile::block(const BlockedDatabase &how, std::shared_ptr<host::AppConnection> current,
                    host::AppConnection &other) const
{
    if (how.readOnly)
        return connect(true);
    holdWriteLock(other);
    setLockWait(*current, 50);
    return current;
}
