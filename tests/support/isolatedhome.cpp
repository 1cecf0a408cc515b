#include "support/isolatedhome.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

IsolatedHome::IsolatedHome()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "stockcheck-test-XXXXXX");
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder for the test");
    m_root = pattern;
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME",
                                 "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const auto folder = m_root / variable;
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        setenv(variable, folder.c_str(), 1);
    }
    setenv("HOME", m_root.c_str(), 1);
}

IsolatedHome::~IsolatedHome()
{
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}
