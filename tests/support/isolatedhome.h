#pragma once

#include <filesystem>

// Points the user's settings, state and data folders (XDG_*) at a fresh folder of its own for
// the life of the test process, so no test reads or writes the files of the user running it.
class IsolatedHome
{
public:
    IsolatedHome();
    ~IsolatedHome();
    IsolatedHome(const IsolatedHome &) = delete;
    IsolatedHome &operator=(const IsolatedHome &) = delete;

    const std::filesystem::path &root() const { return m_root; }

private:
    std::filesystem::path m_root;
};
