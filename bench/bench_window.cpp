// The count-sheet window on large counts, each beside the limit SQLite itself sets for the
// same work on the same database file: opening in input, check and print mode against stepping
// the same count-sheet query; saving every line against a plain program's save (see bareSave).
// Each runs on the bench's own lines and on the company init-db makes; the ratio is the worse.
#include "host/db/appconnection.h"
#include "host/db/tsql/tsqlfunctions.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "support/benchsizes.h"
#include "support/countsheet.h"
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

std::unique_ptr<frmMain> openWindow(long showType)
{
    auto window = std::make_unique<frmMain>();
    window->ShowType(showType);
    window->Load();
    return window;
}

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

// The values of one line as the save writes them.
struct LineValues
{
    std::vector<double> set; // FCheckQty .. FSecAdjQty, FNote apart
    std::string note;
    double coefficient = 0;
    std::vector<long long> key; // FStockID, FItemID, FStockPlaceID, FKFPeriod, FAuxPropID, FUnitID
    std::string kfDate, batchNo, mtoNo;
};

std::vector<LineValues> sheetLines(sqlite3 *db)
{
    sqlite3_stmt *query = nullptr;
    sqlite3_prepare_v2(
        db,
        "SELECT t1.FCheckQty,t1.FQtyAct,t1.FAuxQty,t1.FQty,t1.FAuxCheckQty,t1.FAuxQtyAct,"
        "t1.FAdjQty,t1.FSecQty,t1.FSecQtyAct,t1.FSecCheckQty,t1.FSecAdjQty,ifnull(t1.FNote,''),"
        "t4.FCoefficient,t1.FStockID,t1.FItemID,t1.FStockPlaceID,t1.FKFPeriod,t1.FAuxPropID,"
        "t1.FUnitID,t1.FKFDate,t1.FBatchNo,t1.FMtoNo FROM ICInvBackup t1 JOIN t_ICItem t2 ON "
        "t1.FItemID=t2.FItemID LEFT JOIN t_MeasureUnit t4 ON t1.FUnitID=t4.FItemID WHERE "
        "t2.FDeleted<>1 AND t1.FInterID=1",
        -1, &query, nullptr);
    std::vector<LineValues> lines;
    auto text = [&](int c) {
        return std::string(reinterpret_cast<const char *>(sqlite3_column_text(query, c)));
    };
    while (sqlite3_step(query) == SQLITE_ROW) {
        LineValues v;
        for (int c = 0; c < 11; ++c)
            v.set.push_back(sqlite3_column_double(query, c));
        v.note = text(11);
        v.coefficient = sqlite3_column_double(query, 12);
        for (int c = 13; c < 19; ++c)
            v.key.push_back(sqlite3_column_int64(query, c));
        v.kfDate = text(19);
        v.batchNo = text(20);
        v.mtoNo = text(21);
        lines.push_back(std::move(v));
    }
    sqlite3_finalize(query);
    return lines;
}

class Prepared
{
public:
    Prepared(sqlite3 *db, const std::string &sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Prepared() { sqlite3_finalize(m_stmt); }
    Prepared(const Prepared &) = delete;
    Prepared &operator=(const Prepared &) = delete;
    sqlite3_stmt *operator*() const { return m_stmt; }
    // Runs it once with the values bound; the rows it changed.
    long long run()
    {
        if (sqlite3_step(m_stmt) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        sqlite3_reset(m_stmt);
        return sqlite3_changes64(m_db);
    }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

void exec(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

using PlainConnection = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;

// A plain program's own connection to the file, set as the module's is (WAL, synchronous=NORMAL,
// no mutex), its texts compared as SQL Server compares them, as the file's indexes order them.
PlainConnection openPlain(const std::string &path)
{
    sqlite3 *opened = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &opened,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    PlainConnection db(opened, sqlite3_close);
    if (rc != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(opened));
    exec(db.get(), "PRAGMA synchronous=NORMAL");
    sqlite3_create_collation_v2(
        db.get(), "TSQL", SQLITE_UTF8, nullptr,
        [](void *, int lengthA, const void *a, int lengthB, const void *b) {
            return host::tsql::compareText(static_cast<const char *>(a), lengthA,
                                           static_cast<const char *>(b), lengthB);
        },
        nullptr);
    return db;
}

constexpr const char *kKey = " WHERE FInterID=1 AND FStockID=? AND FItemID=? AND FStockPlaceID=? "
                             "AND FKFPeriod=? AND FAuxPropID=? AND FUnitID=? AND FKFDate=? AND "
                             "FBatchNo=? AND FMtoNo=?";

void bindKey(sqlite3_stmt *stmt, int first, const LineValues &v)
{
    for (std::size_t i = 0; i < v.key.size(); ++i)
        sqlite3_bind_int64(stmt, first + static_cast<int>(i), v.key[i]);
    const int texts = first + static_cast<int>(v.key.size());
    sqlite3_bind_text(stmt, texts, v.kfDate.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(stmt, texts + 1, v.batchNo.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(stmt, texts + 2, v.mtoNo.c_str(), -1, SQLITE_STATIC);
}

int compareTexts(const std::string &a, const std::string &b)
{
    return host::tsql::compareText(a.data(), static_cast<int>(a.size()), b.data(),
                                   static_cast<int>(b.size()));
}

// The lines in the order of the count lines' key index (process, item, auxiliary property,
// unit, batch, plan-tracking number, shelf life, stock, place, date).
std::vector<const LineValues *> inKeyOrder(const std::vector<LineValues> &lines)
{
    std::vector<const LineValues *> ordered;
    ordered.reserve(lines.size());
    for (const LineValues &v : lines)
        ordered.push_back(&v);
    enum
    {
        Stock,
        Item,
        Place,
        Period,
        Aux,
        Unit
    };
    std::sort(ordered.begin(), ordered.end(), [](const LineValues *a, const LineValues *b) {
        for (const int k : {Item, Aux, Unit})
            if (a->key[k] != b->key[k])
                return a->key[k] < b->key[k];
        if (const int c = compareTexts(a->batchNo, b->batchNo); c != 0)
            return c < 0;
        if (const int c = compareTexts(a->mtoNo, b->mtoNo); c != 0)
            return c < 0;
        for (const int k : {Period, Stock, Place})
            if (a->key[k] != b->key[k])
                return a->key[k] < b->key[k];
        return compareTexts(a->kfDate, b->kfDate) < 0;
    });
    return ordered;
}

// A plain program's save of every line: its own connection to the file, the two UPDATEs
// prepared once, the lines sent in the key index's order, each line's values bound, 100 lines
// a transaction, the log emptied into the file at the end; a line that matched nothing is
// counted, as the save tells it. It finds a line
// through the whole key's index, the date compared as stored, and writes only the lines the
// sheet shows (an item deleted since stays out of it): a baseline on the module's connection
// that also wrote the hidden lines measured a save the module never does.
long bareSave(const std::string &path, const std::vector<LineValues> &lines)
{
    const PlainConnection db = openPlain(path);
    Prepared quantities(db.get(),
                        std::string("UPDATE ICInvBackup SET FCheckQty=?,FQtyAct=?,FAuxQty=?,"
                                    "FQty=?,FAuxCheckQty=?,FAuxQtyAct=?,FAdjQty=?,FSecQty=?,"
                                    "FSecQtyAct=?,FSecCheckQty=?,FSecAdjQty=?,FNote=?,"
                                    "FChecker=16") +
                            kKey);
    Prepared differences(db.get(),
                         std::string("UPDATE ICInvBackup SET FMinus=FQtyAct-FQty-"
                                     "FAdjQty*?,FSecMinus=FSecQtyAct-FSecQty-FSecAdjQty") +
                             kKey);
    const std::vector<const LineValues *> ordered = inKeyOrder(lines);
    long unmatched = 0;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        if (i % 100 == 0)
            exec(db.get(), "BEGIN IMMEDIATE");
        const LineValues &v = *ordered[i];
        for (std::size_t c = 0; c < v.set.size(); ++c)
            sqlite3_bind_double(*quantities, static_cast<int>(c) + 1, v.set[c]);
        sqlite3_bind_text(*quantities, 12, v.note.c_str(), -1, SQLITE_STATIC);
        bindKey(*quantities, 13, v);
        if (quantities.run() == 0)
            ++unmatched;
        sqlite3_bind_double(*differences, 1, v.coefficient);
        bindKey(*differences, 2, v);
        differences.run();
        if (i % 100 == 99 || i + 1 == ordered.size())
            exec(db.get(), "COMMIT");
    }
    // What was saved is in the file itself, as after the module's save.
    exec(db.get(), "PRAGMA wal_checkpoint(TRUNCATE)");
    return unmatched;
}

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
        std::string held;
        for (const char *column :
             {"FQty", "FAdjQty", "FCheckQty", "FQtyAct", "FAuxCheckQty", "FAuxQtyAct", "FAuxQty",
              "FSecQty", "FSecQtyAct", "FSecCheckQty", "FSecAdjQty", "FBal"})
            held += std::string(",") + column + "=tsql_decimal(" + column + ",10)";
        exec(m_db.get(), "CREATE TEMP TABLE made AS SELECT * FROM ICInvBackup WHERE FInterID=1 "
                         "ORDER BY rowid");
        exec(m_db.get(),
             ("UPDATE temp.made SET FChecker=NULL,FNote=NULL,FMinus=NULL,FSecMinus=0" + held)
                 .c_str());
    }
    void restore() const
    {
        exec(m_db.get(), "BEGIN IMMEDIATE;DELETE FROM ICInvBackup WHERE FInterID=1;"
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
