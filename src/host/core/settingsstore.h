#pragma once

#include "host/core/variant.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

class QSettings;

namespace host {

// The host settings store (gIni): values by section and key in an INI file. Values are kept as
// text and read back as text; a missing key reads as the caller's default.
class SettingsStore
{
public:
    // The file of that name in the user's config folder.
    explicit SettingsStore(std::string_view fileName);
    explicit SettingsStore(const std::filesystem::path &file);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    Variant read(std::string_view section, std::string_view key, const Variant &defaultValue) const;
    void write(std::string_view section, std::string_view key, const Variant &value);
    // Writes what is pending to the file.
    void sync();

    const std::filesystem::path &file() const { return m_file; }

private:
    std::filesystem::path m_file;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace host
