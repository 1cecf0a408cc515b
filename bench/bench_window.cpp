// The count-sheet window on large counts, each beside the limit SQLite itself sets for the
// same work on the same database file: opening in input, check and print mode against stepping
// the same count-sheet query; saving every line against a plain program's save (see bareSave).
// Each runs on the bench's own lines and on the company init-db makes; the ratio is the worse.
#include "host/db/appconnection.h"
#include "host/db/tsql/tsqlfunctions.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "support/barequery.h"
#include "support/baresave.h"
#include "support/benchsizes.h"
#include "support/countsheet.h"
#include "support/countwindow.h"
#include "window/frmmain.h"

#include <QAbstractItemModel>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The window opened and its first screen painted; the lines it shows.
long openAndPaint(long showType)
{
    const auto window = openWindow(showType);
    window->show();
    window->grab();
    if (showType == 4)
        return window->vsCheck->MaxRows() - 1;
    return window->ldgCheck->Face().Rows() - (showType == 1 ? 3 : 2);
}

void runOpen(benchmark::State &state, long showType, const std::vector<std::string> &summed)
{
    const long lines = state.range(0);
    const std::string bare = bareSheetQuery(showType);
    SheetComparison comparison;
    long shown = 0;
    bool loaded = true;
    const auto openBoth = [&](SheetData data, Comparison &timed) {
        setUpCountSheet(lines, showType, data);
        sqlite3 *db = countSheetHandle(lines, data);
        long stepped = 0;
        timed.bare([&] { stepped = stepQuery(db, bare, summed); });
        timed.module([&] { shown = openAndPaint(showType); });
        loaded = loaded && shown == stepped && stepped > 0;
    };
    comparison.run(state, openBoth);
    if (!loaded)
        state.SkipWithError("the sheet did not load");
    comparison.report(state);
}

void BM_OpenInputMode(benchmark::State &state)
{
    runOpen(state, 4, {});
}
BENCHMARK(BM_OpenInputMode)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

// The check mode also sums its twelve totals, each line rounded to its decimals.
void BM_OpenCheckMode(benchmark::State &state)
{
    runOpen(state, 1,
            {"FQty", "FQtyAct", "FOverQty", "FDownQty", "FCUUnitQty", "FCUUnitQtyAct",
             "FCUUnitOverQty", "FCUUnitDownQty", "FSecQty", "FSecQtyAct", "FSecOverQty",
             "FSecDownQty"});
}
BENCHMARK(BM_OpenCheckMode)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

// The print mode opens on every line and every item without one.
void BM_OpenPrintMode(benchmark::State &state)
{
    runOpen(state, 3, {});
}
BENCHMARK(BM_OpenPrintMode)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

// One typed count in the counting unit: the line's recompute and the totals row.
void BM_EditRecompute(benchmark::State &state)
{
    setUpCountSheet(state.range(0), 4);
    const auto window = openWindow(4);
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

// The count as its backup left it: its lines written afresh in the order the backup wrote
// them, quantities held to their scale as the module stores them, without the checker, note
// and differences a save writes first. It works on a connection of its own, so the module's
// sees only the rows change.
class FreshCount
{
public:
    explicit FreshCount(const std::string &path) : m_db(openPlain(path))
    {
        host::tsql::registerFunctions(m_db.get());
        runBare(m_db.get(), "CREATE TEMP TABLE made AS SELECT * FROM ICInvBackup WHERE FInterID=1 "
                            "ORDER BY rowid");
        runBare(m_db.get(), asBackedUp("temp.made"));
    }
    void restore() const
    {
        runBare(m_db.get(), "BEGIN IMMEDIATE;DELETE FROM ICInvBackup WHERE FInterID=1;"
                            "INSERT INTO ICInvBackup SELECT * FROM temp.made ORDER BY rowid;COMMIT;"
                            "PRAGMA wal_checkpoint(TRUNCATE)");
    }

private:
    PlainConnection m_db;
};

// What a save wrote, summed over the count's lines: both sides must store the same.
std::vector<double> storedTotals(sqlite3 *db)
{
    sqlite3_stmt *query = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT total(FCheckQty),total(FQtyAct),total(FAuxQtyAct),total(FMinus),"
                       "total(FSecQtyAct),total(FSecMinus),total(FChecker),count(FNote),"
                       "total(length(FNote)) FROM ICInvBackup WHERE FInterID=1",
                       -1, &query, nullptr);
    std::vector<double> totals;
    if (sqlite3_step(query) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(query); ++c)
            totals.push_back(sqlite3_column_double(query, c));
    sqlite3_finalize(query);
    return totals;
}

// File/Save of every line of the sheet, each side starting from the count as its backup left
// it (fresh: the first save, which writes the checker, note and differences of every line for
// the first time) or from the count as the other side's save left it (a save of a count saved
// before). Both sides must store the same values.
void runSave(benchmark::State &state, bool fresh)
{
    const long lines = state.range(0);
    SheetComparison comparison;
    std::unique_ptr<FreshCount> made[2];
    bool failed = false;
    const auto saveBoth = [&](SheetData data, Comparison &timed) {
        setUpCountSheet(lines, 4, data);
        sqlite3 *db = countSheetHandle(lines, data);
        const std::string path = countSheetPath(data);
        std::unique_ptr<FreshCount> &count = made[static_cast<int>(data)];
        if (!count || fresh) {
            if (!count)
                count = std::make_unique<FreshCount>(path);
            count->restore();
        }
        const std::vector<LineValues> values = sheetLines(db);
        long unmatched = 0;
        timed.bare([&] { unmatched = bareSave(path, values); });
        const std::vector<double> bareStored = storedTotals(db);
        if (fresh)
            count->restore();
        const auto window = openWindow(4);
        window->mModified = true;
        window->mRowChanged.assign(window->mRowChanged.size(), true);
        frmMain::SaveResult saved = frmMain::SaveResult::Failed;
        timed.module([&] { saved = window->SaveStockData(false); });
        failed = failed || saved != frmMain::SaveResult::Saved || unmatched != 0 ||
                 window->mRowChanged.size() != values.size() || storedTotals(db) != bareStored;
    };
    comparison.run(state, saveBoth);
    if (failed)
        state.SkipWithError("the save failed or stored other values than the plain program");
    comparison.report(state);
}

void BM_SaveFreshCount(benchmark::State &state)
{
    runSave(state, true);
}
BENCHMARK(BM_SaveFreshCount)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveEveryLine(benchmark::State &state)
{
    runSave(state, false);
}
BENCHMARK(BM_SaveEveryLine)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
