#include "host/billdata/sysinfo.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/db/recordset.h"

namespace host {

SysInfo::SysInfo(ConnectionSource connection) : m_connection(std::move(connection)) {}

std::string SysInfo::GetSysValue(const std::string &, const std::string &category,
                                 const std::string &key)
{
    const std::shared_ptr<AppConnection> db = m_connection();
    if (!db)
        throw HostError("The system values have no database connection.");
    const auto rs =
        db->Execute("Select FValue From t_SystemProfile Where FCategory=" + sqlString(category) +
                    " And FKey=" + sqlString(key));
    if (!rs || rs->State() == Recordset::adStateClosed || rs->RecordCount() == 0)
        throw HostError("No system value " + category + "/" + key + ".");
    rs->MoveFirst();
    return CStr(rs->Fields(0L).Value());
}

} // namespace host
