#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Runs a step in a child process of its own, started at once; finish() waits for it and returns
// the step's text, or a text naming the signal or exception that ended the child. The address
// space is limited to the given megabytes when not 0, except under AddressSanitizer, which
// reserves far more than it uses. The child leaves by _exit, touching no state of the test.
class ChildProcess
{
public:
    explicit ChildProcess(const std::function<std::string()> &step, size_t megabytes = 0);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    std::string finish();

private:
    int m_pid = -1;
    int m_channel = -1;
};
