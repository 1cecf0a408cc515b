#pragma once

#include <string>

namespace backup {

// Everything one backup writes, as the caller decided it.
struct SnapshotBatch
{
    long processId = 0;
    std::string processNumber;
    std::string stock;  // stock ids joined by ","; empty: every stock, and no filter
    std::string filter; // "" or " and (...)" over t4 (item) and t5 (stock place)
    std::string date;   // 'yyyy-mm-dd': the process date and the last-check stamp
    long operatorId = 0;
    long maxBillInterID = 0;
    long maxMTOChangeID = 0;
    bool cutDate = false; // the source is the cut-off balance in ICInvBackupTemp
    bool cycleCount = false;
    bool stampItems = false;      // bIsUp
    bool perStock = false;        // StandStock
    bool createItemTable = false; // blnCreateItemTable
    std::string itemTable;        // the per-stock cycle count's item-list table
    std::string cycleSelection;   // the due positions into #temp1, for a cycle count
    std::string source;           // the select over the stock rows (alias t1)
    std::string accessWhere;      // row-level access condition, "" when not in use
};

// The select over current stock, grouped by the caller's batch; its last join is left open for
// the conditions that follow it.
std::string currentStockSelect(long processId, long maxBillInterID, const std::string &accessFrom);

// "t_StockCheckTemp" + process id + the time as yyyyMMddhhmmss.
std::string itemTableName(long processId, double when);

// The one batch of a backup: the lines, and only when lines were made the process row, the
// counter and the last-check dates. Run it as one transaction, so a failure leaves nothing
// behind.
std::string snapshotBatchSql(const SnapshotBatch &batch);

// Drops the item-list table when it exists.
std::string dropItemTableSql(const std::string &name);

} // namespace backup
