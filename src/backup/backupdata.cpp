#include "backup/icbackupinv.h"

#include "backup/backupbatch.h"
#include "backup/backupstate.h"
#include "backup/dbaccess.h"
#include "backup/processnumber.h"
#include "host/core/dateformatter.h"
#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/db/databasefault.h"
#include "host/db/servertransaction.h"
#include "services/appconn.h"
#include "services/databasefailure.h"
#include "services/mmts.h"
#include "services/modqellogmsg.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <exception>

namespace {

// Removes what a failed backup may have left; each step on its own, so one that finds nothing
// to remove does not keep the others from running.
void cleanUp(bool cycleCount, const std::string &itemTable) noexcept
{
    auto attempt = [](const std::string &sql) {
        try {
            backup::execute(sql);
        } catch (const std::exception &) {
        }
    };
    attempt("Truncate Table ICInvBackupTemp\r\n");
    if (cycleCount)
        attempt("drop table #temp1 \r\n");
    if (!itemTable.empty())
        attempt(backup::dropItemTableSql(itemTable));
}

} // namespace

bool ICBackupInv::BackUpData(const host::Dictionary &vDictFilter, bool blnIsCutDate,
                             double vCutDate, bool blnCycCheck, bool bIsUp, bool StandStock,
                             bool blnCreateItemTable, std::string *strTmpTableName)
{
    const long log = modQelLogMsg::LogStart("ZarvoStockCheck.ICBackupInv.BackUpData");
    std::string localTableName;
    std::string &itemTable = strTmpTableName ? *strTmpTableName : localTableName;
    const auto &snapshot = backupState();
    try {
        // Without fresh maxima the new count would compare against another moment's bills.
        using Maxima = BackupState::SnapshotMaxima;
        if (snapshot.gSnapshotMaxima == Maxima::NotRead)
            throw host::HostError("The highest bill ids were not read for this backup.");
        if (snapshot.gSnapshotMaxima != Maxima::Taken) {
            modQelLogMsg::LogEnd(log, 1);
            ReportMaximaFailure();
            return false;
        }
        backup::SnapshotBatch batch;
        batch.operatorId = host::CLng(host::Val(vDictFilter.Value("Operater")));
        std::string accessFrom;
        MMTS::GetCountLineAccessSQL(batch.operatorId, accessFrom, batch.accessWhere);

        // From the process number to the last line: a refused or failed backup leaves nothing,
        // the numbering counter included. Writing the numbering row first makes a second backup
        // wait here until this one has ended, so the two never read the same highest process id.
        host::ServerTransaction transaction(appConn());
        backup::execute("update icbillno set fcurno=fcurno where fbillid=-1");
        const backup::ProcessNumber number = backup::allocateProcessNumber();
        batch.processId = number.id;
        batch.processNumber = number.number;
        batch.stock = host::CStr(vDictFilter.Value("Stock"));
        batch.filter = host::CStr(vDictFilter.Value("Filter"));
        batch.date = host::CStr(vDictFilter.Value("Date"));
        batch.maxBillInterID = snapshot.gMaxBillInterID;
        batch.maxMTOChangeID = snapshot.gMaxMTOChangeID;
        batch.cycleCount = blnCycCheck;
        batch.cutDate = blnIsCutDate && !blnCycCheck;
        batch.stampItems = bIsUp;
        batch.perStock = StandStock;
        batch.createItemTable = blnCreateItemTable;

        if (batch.cutDate) {
            batch.source = BuildCutDateBackup(
                batch.processId,
                host::DateFormatter().format(host::Variant::fromDate(vCutDate), "YYYY-MM-DD"),
                accessFrom, vDictFilter);
            if (batch.source == "NoData") {
                modQelLogMsg::LogEnd(log, 1);
                // Said once the transaction has rolled back, so that nobody else waits on the
                // user's reading it.
                transaction.rollback();
                PubVariant::MsgBox(m_cutDateRefusal, PubVariant::vbInformation);
                return false;
            }
            if (batch.source.empty())
                throw host::HostError("The cut-off balance could not be built: " + m_cutDateError);
        } else {
            batch.source =
                backup::currentStockSelect(batch.processId, batch.maxBillInterID, accessFrom);
        }
        if (blnCycCheck) {
            GetCheckCycItem(&batch.cycleSelection, true, batch.stock);
            if (itemTable.empty())
                itemTable = backup::itemTableName(batch.processId, host::now());
            batch.itemTable = itemTable;
        }

        backup::execute(backup::snapshotBatchSql(batch));
        transaction.commit();
        modQelLogMsg::LogEnd(log, 0);
        return true;
    } catch (const std::exception &error) {
        modQelLogMsg::LogEnd(log, 1);
        // The backup's own writes are rolled back; on a busy database the clean-up would only
        // wait once more.
        if (host::databaseFault(error) != host::DatabaseFault::Busy)
            cleanUp(blnCycCheck, itemTable);
        PubVariant::MsgBox(
            MParse::LoadLangString("备份数据失败！") + "\n" +
                databaseFailureCause(error).value_or(backup::errorDescription(error)),
            PubVariant::vbInformation);
        return false;
    }
}

void ICBackupInv::ReportMaximaFailure()
{
    auto &maxima = backupState().gSnapshotMaxima;
    if (maxima != BackupState::SnapshotMaxima::ReadFailed)
        return;
    maxima = BackupState::SnapshotMaxima::FailureReported;
    PubVariant::MsgBox(MParse::LoadLangString("读取单据最大内码失败，不能备份！"),
                       PubVariant::vbInformation);
}

void ICBackupInv::EndBackup()
{
    backupState().gSnapshotMaxima = BackupState::SnapshotMaxima::NotRead;
}
