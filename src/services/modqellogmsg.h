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
bool IsLogEnabled() noexcept;

} // namespace modQelLogMsg
