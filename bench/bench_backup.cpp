#include "backup/icbackupinv.h"
#include "host/components/hostcomponents.h"
#include "host/core/datetime.h"
#include "host/db/appconnection.h"
#include "host/db/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/ui/scriptedmodals.h"
#include "sampledata/sampledata.h"
#include "sampledata/schema.h"
#include "services/modulestate.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr long kRows = 100000;

// One company of about 100,000 book-stock rows, made once for every benchmark of the run.
struct Company
{
    Company()
    {
        host::registerHostComponents();
        connection = std::make_shared<host::AppConnection>();
        connection->openDatabase(":memory:");
        sampledata::createSchema(*connection);
        sampledata::SampleOptions options;
        options.rows = kRows;
        sampledata::generateSampleData(*connection, options);
        host::setHostConnection(connection);
        auto stocks = connection->Execute("select FItemID from t_Stock order by FItemID");
        for (; !stocks->EOF(); stocks->MoveNext()) {
            if (!stockList.empty())
                stockList += ',';
            stockList += host::CStr(stocks->Fields(0).Value());
        }
        // The cut-off balance starts from the host's current period, as the process list
        // hands it over.
        auto period = connection->Execute(
            "select FKey,FValue from t_SystemProfile where FCategory='IC' and FKey in "
            "('CurrentYear','CurrentPeriod')");
        module().gProcDict = std::make_shared<host::Dictionary>();
        for (; !period->EOF(); period->MoveNext())
            module().gProcDict->SetValue(
                host::CStr(period->Fields(0).Value()) == "CurrentYear" ? "CurYear" : "CurPeriod",
                period->Fields(1).Value());
    }

    // A message would wait for a user; here it is recorded and fails the run.
    host::ui::ScriptedModals modals;
    std::shared_ptr<host::AppConnection> connection;
    std::string stockList;
};

Company &company()
{
    static Company c;
    return c;
}

void removeCounts()
{
    company().connection->Execute("delete from ICInvBackup\r\ndelete from ICStockCheckProcess");
}

host::Dictionary backupParams(const std::string &date)
{
    host::Dictionary p;
    p.SetValue("Stock", company().stockList);
    p.SetValue("Filter", "");
    p.SetValue("Date", date);
    p.SetValue("Operater", 16394);
    return p;
}

void runBackup(benchmark::State &state, bool cutDate)
{
    company();
    const std::string date = host::formatDate(host::now(), "YYYY-MM-DD");
    for (auto _ : state) {
        state.PauseTiming();
        removeCounts();
        state.ResumeTiming();
        ICBackupInv backup;
        if (!backup.GetStockBillMaxID() ||
            !backup.BackUpData(backupParams(date), cutDate, host::now(), false, true))
            state.SkipWithError("the backup failed");
        if (!company().modals.messages().empty())
            state.SkipWithError(company().modals.messageTexts().join(' ').toStdString().c_str());
    }
    state.counters["lines"] = host::CDbl(
        company().connection->Execute("select count(*) from ICInvBackup")->Fields(0).Value());
}

void BM_BackupCurrentStock(benchmark::State &state)
{
    runBackup(state, false);
}

void BM_BackupCutOffDate(benchmark::State &state)
{
    runBackup(state, true);
}

// The same grouping of the same rows written for SQLite directly, on the same database.
void BM_SqliteInsertSelectGroupBy(benchmark::State &state)
{
    sqlite3 *db = company().connection->embedded()->handle();
    auto run = [db](const char *sql) {
        char *error = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "sqlite3_exec failed";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    };
    run("CREATE TEMP TABLE IF NOT EXISTS bench_lines (FBrNo TEXT, FItemID INTEGER, FBatchNo TEXT, "
        "FMtoNo TEXT, FStockID INTEGER, FQty REAL, FQtyAct REAL, FCheckQty REAL, FStockPlaceID "
        "INTEGER, FKFPeriod INTEGER, FKFDate TEXT, FUnitID INTEGER, FAuxQty REAL, FAuxQtyAct "
        "REAL, FAuxCheckQty REAL, FInterID INTEGER, FSecQty REAL, FAuxPropID INTEGER, FSecUnitID "
        "INTEGER)");
    for (auto _ : state) {
        state.PauseTiming();
        run("DELETE FROM bench_lines");
        state.ResumeTiming();
        run("INSERT INTO bench_lines SELECT t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,"
            "Sum(t1.FQty),Sum(t1.FQty),Sum(t1.FQty),t1.FStockPlaceID,t1.FKFPeriod,t1.FKFDate,"
            "t4.FStoreUnitID,Sum(t1.FQty/t3.FCoefficient),Sum(t1.FQty/t3.FCoefficient),"
            "Sum(t1.FQty/t3.FCoefficient),1,Sum(t1.FSecQty),t1.FAuxPropID,t4.FSecUnitID "
            "FROM ICInventory t1 INNER JOIN t_ICItem t4 ON t1.FItemID=t4.FItemID "
            "INNER JOIN t_MeasureUnit t3 ON t4.FStoreUnitID=t3.FMeasureUnitID "
            "INNER JOIN t_StockPlace t5 ON t1.FStockPlaceID=t5.FSPID "
            "GROUP BY t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,t1.FStockPlaceID,"
            "t1.FKFPeriod,t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient "
            "ORDER BY t1.FStockID,t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FAuxPropID");
    }
}

} // namespace

BENCHMARK(BM_BackupCurrentStock)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BackupCutOffDate)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SqliteInsertSelectGroupBy)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
