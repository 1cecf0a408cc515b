#include "backup/processnumber.h"

#include "backup/dbaccess.h"
#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"

#include <cstdio>

namespace backup {
namespace {

bool isTaken(const std::string &number)
{
    return host::hasRows(execute("select * from icstockcheckprocess where fprocessid='" +
                                 host::sqlEscape(number) + "'"));
}

// The padding of the numbering query yields no number once the counter has five digits; the
// number then carries the counter unpadded rather than failing every backup of the day.
std::string numberPastFourDigits()
{
    auto rs = execute("select convert(varchar,getdate(),112) + ltrim(rtrim(str(fcurno))) from "
                      "icbillno where fbillid=-1");
    return !host::hasRows(rs) ? std::string() : host::CStr(fieldValue(rs, 0));
}

std::string withCounter(const std::string &day, long counter)
{
    char digits[24];
    std::snprintf(digits, sizeof digits, "%04ld", counter);
    return day + digits;
}

// Without the numbering row the id must still follow the highest existing one, and the number
// must not repeat one of the day's numbers.
ProcessNumber withoutNumberingRow()
{
    ProcessNumber result;
    result.id =
        host::CLng(fieldValue(execute("select isnull(max(fid),0) from icstockcheckprocess"), 0)) +
        1;
    const std::string day = host::formatDate(host::now(), "YYYYMMDD");
    long counter = 1;
    while (isTaken(withCounter(day, counter)))
        ++counter;
    result.number = withCounter(day, counter);
    return result;
}

} // namespace

std::string numberingSql(bool firstPass)
{
    std::string sql;
    host::addLine(sql, "set nocount on");
    host::addLine(sql, " declare @vDate datetime");
    host::addLine(sql, " select @vDate = max(isnull(fdate,getdate())) from icstockcheckprocess");
    if (firstPass) {
        host::addLine(sql, " if DATEDIFF(dd,getdate(),@vDate) <> 0");
        host::addLine(sql, " Update icbillno set fcurno = 1 where fbillid = -1");
    }
    host::addLine(sql,
                  " select convert(varchar,getdate(),112) + replicate('0',4-len(ltrim(fcurno))) + "
                  "ltrim(rtrim(str(fcurno))),(select isnull(max(fid),0) from icstockcheckprocess) "
                  "as fcurno from icbillno where fbillid=-1");
    return sql;
}

ProcessNumber allocateProcessNumber()
{
    for (bool firstPass = true;; firstPass = false) {
        auto rs = execute(numberingSql(firstPass));
        if (!host::hasRows(rs))
            return withoutNumberingRow();
        const host::Variant number = fieldValue(rs, 0);
        ProcessNumber result;
        result.number = number.isNull() ? numberPastFourDigits() : host::CStr(number);
        result.id = host::CLng(fieldValue(rs, 1)) + 1;
        if (result.number.empty())
            throw host::HostError("The process number came back empty.");
        if (!isTaken(result.number))
            return result;
        execute("update icbillno set fcurno=fcurno+1 where fbillid=-1");
    }
}

} // namespace backup
