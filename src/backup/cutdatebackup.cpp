#include "backup/icbackupinv.h"

#include "backup/backupstate.h"
#include "backup/cutdatesql.h"
#include "backup/dbaccess.h"
#include "host/core/dateformatter.h"
#include "host/core/hosterror.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <exception>

namespace {

constexpr std::string_view kNoData = "NoData";

// The current year or period the host handed the process list; a backup started on its own
// was handed none and takes the host's own option, which is where the host reads it from.
long currentPeriodPart(std::string_view key, std::string_view option)
{
    const auto &dict = module().gProcDict;
    if (dict && dict->Exists(key))
        return host::CLng(host::Val(dict->Value(key)));
    return host::CLng(host::Val(PubVariant::GetSysProfile("IC", option)->GetValue(option, 0)));
}

} // namespace

std::string ICBackupInv::BuildCutDateBackup(long processId, const std::string &cutDate,
                                            const std::string &accessFrom,
                                            const host::Dictionary &vDictFilter)
{
    try {
        backup::CutDateBalance balance;
        balance.processId = processId;
        balance.cutDate = cutDate;
        balance.maxBillInterID = backupState().gMaxBillInterID;
        balance.stock = host::CStr(vDictFilter.Value("Stock"));
        balance.filter = host::CStr(vDictFilter.Value("Filter"));
        const long curYear = currentPeriodPart("CurYear", "CurrentYear");
        const long curPeriod = currentPeriodPart("CurPeriod", "CurrentPeriod");

        auto periods = backup::execute(backup::periodLookupSql(cutDate, curYear, curPeriod));
        backup::setFilter(periods,
                          "FStartDate <= '" + cutDate + "' and FEndDate>= '" + cutDate + "'");
        if (!host::hasRows(periods)) {
            m_cutDateRefusal =
                MParse::LoadLangString("截止日期超出已定义的会计期间范围，不能备份！");
            return std::string(kNoData);
        }
        const long year = host::CLng(host::Val(host::Trim(backup::fieldValue(periods, "FYear"))));
        const long period =
            host::CLng(host::Val(host::Trim(backup::fieldValue(periods, "FPeriod"))));
        host::Variant start;
        if (year < curYear || (year == curYear && period < curPeriod)) {
            balance.baseYear = year;
            balance.basePeriod = period;
            start = backup::fieldValue(periods, "FStartDate");
        } else {
            backup::setFilter(periods, "FYear = " + std::to_string(curYear) +
                                           " And FPeriod = " + std::to_string(curPeriod));
            if (!host::hasRows(periods))
                throw host::HostError("The current period is not defined.");
            balance.baseYear = curYear;
            balance.basePeriod = curPeriod;
            start = backup::fieldValue(periods, "FStartDate");
        }
        balance.startDate = host::DateFormatter().format(start, "YYYY-MM-DD");

        backup::execute(backup::cutDateFillSql(balance));
        if (!host::hasRows(backup::execute("select top 1 1 from ICInvBackupTemp"))) {
            m_cutDateRefusal = MParse::LoadLangString("没有可用的数据，不能备份！");
            return std::string(kNoData);
        }
        return backup::cutDateSelectSql(accessFrom);
    } catch (const std::exception &error) {
        m_cutDateError = backup::errorDescription(error);
        return {};
    }
}
