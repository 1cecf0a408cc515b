#pragma once

#include <string_view>

// Start and end marks of the module's main actions in the host's log. Logging is optional and
// never fails its caller: with the component missing or disabled every handle is 0, and once
// the component reports itself disabled it is not asked again.
namespace modQelLogMsg {

long LogStart(std::string_view name) noexcept;
// Never throws, so an error handler can call it with its exception still in flight.
void LogEnd(long handle, long flag) noexcept;

void InitLog() noexcept;

// A log entry that ends with flag 0 on every way out of the scope.
class LogEntry
{
public:
    explicit LogEntry(std::string_view name) : m_handle(LogStart(name)) {}
    ~LogEntry() { LogEnd(m_handle, 0); }
    LogEntry(const LogEntry &) = delete;
    LogEntry &operator=(const LogEntry &) = delete;

private:
    long m_handle;
};
bool IsLogEnabled() noexcept;

} // namespace modQelLogMsg
