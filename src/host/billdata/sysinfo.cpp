#include "host/billdata/sysinfo.h"

#include "host/billdata/systemprofile.h"
#include "host/core/hosterror.h"

namespace host {

SysInfo::SysInfo(ConnectionSource connection) : m_connection(std::move(connection)) {}

std::string SysInfo::GetSysValue(const std::string &, const std::string &category,
                                 const std::string &key)
{
    const std::shared_ptr<AppConnection> db = m_connection();
    if (!db)
        throw HostError("The system values have no database connection.");
    return CStr(requireSystemOption(*db, category, key));
}

} // namespace host
