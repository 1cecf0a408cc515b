// The backup of a count beside bare SQLite running the same batch into the same indexed tables,
// at several sizes of book stock.
#include "backup/icbackupinv.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "support/benchsizes.h"
#include "support/company.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void removeCounts(Company &c)
{
    c.connection->Execute("delete from ICInvBackup\r\ndelete from ICStockCheckProcess");
}

host::Dictionary backupParams(const Company &c, const std::string &date)
{
    host::Dictionary p;
    p.SetValue("Stock", c.stockList);
    p.SetValue("Filter", "");
    p.SetValue("Date", date);
    p.SetValue("Operater", 16394);
    return p;
}

bool backUp(Company &c, bool cutDate)
{
    const std::string date = host::formatDate(host::now(), "YYYY-MM-DD");
    ICBackupInv backup;
    return backup.GetStockBillMaxID() &&
           backup.BackUpData(backupParams(c, date), cutDate, host::now(), false, true);
}

// The backup's batch written for SQLite directly, in one transaction: the highest bill ids,
// the grouped lines of the chosen stocks, the count's process row and numbering, the counted
// items' check date and the second-unit quantities copied, as the module's batch does them.
void bareBackup(const Company &c)
{
    const std::string date = host::formatDate(host::now(), "YYYY-MM-DD");
    runSqlite("SELECT max(FInterID) FROM ICStockBill");
    runSqlite("SELECT max(FID) FROM t_MTOChange");
    runSqlite("BEGIN");
    runSqlite(
        "INSERT INTO ICInvBackup (FBrNo,FItemID,FBatchNo,FMtoNo,FStockID,FQty,FQtyAct,FCheckQty,"
        "FSelect,FAdj,FDateBackup,FMaxBillInterID,FStockPlaceID,FKFPeriod,FKFDate,FUnitID,FAuxQty,"
        "FAuxQtyAct,FAuxCheckQty,FInterID,FSecQty,FAdjQty,FAuxPropID,FSecUnitID) "
        "SELECT t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,Sum(t1.FQty),Sum(t1.FQty),"
        "Sum(t1.FQty),0,0,strftime('%Y-%m-%d %H:%M:%f','now'),0,t1.FStockPlaceID,t1.FKFPeriod,"
        "t1.FKFDate,t4.FStoreUnitID,Sum(t1.FQty/t3.FCoefficient),Sum(t1.FQty/t3.FCoefficient),"
        "Sum(t1.FQty/t3.FCoefficient),999999,Sum(t1.FSecQty),0,t1.FAuxPropID,t4.FSecUnitID "
        "FROM ICInventory t1 INNER JOIN t_ICItem t4 ON t1.FItemID=t4.FItemID "
        "INNER JOIN t_MeasureUnit t3 ON t4.FStoreUnitID=t3.FMeasureUnitID "
        "INNER JOIN t_StockPlace t5 ON t1.FStockPlaceID=t5.FSPID "
        "WHERE t1.FStockID IN (" +
        c.stockList +
        ") "
        "GROUP BY t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,t1.FStockPlaceID,"
        "t1.FKFPeriod,t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient "
        "ORDER BY t1.FStockID,t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FAuxPropID");
    runSqlite("INSERT INTO ICStockCheckProcess (FID,FProcessID,FDate,FOperatorID,FBackupType) "
              "VALUES (999999,'bare','" +
              date + "',16394,1)");
    runSqlite("UPDATE icbillno SET FCurNo=FCurNo WHERE FBillID=-1");
    runSqlite("UPDATE t_ICItemMaterial SET FLastCheckDate='" + date +
              "' WHERE FCheckCycle>0 AND FItemID IN (SELECT FItemID FROM ICInvBackup WHERE "
              "FInterID=999999)");
    runSqlite("UPDATE ICInvBackup SET FSecQtyAct=FSecQty,FSecCheckQty=FSecQty WHERE "
              "FInterID=999999 AND FSecQty<>0");
    runSqlite("COMMIT");
}

void runBackup(benchmark::State &state, bool cutDate)
{
    Company &c = company(state.range(0));
    Comparison comparison;
    for (auto _ : state) {
        removeCounts(c);
        comparison.bare([&] { bareBackup(c); });
        removeCounts(c);
        bool done = false;
        comparison.module([&] { done = backUp(c, cutDate); });
        if (!done || !c.modals.messages().empty())
            state.SkipWithError("the backup failed");
    }
    comparison.report(state);
    state.counters["lines"] =
        host::CDbl(c.connection->Execute("select count(*) from ICInvBackup")->Fields(0).Value());
}

void BM_BackupCurrentStock(benchmark::State &state)
{
    runBackup(state, false);
}

void BM_BackupCutOffDate(benchmark::State &state)
{
    runBackup(state, true);
}

} // namespace

BENCHMARK(BM_BackupCurrentStock)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BackupCutOffDate)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
