#include "host/log/logcomponent.h"

#include "host/core/datetime.h"
#include "host/core/paths.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace host {
namespace {

bool switchedOff()
{
    const char *value = std::getenv("STOCKCHECK_LOG");
    if (!value)
        return false;
    const std::string v = value;
    return v == "0" || v == "off" || v == "OFF";
}

} // namespace

std::filesystem::path LogComponent::defaultFile()
{
    return userStateDir() / "stockcheck.log";
}

LogComponent::LogComponent(std::filesystem::path file) : m_path(std::move(file))
{
    if (switchedOff())
        return;
    std::error_code ec;
    std::filesystem::create_directories(m_path.parent_path(), ec);
    m_out.open(m_path, std::ios::app);
    m_enabled = m_out.is_open();
}

bool LogComponent::IsEnabled() const
{
    return m_enabled;
}

void LogComponent::writeLine(std::string_view text)
{
    m_out << formatDate(now(), "YYYY-MM-DD HH:NN:SS.FFF") << ' ' << text << '\n';
    m_out.flush();
}

long LogComponent::LogStart(std::string_view name)
{
    const long handle = m_nextHandle++;
    m_open[handle] = {std::string(name), std::chrono::steady_clock::now()};
    writeLine("start #" + std::to_string(handle) + ' ' + std::string(name));
    return handle;
}

void LogComponent::LogEnd(long handle, long flag)
{
    const auto it = m_open.find(handle);
    if (it == m_open.end()) {
        writeLine("end #" + std::to_string(handle) + " (no start mark) flag " +
                  std::to_string(flag));
        return;
    }
    const auto elapsed = std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now() - it->second.started)
                             .count();
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.1f ms", elapsed);
    writeLine("end #" + std::to_string(handle) + ' ' + it->second.name + ' ' + ms + " flag " +
              std::to_string(flag));
    m_open.erase(it);
}

} // namespace host
