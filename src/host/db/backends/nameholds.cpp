#include "host/db/backends/nameholds.h"

#include "host/core/text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace host {
namespace {

// The byte of the lock file that stands for a name: names differ by letter case no more than
// table names do, and two names sharing a byte only keep a table a while longer.
off_t byteOf(const std::string &name)
{
    constexpr std::uint64_t kOffset = 14695981039346656037ULL;
    constexpr std::uint64_t kPrime = 1099511628211ULL;
    constexpr std::uint64_t kBytes = std::uint64_t{1} << 40;
    std::uint64_t hash = kOffset;
    for (const char c : toUpper(name)) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kPrime;
    }
    return static_cast<off_t>(hash % kBytes);
}

struct flock lockOf(const std::string &name, short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byteOf(name);
    lock.l_len = 1;
    return lock;
}

// A lock owned by its own opening of the lock file (not by the program, as a POSIX record lock
// is), so that it lasts exactly as long as that opening.
class FileHold : public NameHold
{
public:
    explicit FileHold(int fd) : m_fd(fd) {}
    ~FileHold() override { ::close(m_fd); }
    FileHold(const FileHold &) = delete;
    FileHold &operator=(const FileHold &) = delete;

private:
    int m_fd;
};

class MemoryHold : public NameHold
{
public:
    MemoryHold(std::shared_ptr<std::set<std::string>> names, std::string name)
        : m_names(std::move(names)), m_name(std::move(name))
    {}
    ~MemoryHold() override { m_names->erase(m_name); }
    MemoryHold(const MemoryHold &) = delete;
    MemoryHold &operator=(const MemoryHold &) = delete;

private:
    std::shared_ptr<std::set<std::string>> m_names;
    std::string m_name;
};

} // namespace

NameHolds::NameHolds(std::string databaseFile, bool readOnly) : m_readOnly(readOnly)
{
    if (databaseFile.empty())
        m_inMemory = std::make_shared<std::set<std::string>>();
    else
        m_lockFile = std::move(databaseFile) + "-holds";
}

std::unique_ptr<NameHold> NameHolds::hold(const std::string &name)
{
    if (m_inMemory) {
        if (!m_inMemory->insert(toUpper(name)).second)
            return nullptr;
        return std::make_unique<MemoryHold>(m_inMemory, toUpper(name));
    }
    const int fd = m_readOnly ? -1 : ::open(m_lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return std::make_unique<NameHold>();
    struct flock lock = lockOf(name, F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return std::make_unique<FileHold>(fd);
    const int error = errno;
    ::close(fd);
    if (error == EAGAIN || error == EACCES)
        return nullptr;
    return std::make_unique<NameHold>();
}

std::optional<bool> NameHolds::isHeld(const std::string &name) const
{
    if (m_inMemory)
        return m_inMemory->count(toUpper(name)) != 0;
    const int fd = ::open(m_lockFile.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? std::optional<bool>(false) : std::nullopt;
    struct flock lock = lockOf(name, F_WRLCK);
    const bool told = ::fcntl(fd, F_OFD_GETLK, &lock) == 0;
    ::close(fd);
    if (!told)
        return std::nullopt;
    return lock.l_type != F_UNLCK;
}

} // namespace host
