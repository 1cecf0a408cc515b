#include "host/files/userfile.h"

#include "host/core/hosterror.h"
#include "host/lang/hosttext.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {
namespace {

// The usual refusals in the user's language; the system's own words for the rest.
std::string reasonOf(int error)
{
    switch (error) {
    case ENOENT:
        return hostText("文件夹不存在。");
    case ENOTDIR:
        return hostText("路径中有一项不是文件夹。");
    case EISDIR:
        return hostText("这是一个文件夹，不是文件。");
    case EACCES:
    case EPERM:
        return hostText("没有在这里写入的权限。");
    case EROFS:
        return hostText("文件系统是只读的。");
    case ENOSPC:
        return hostText("磁盘已满。");
    case EDQUOT:
        return hostText("磁盘配额已用完。");
    case EFBIG:
        return hostText("文件超过了允许的大小。");
    case ENAMETOOLONG:
        return hostText("文件名太长。");
    case EIO:
        return hostText("读写磁盘时出错。");
    default:
        return std::generic_category().message(error);
    }
}

[[noreturn]] void refuse(const std::string &path, const std::string &reason)
{
    throw HostError(hostText("不能写入文件：") + path + "\n" + reason);
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A link is followed, so the file it names is the one replaced and the link stays.
std::string resolved(const std::string &path)
{
    struct stat link = {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    std::array<char, PATH_MAX> target{};
    if (!::realpath(path.c_str(), target.data()))
        return path;
    return target.data();
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    // Closing reports what a write-back failed on.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

} // namespace

UserFile::UserFile(const std::string &path) : m_shown(path), m_target(resolved(path))
{
    struct stat earlier = {};
    if (::stat(m_target.c_str(), &earlier) == 0) {
        if (S_ISDIR(earlier.st_mode))
            fail(EISDIR);
        if (!S_ISREG(earlier.st_mode))
            refuse(m_shown, hostText("这不是普通文件，而是管道或设备。"));
        // Replacing does not need it, but a file the user may not write is not to be written.
        if (::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0)
            fail(errno);
        m_replaces = true;
        m_mode = earlier.st_mode & 0777;
        m_owner = earlier.st_uid;
        m_group = earlier.st_gid;
    } else if (errno != ENOENT) {
        fail(errno);
    }
    createWritten();
}

UserFile::~UserFile()
{
    if (!m_committed && !m_written.empty())
        ::unlink(m_written.c_str());
}

void UserFile::createWritten()
{
    constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> letter(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = m_target + '.';
        for (int i = 0; i < 6; ++i)
            name += kLetters[letter(random)];
        // Made with the mode a new file gets, which the user's umask decides.
        Descriptor fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.get() < 0) {
            if (errno == EEXIST)
                continue;
            fail(errno);
        }
        m_written = std::move(name);
        struct stat made = {};
        if (!m_replaces && ::fstat(fd.get(), &made) == 0)
            m_mode = made.st_mode & 0777;
        return;
    }
    fail(EEXIST);
}

void UserFile::commit()
{
    // The writer may have put a file of its own at the name.
    Descriptor fd(::open(m_written.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        fail(errno);
    // The earlier file's owner keeps it where the system lets a file be given away (the
    // superuser); anyone else's new file is theirs.
    if (m_replaces)
        static_cast<void>(::fchown(fd.get(), m_owner, m_group));
    if (::fchmod(fd.get(), m_mode) != 0 || ::fsync(fd.get()) != 0 || fd.close() != 0)
        fail(errno);
    if (::rename(m_written.c_str(), m_target.c_str()) != 0)
        fail(errno);
    m_committed = true;
    // The new name lasts once the folder is on the disk too; the file is in place either way.
    const Descriptor folder(::open(folderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

void UserFile::fail(int error) const
{
    refuse(m_shown, reasonOf(error));
}

void UserFile::failIncomplete() const
{
    const Descriptor fd(::open(m_written.c_str(), O_WRONLY | O_CLOEXEC));
    struct stat written = {};
    if (fd.get() >= 0 && ::fstat(fd.get(), &written) == 0) {
        if (const int error = ::posix_fallocate(fd.get(), written.st_size, 1 << 16); error != 0)
            fail(error);
    }
    refuse(m_shown, hostText("文件没有完整写入。"));
}

} // namespace host
