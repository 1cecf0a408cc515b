#include "support/databasefile.h"

#include "host/db/backends/embeddeddatabase.h"
#include "host/db/sqlite/sqlitedb.h"

#include <unistd.h>

#include <algorithm>

namespace {

void run(host::AppConnection &connection, const std::string &sql)
{
    sqlite3 *db = connection.embedded()->handle();
    host::sqlite::check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), sql);
}

// One folder whatever the name: a table-driven test's name holds a slash, and the folder above
// the one removed would stay behind.
std::string folderName(std::string name)
{
    std::replace(name.begin(), name.end(), '/', '-');
    return "dbfile-" + std::to_string(::getpid()) + "-" + name;
}

} // namespace

DatabaseFile::DatabaseFile(host::AppConnection &source, const std::string &name)
    : m_dir(std::filesystem::temp_directory_path() / folderName(name))
{
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    run(source, "VACUUM INTO '" + (m_dir / "host.db").string() + "'");
}

DatabaseFile::~DatabaseFile()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::string DatabaseFile::path() const
{
    return (m_dir / "host.db").string();
}

std::shared_ptr<host::AppConnection> DatabaseFile::connect(bool readOnly) const
{
    const std::string file = path();
    auto connection = std::make_shared<host::AppConnection>();
    connection->openDatabase(readOnly ? "file:" + file + "?mode=ro" : file);
    return connection;
}

std::shared_ptr<host::AppConnection>
DatabaseFile::block(const BlockedDatabase &how, std::shared_ptr<host::AppConnection> current,
                    host::AppConnection &other) const
{
    switch (how.way) {
    case BlockedDatabase::Way::ReadOnly:
        return connect(true);
    case BlockedDatabase::Way::Linked:
        std::filesystem::create_hard_link(path(), m_dir / "other.db");
        return current;
    case BlockedDatabase::Way::Locked:
        break;
    }
    holdWriteLock(other, *current);
    return current;
}

void DatabaseFile::holdWriteLock(host::AppConnection &other, host::AppConnection &waiting)
{
    run(other, "BEGIN IMMEDIATE");
    sqlite3_busy_timeout(waiting.embedded()->handle(), 50);
}

void DatabaseFile::release(host::AppConnection &other) const
{
    std::filesystem::remove(m_dir / "other.db");
    if (!sqlite3_get_autocommit(other.embedded()->handle()))
        run(other, "ROLLBACK");
}
