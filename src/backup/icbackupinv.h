#pragma once

#include "host/core/dictionary.h"
#include "host/core/vector.h"

#include <memory>
#include <string>
#include <string_view>

namespace host {
class Recordset;
}

// The module's operations on count processes: the process store, the pre-checks of a backup,
// the cycle-count selection and the backup of book stock into a new count. Creating one puts a
// new application connection into gAppConn; releasing it leaves that connection in place for
// the rest of the module. All SQL runs through gAppConn on the caller's thread.
class ICBackupInv
{
public:
    ICBackupInv();

    // Process store.

    // Bill numbers of the stock bills made from the process, joined by ","; "" when none.
    std::string GetStockBillByProcID(long vProcID);
    // The process row, its count lines and the bill entries' selection of it, all or nothing; a
    // failure is told to the user with its cause.
    bool DelProcAndBackupData(long vProcID);
    // The processes with the operator's name as username. blnSortByDesc true lists ascending
    // by FID (the callers rely on that reading of the flag), false descending.
    std::shared_ptr<host::Recordset> GetProcList(bool ShowCloseProc = false,
                                                 bool blnSortByDesc = false);
    // New names and remarks: dictionaries with "ProcID", "Remark" and "FID".
    bool SaveProc(const host::Vector &vVect);
    bool StockIsBackuped(long StockID);
    bool StockIsFinished(long StockID);

    // Book-stock backup. vDictFilter holds "Stock" (ids joined by ","), "Filter", "Date"
    // ('yyyy-mm-dd') and "Operater". A per-stock cycle count passes the same strTmpTableName
    // to every call: the first call names the item-list table, the last one drops it.
    bool BackUpData(const host::Dictionary &vDictFilter, bool blnIsCutDate = false,
                    double vCutDate = 0, bool blnCycCheck = false, bool bIsUp = false,
                    bool StandStock = false, bool blnCreateItemTable = false,
                    std::string *strTmpTableName = nullptr);

    // Pre-checks: each returns "" when the backup may go on, else the message for the user.
    std::string SyncPosBill();
    // Takes the snapshot maxima gMaxBillInterID and gMaxMTOChangeID. False after a failure; the
    // backup then refuses to run on the old maxima and tells the user once.
    bool GetStockBillMaxID();
    // Tells the user that the maxima could not be read, unless that was told already.
    static void ReportMaximaFailure();
    // Ends a backup (of one or of every stock): the next one must take its maxima afresh.
    static void EndBackup();
    std::string CheckStockRecCount(const host::Dictionary &vDict, bool blnIsCutDate = false,
                                   double CutDate = 0);
    std::string CheckBillInterID(const host::Dictionary &vDict);

    // Cycle counts. With blnGetSql only the selection text is handed back in vSql and nothing
    // is sent; vCondition is one stock id, or empty for all stocks.
    std::shared_ptr<host::Recordset> GetCheckCycItem(std::string *vSql = nullptr,
                                                     bool blnGetSql = false,
                                                     std::string_view vCondition = {});
    std::shared_ptr<host::Recordset> GetCheckCycStockID();

private:
    // The select over ICInvBackupTemp after filling it with the balance at the cut-off date;
    // "NoData" when there is nothing to back up, with the refusal to show once the backup's
    // transaction has ended; "" on an error.
    std::string BuildCutDateBackup(long processId, const std::string &cutDate,
                                   const std::string &accessFrom,
                                   const host::Dictionary &vDictFilter);
    std::string BuildUnauditedBillSQL(long stockId, const std::string &condition,
                                      const host::Dictionary &vDict);

    std::string m_cutDateError;   // why BuildCutDateBackup failed
    std::string m_cutDateRefusal; // why BuildCutDateBackup found nothing to back up
};

// One backup as the user asked for it, of one stock or of each stock in turn: when it ends,
// the next backup must take its maxima afresh.
class BackupScope
{
public:
    BackupScope() = default;
    ~BackupScope() { ICBackupInv::EndBackup(); }
    BackupScope(const BackupScope &) = delete;
    BackupScope &operator=(const BackupScope &) = delete;
};
