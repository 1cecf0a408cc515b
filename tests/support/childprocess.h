#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Runs the step in a child process of its own, its address space limited to the given
// megabytes when not 0 (and not under AddressSanitizer, which reserves far more address space
// than it uses). Returns the step's text, or a text naming the signal or the exception that
// ended the child. The child leaves with _exit: no test state of the parent is touched.
std::string inChildProcess(size_t megabytes, const std::function<std::string()> &step);

// Starts the step in a child process and returns at once; finish() waits for it.
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
