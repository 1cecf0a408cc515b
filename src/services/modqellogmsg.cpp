#include "services/modqellogmsg.h"

#include "host/core/objectfactory.h"
#include "host/log/logcomponent.h"
#include "services/modulestate.h"

namespace modQelLogMsg {

void InitLog() noexcept
{
    auto &m = module();
    if (m.gLog)
        return;
    try {
        m.gLog = host::CreateObjectAs<host::LogComponent>(host::LogComponent::ProgId);
    } catch (...) {
        m.gLog.reset();
    }
}

bool IsLogEnabled() noexcept
{
    auto &m = module();
    if (!m.gLog)
        return false;
    try {
        if (m.gLog->IsEnabled())
            return true;
    } catch (...) {
    }
    m.gLog.reset();
    return false;
}

long LogStart(std::string_view name) noexcept
{
    auto &m = module();
    if (!m.gLogInitDone) {
        InitLog();
        m.gLogInitDone = true;
    }
    try {
        if (IsLogEnabled())
            return m.gLog->LogStart(name);
    } catch (...) {
    }
    return 0;
}

void LogEnd(long handle, long flag) noexcept
{
    try {
        if (IsLogEnabled())
            module().gLog->LogEnd(handle, flag);
    } catch (...) {
    }
}

} // namespace modQelLogMsg
