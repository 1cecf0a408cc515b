#include "host/core/paths.h"

#include <cstdlib>

namespace host {
namespace {

std::filesystem::path xdgDir(const char *variable, const char *fallback)
{
    const char *value = std::getenv(variable);
    if (value && *value)
        return std::filesystem::path(value) / "stockcheck";
    const char *home = std::getenv("HOME");
    const std::filesystem::path base = home && *home ? home : ".";
    return base / fallback / "stockcheck";
}

} // namespace

std::filesystem::path userDataDir()
{
    return xdgDir("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path userConfigDir()
{
    return xdgDir("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path userStateDir()
{
    return xdgDir("XDG_STATE_HOME", ".local/state");
}

std::filesystem::path dataDir()
{
    const char *value = std::getenv("STOCKCHECK_DATA_DIR");
    if (value && *value)
        return value;
    return STOCKCHECK_DATA_DIR;
}

} // namespace host
