#include "host/db/sqlite/filestamp.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace host::sqlite {

namespace {

bool same(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool before(const timespec &a, const timespec &b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Beyond this the file keeps being written: the stamp is taken as it is.
constexpr int kMostTicks = 25;

} // namespace

bool FileStamp::operator==(const FileStamp &other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           same(modified, other.modified) && same(changed, other.changed) && log == other.log;
}

std::optional<FileStamp> FileStamp::of(const std::string &path)
{
    struct stat status = {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileStamp{status.st_dev,  status.st_ino,  status.st_size,
                     status.st_mtim, status.st_ctim, ::access((path + "-wal").c_str(), F_OK) == 0};
}

std::optional<FileStamp> FileStamp::settled(const std::string &path)
{
    timespec tick = {};
    clock_getres(CLOCK_REALTIME_COARSE, &tick);
    for (int ticks = 0;; ++ticks) {
        const auto stamp = of(path);
        timespec now = {};
        clock_gettime(CLOCK_REALTIME_COARSE, &now);
        if (!stamp || (before(stamp->modified, now) && before(stamp->changed, now)) ||
            ticks == kMostTicks)
            return stamp;
        std::this_thread::sleep_for(std::chrono::seconds(tick.tv_sec) +
                                    std::chrono::nanoseconds(tick.tv_nsec));
    }
}

} // namespace host::sqlite
