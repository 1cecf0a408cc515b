#pragma once

#include <sqlite3.h>

#include <sys/types.h>

#include <optional>
#include <string>

namespace host {

// The database file a connection opened, and its write-ahead log: whether another program
// deleted or replaced either since, and what the connection must then leave behind. Both can
// only happen once the process lost its locks on the files (a descriptor of the file opened and
// closed outside SQLite drops them all), or when a user removes or restores the file.
//
// A moved file's log stays at the path when SQLite closes, and the next file put there would
// take it for its own: it is emptied into the moved file first. A log deleted under the
// connection holds writes only this connection sees: written into the file on closing, it would
// overwrite what others saved since, so it is never written there.
class OpenedFile
{
public:
    explicit OpenedFile(sqlite3 *db);
    // Leaves what the file's change calls for, however the connection ends.
    ~OpenedFile();
    OpenedFile(const OpenedFile &) = delete;
    OpenedFile &operator=(const OpenedFile &) = delete;

    enum class Change
    {
        None,
        File, // the database file itself was deleted or replaced
        Log   // its write-ahead log was
    };
    // Compares the files at their paths with the ones the connection has open.
    Change change();
    // The files the connection given opened from now on.
    void rebind(sqlite3 *db)
    {
        m_db = db;
        m_log.reset();
    }
    // After a change, leaves nothing of the connection's files to the next file at the path.
    void letGo(Change change);
    // Whether the database file has another name (a hard link): each name gets a log and shared
    // memory of its own, so two programs writing through two names damage the file.
    bool hasOtherNames() const;
    // Whether the path names the database file, its log, its shared memory or the other file
    // given, told by device and inode: stat opens none of them.
    bool isOwnFile(const std::string &path, const std::string &other) const;

private:
    struct Identity
    {
        dev_t device;
        ino_t inode;
        bool operator==(const Identity &) const = default;
    };
    static std::optional<Identity> identityOf(const char *path);
    std::optional<Identity> logAtItsPath() const;

    sqlite3 *m_db;
    // The log the connection writes to, once seen, while it writes ahead.
    std::optional<Identity> m_log;
};

} // namespace host
