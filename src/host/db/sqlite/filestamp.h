#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

namespace host::sqlite {

// What a database file looks like from outside, read without opening it: which file lies at the
// path, its size and times, and whether a write-ahead log lies beside it. A program that writes
// the file changes one of them.
struct FileStamp
{
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;
    timespec changed;
    bool log;

    bool operator==(const FileStamp &other) const;

    // The stamp of the file at the path, nothing when there is none.
    static std::optional<FileStamp> of(const std::string &path);
    // The same to compare later ones with. The kernel moves a file's times on at most once a
    // clock tick, so it is taken once they lie before the current tick: a write after it then
    // changes them.
    static std::optional<FileStamp> settled(const std::string &path);
};

} // namespace host::sqlite
