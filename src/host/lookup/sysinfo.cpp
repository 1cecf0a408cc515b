#include "host/lookup/sysinfo.h"

#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset.h"

namespace host {

std::string SysInfo::GetSysValue(std::string_view, std::string_view category, std::string_view key)
{
    const auto rows = hostConnection()->Execute(
        "select FValue from t_SystemProfile where FCategory=" + sqlString(category) +
        " and FKey=" + sqlString(key));
    if (rows->RecordCount() == 0)
        return {};
    rows->MoveFirst();
    const Variant &value = rows->Fields(0L).Value();
    return value.isNull() ? std::string() : CStr(value);
}

} // namespace host
