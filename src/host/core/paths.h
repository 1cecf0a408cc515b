#pragma once

#include <filesystem>

namespace host {

// The user's folders by the XDG rules: $XDG_DATA_HOME or ~/.local/share, $XDG_CONFIG_HOME or
// ~/.config, $XDG_STATE_HOME or ~/.local/state; each with "stockcheck" appended.
std::filesystem::path userDataDir();
std::filesystem::path userConfigDir();
std::filesystem::path userStateDir();

// The module's data folder (language tables, help pages, schema): $STOCKCHECK_DATA_DIR, else
// the data folder of the source tree the program was built from.
std::filesystem::path dataDir();

} // namespace host
