#pragma once

#include <string>

#include <sys/types.h>

namespace host {

// A file written for the user (an export, a printed book). The writer writes a new file beside
// it, in the same folder, and commit() puts that in place whole, flushed to the disk and with the
// earlier file's permissions; until then, and after any failure, the file that stood there is as
// it was, and nothing of the attempt is left once this object goes. What is no regular file (a
// folder, a pipe, a device) is refused before anything is opened: a pipe would keep the writer
// waiting for a reader. Every failure is a HostError naming the file and saying, in the user's
// language, why the system refused it.
class UserFile
{
public:
    explicit UserFile(const std::string &path);
    ~UserFile();
    UserFile(const UserFile &) = delete;
    UserFile &operator=(const UserFile &) = delete;

    // Where the writer writes.
    const std::string &writtenPath() const { return m_written; }
    void commit();

    // The system's error number that stopped the writer.
    [[noreturn]] void fail(int error) const;
    // For a writer that found its file incomplete without saying why: the system says it when
    // the file is made to grow.
    [[noreturn]] void failIncomplete() const;

private:
    void createWritten();

    std::string m_shown;
    std::string m_target;
    std::string m_written;
    mode_t m_mode = 0;
    bool m_replaces = false;
    uid_t m_owner = 0;
    gid_t m_group = 0;
    bool m_committed = false;
};

} // namespace host
