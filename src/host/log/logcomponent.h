#pragma once

#include "host/core/hostobject.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

namespace host {

// The host's log component ("QelLogMsg.Log"): start and end marks of the module's main actions,
// with their durations, appended to a log file. It is disabled when the file cannot be opened
// or when STOCKCHECK_LOG is "0" or "off".
class LogComponent : public HostObject
{
public:
    explicit LogComponent(std::filesystem::path file);

    virtual bool IsEnabled() const;
    virtual long LogStart(std::string_view name);
    virtual void LogEnd(long handle, long flag);

    const std::filesystem::path &file() const { return m_path; }

    static constexpr std::string_view ProgId = "QelLogMsg.Log";
    // The file in the user's state folder.
    static std::filesystem::path defaultFile();

private:
    struct Open
    {
        std::string name;
        std::chrono::steady_clock::time_point started;
    };
    void writeLine(std::string_view text);

    std::filesystem::path m_path;
    std::ofstream m_out;
    bool m_enabled = false;
    long m_nextHandle = 1;
    std::map<long, Open> m_open;
};

} // namespace host
