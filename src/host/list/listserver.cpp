#include "host/list/listserver.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"

namespace host {

void ListServer::GetCurPeriod(const std::string &, long &year, long &period, double &startDate,
                              double &endDate)
{
    const auto rs = hostConnection()->Execute(
        "SELECT FStartDate,FEndDate FROM t_PeriodDate WHERE FYear=" + std::to_string(year) +
        " AND FPeriod=" + std::to_string(period));
    if (rs->RecordCount() < 1)
        throw HostError("Period " + std::to_string(year) + "." + std::to_string(period) +
                        " is not defined.");
    startDate = CDate(rs->Fields("FStartDate").Value());
    endDate = CDate(rs->Fields("FEndDate").Value());
}

} // namespace host
