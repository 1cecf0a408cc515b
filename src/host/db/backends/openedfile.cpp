#include "host/db/backends/openedfile.h"

#include <sys/stat.h>

#include <string_view>

namespace host {

namespace {

bool writesAhead(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA main.journal_mode", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto *mode = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        wal = mode && std::string_view(mode) == "wal";
    }
    sqlite3_finalize(statement);
    return wal;
}

} // namespace

OpenedFile::OpenedFile(sqlite3 *db) : m_db(db) {}

OpenedFile::~OpenedFile()
{
    const Change now = change();
    if (now != Change::None)
        letGo(now);
}

std::optional<OpenedFile::Identity> OpenedFile::identityOf(const char *path)
{
    struct stat status = {};
    if (::stat(path, &status) != 0)
        return std::nullopt;
    return Identity{status.st_dev, status.st_ino};
}

std::optional<OpenedFile::Identity> OpenedFile::logAtItsPath() const
{
    const char *file = sqlite3_db_filename(m_db, "main");
    if (!file || !*file)
        return std::nullopt;
    return identityOf(sqlite3_filename_wal(file));
}

bool OpenedFile::hasOtherNames() const
{
    const char *file = sqlite3_db_filename(m_db, "main");
    struct stat status = {};
    return file && *file && ::stat(file, &status) == 0 && status.st_nlink > 1;
}

bool OpenedFile::isOwnFile(const std::string &path, const std::string &other) const
{
    const char *file = sqlite3_db_filename(m_db, "main");
    const auto chosen = identityOf(path.c_str());
    if (!file || !*file || !chosen)
        return false;
    const std::string database = file;
    for (const std::string &own : {database, database + "-wal", database + "-shm", other})
        if (identityOf(own.c_str()) == chosen)
            return true;
    return false;
}

OpenedFile::Change OpenedFile::change()
{
    int moved = 0;
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
        moved != 0)
        return Change::File;
    if (!writesAhead(m_db)) {
        m_log.reset();
        return Change::None;
    }
    const auto log = logAtItsPath();
    if (!m_log) {
        // The log is made when the connection first reads in that mode.
        m_log = log;
        return Change::None;
    }
    return log == m_log ? Change::None : Change::Log;
}

void OpenedFile::letGo(Change change)
{
    if (change == Change::File)
        sqlite3_wal_checkpoint_v2(m_db, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    else if (change == Change::Log)
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

} // namespace host
