#include "support/childprocess.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <stdexcept>

ChildProcess::ChildProcess(const std::function<std::string()> &step,
                           [[maybe_unused]] size_t megabytes)
{
    int channel[2];
    if (pipe(channel) != 0)
        throw std::runtime_error("no pipe for a child process");
    m_pid = fork();
    if (m_pid < 0)
        throw std::runtime_error("cannot start a child process");
    if (m_pid == 0) {
        close(channel[0]);
#ifndef __SANITIZE_ADDRESS__
        if (megabytes > 0) {
            const rlimit limit{megabytes << 20, megabytes << 20};
            setrlimit(RLIMIT_AS, &limit);
        }
#endif
        std::string result;
        try {
            result = step();
        } catch (const std::exception &e) {
            result = std::string("exception: ") + e.what();
        }
        const ssize_t written = write(channel[1], result.data(), result.size());
        _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    close(channel[1]);
    m_channel = channel[0];
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0)
        finish();
}

std::string ChildProcess::finish()
{
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = read(m_channel, buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<size_t>(got));
    close(m_channel);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status));
    return result;
}
