// The count-sheet window on large counts: opening in input and in check mode, one edit's
// recompute, and a save of many edited lines, each beside what bare SQLite needs for the same
// rows.
#include "host/components/hostcomponents.h"
#include "host/core/paths.h"
#include "host/db/appconnection.h"
#include "host/db/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/props/shareprops.h"
#include "host/ui/ledgergrid.h"
#include "host/ui/scriptedmodals.h"
#include "host/ui/spreadgrid.h"
#include "sampledata/sampledata.h"
#include "sampledata/schema.h"
#include "services/modulestate.h"
#include "support/barequery.h"
#include "support/peakmemory.h"
#include "window/frmmain.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// The demo company with one open count process (id 1) of the given number of lines, one
// database per size, kept for the run.
std::shared_ptr<host::AppConnection> sheetDatabase(long lines)
{
    static std::map<long, std::shared_ptr<host::AppConnection>> databases;
    auto &db = databases[lines];
    if (db)
        return db;
    db = std::make_shared<host::AppConnection>();
    db->openDatabase(":memory:");
    sampledata::createSchema(*db);
    sampledata::generateSampleData(*db);
    db->Execute("INSERT INTO ICStockCheckProcess (FID,FProcessID,FDate,FOperatorID,FStatus,"
                "FBackupType,FMaxBillInterID,FMaxMTOChangeID) VALUES (1,'BENCH','2026-12-01',16,"
                "0,1,0,0)");
    const std::string fill =
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<" +
        std::to_string(lines - 1) +
        "), items AS (SELECT FItemID,FStoreUnitID,FSecUnitID,ROW_NUMBER() OVER (ORDER BY "
        "FItemID)-1 "
        "AS k FROM t_ICItem WHERE FDeleted=0), stocks AS (SELECT FItemID,ROW_NUMBER() OVER "
        "(ORDER BY FItemID)-1 AS k FROM t_Stock) "
        "INSERT INTO ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,"
        "FStockID,FStockPlaceID,FKFDate,FKFPeriod,FQty,FCheckQty,FQtyAct,FAuxQty,FAuxCheckQty,"
        "FAuxQtyAct,FAdjQty,FSecUnitID,FSecQty,FSecCheckQty,FSecQtyAct,FSecAdjQty,FMinus,"
        "FSecMinus,FNote,FSelect,FAdj,FDateBackup,FMaxBillInterID) "
        "SELECT 1,'0',it.FItemID,0,it.FStoreUnitID,'B'||i,'',st.FItemID,0,'',0,i%500+0.25,"
        "i%500+0.25,i%500+0.25,i%500+0.25,i%500+0.25,i%500+0.25,0,it.FSecUnitID,0,0,0,0,0,0,'',"
        "0,0,'2026-12-01 08:00:00.000',0 FROM n "
        "JOIN items it ON it.k=n.i%(SELECT COUNT(*) FROM items) "
        "JOIN stocks st ON st.k=n.i%(SELECT COUNT(*) FROM stocks)";
    char *error = nullptr;
    if (sqlite3_exec(db->embedded()->handle(), fill.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        std::abort();
    return db;
}

void setUpModule(long lines)
{
    // Messages (the large-count warning) are answered without a user.
    static host::ui::ScriptedModals modals;
    static QTemporaryDir home;
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        setenv(variable, home.path().toUtf8().constData(), 1);
    setenv("STOCKCHECK_LOG", "off", 1);
    host::registerHostComponents();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16;SUBID=ic;LANGUAGE=CHS;");
    resetModuleState();
    const auto db = sheetDatabase(lines);
    module().gAppConn = db;
    module().gOperatorID = 16;
    host::setHostConnection(db);
}

std::unique_ptr<frmMain> openWindow(long showType,
                                    const std::function<void(frmMain &)> &beforeLoad = {})
{
    auto window = std::make_unique<frmMain>();
    if (beforeLoad)
        beforeLoad(*window);
    window->ShowType(showType);
    window->Load();
    return window;
}

std::unique_ptr<frmMain> openInput()
{
    return openWindow(4);
}

// Opening the input window on 100,000 lines, until the entry grid is filled.
void BM_OpenInputWindow(benchmark::State &state)
{
    setUpModule(state.range(0));
    const PeakMemory peak;
    int rows = 0;
    for (auto _ : state) {
        const auto window = openInput();
        rows = window->vsCheck->MaxRows() - 1;
    }
    if (rows != state.range(0))
        state.SkipWithError("the sheet did not load");
    state.counters["peakMB"] = peak.addedMb();
}
BENCHMARK(BM_OpenInputWindow)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Opening the check window on 100,000 lines until its first screen of the ledger is painted;
// the ledger asks only for the rows it paints.
void BM_OpenCheckWindow(benchmark::State &state)
{
    setUpModule(state.range(0));
    const PeakMemory peak;
    long ledgerRows = 0;
    long fetched = 0;
    for (auto _ : state) {
        const auto window = openWindow(1, [&fetched](frmMain &unloaded) {
            QObject::connect(unloaded.ldgCheck, &host::ui::LedgerGrid::FetchRow,
                             [&fetched](int, QString &, long &) { ++fetched; });
        });
        window->show();
        window->grab();
        ledgerRows = window->ldgCheck->Face().Rows() - 3;
    }
    if (ledgerRows != state.range(0) || fetched == 0)
        state.SkipWithError("the ledger did not load");
    state.counters["peakMB"] = peak.addedMb();
    state.counters["fetched"] = static_cast<double>(fetched);
}
BENCHMARK(BM_OpenCheckWindow)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Baseline: the lines with their item, units, stock and place, every column read as text.
void BM_BareSheetQuery(benchmark::State &state)
{
    setUpModule(state.range(0));
    sqlite3 *handle = sheetDatabase(state.range(0))->embedded()->handle();
    long rows = 0;
    for (auto _ : state) {
        const auto table = bareRowsAsText(
            handle, "SELECT t1.*,t2.FNumber,t2.FShortNumber,t2.FName,t2.FModel,"
                    "t2.FQtyDecimal,t3.FName,t3.FNumber,t4.FName,t4.FNumber,"
                    "t4.FCoefficient,t4.FUnitGroupID,t5.FName,t12.FName,t12.FNumber,"
                    "t11.FName,t11.FNumber FROM ICInvBackup t1 "
                    "JOIN t_ICItem t2 ON t1.FItemID=t2.FItemID "
                    "LEFT JOIN t_MeasureUnit t3 ON t2.FUnitID=t3.FItemID "
                    "LEFT JOIN t_MeasureUnit t4 ON t1.FUnitID=t4.FItemID "
                    "LEFT JOIN t_MeasureUnit t5 ON t2.FSecUnitID=t5.FItemID "
                    "LEFT JOIN t_Stock t12 ON t1.FStockID=t12.FItemID "
                    "LEFT JOIN t_StockPlace t11 ON t1.FStockPlaceID=t11.FSPID "
                    "WHERE t1.FInterID=1 ORDER BY t12.FName DESC,t11.FName,t2.FName");
        rows = static_cast<long>(table.size());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BareSheetQuery)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One typed count in the counting unit: the line's recompute and the totals row.
void BM_EditRecompute(benchmark::State &state)
{
    setUpModule(state.range(0));
    const auto window = openInput();
    const int row = static_cast<int>(state.range(0) / 2);
    QAbstractItemModel *model = window->vsCheck->model();
    const QModelIndex cell = model->index(row - 1, 23);
    double typed = 1;
    for (auto _ : state) {
        window->vsCheck_EditMode(24, row, 1, false);
        model->setData(cell, QString::number(typed));
        typed += 1;
    }
}
BENCHMARK(BM_EditRecompute)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

constexpr long kSavedLines = 10000;

// Saving every line of a 10,000-line sheet.
void BM_SaveEditedLines(benchmark::State &state)
{
    setUpModule(kSavedLines);
    const auto window = openInput();
    for (auto _ : state) {
        window->mModified = true;
        window->mRowChanged.assign(window->mRowChanged.size(), true);
        if (window->SaveStockData(false) != frmMain::SaveResult::Saved)
            state.SkipWithError("the save failed");
    }
    state.counters["lines"] = static_cast<double>(window->mRowChanged.size());
}
BENCHMARK(BM_SaveEditedLines)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: the same two UPDATEs per line in SQLite's dialect, sent as text in batches of 100
// lines, as the save sends them.
void BM_BareUpdates(benchmark::State &state)
{
    setUpModule(kSavedLines);
    sqlite3 *handle = sheetDatabase(kSavedLines)->embedded()->handle();
    const std::string key = " WHERE FInterID=1 AND FStockID='||FStockID||' AND FItemID='||"
                            "FItemID||' AND FStockPlaceID='||FStockPlaceID||' AND FKFDate='''' "
                            "AND FKFPeriod=0 AND FBatchNo='''||FBatchNo||''' AND FMtoNo='''' AND "
                            "FAuxPropID='||FAuxPropID||' AND FUnitID='||FUnitID||';";
    const std::string statements =
        "SELECT 'UPDATE ICInvBackup SET FCheckQty='||FCheckQty||',FQtyAct='||FCheckQty||"
        "',FAuxQty='||FAuxQty||',FQty='||FQty||',FAuxCheckQty='||FAuxCheckQty||',FAuxQtyAct='||"
        "FAuxCheckQty||',FChecker=16,FNote='''',FAdjQty=0,FSecQty=0,FSecQtyAct=0,FSecCheckQty=0,"
        "FSecAdjQty=0" +
        key +
        "UPDATE ICInvBackup SET FMinus=FQtyAct-FQty-FAdjQty,FSecMinus=FSecQtyAct-FSecQty-"
        "FSecAdjQty" +
        key + "' FROM ICInvBackup WHERE FInterID=1";
    std::vector<std::string> lines;
    sqlite3_stmt *query = nullptr;
    if (sqlite3_prepare_v2(handle, statements.c_str(), -1, &query, nullptr) != SQLITE_OK)
        state.SkipWithError(sqlite3_errmsg(handle));
    while (sqlite3_step(query) == SQLITE_ROW)
        lines.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(query, 0)));
    sqlite3_finalize(query);
    for (auto _ : state) {
        std::string batch;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            batch += lines[i];
            if ((i + 1) % 100 == 0 || i + 1 == lines.size()) {
                if (sqlite3_exec(handle, batch.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
                    state.SkipWithError("a bare batch failed");
                batch.clear();
            }
        }
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_BareUpdates)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
