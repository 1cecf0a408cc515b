// The import of a count sheet from an .xlsx file on disk whose lines all match count lines,
// beside bare SQLite doing the same reading (unzip, XML parse), lookups, row checks, staging,
// completion from the count and set-based update and insert into the same indexed ICInvBackup,
// each from the same count in the same database file, at several sizes.
#include "backup/icbackupinv.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "import/importfromexcel.h"
#include "import/importsheet.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "support/bareimport.h"
#include "support/barequery.h"
#include "support/benchdir.h"
#include "support/benchsizes.h"
#include "support/company.h"
#include "support/countsheet.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::filesystem::path &benchDir()
{
    static const BenchDir dir("bench-import");
    return dir.path();
}

// Where a count comes from: the company's current stock `init-db --rows N` makes, backed up and
// written to a database file of its own, or the bench's own count of N generated lines over the
// demo company (the one the count-sheet window is measured on).
enum class Source
{
    Company,
    CountSheet
};

// A count in a database file and a workbook of up to `sheetLines` lines of it.
struct ImportCase
{
    ImportCase(Source from, long size, long sheetLines) : source(from)
    {
        if (source == Source::Company)
            backUpCompany(size);
        else
            useCountSheet(size);
        activate();
        connection->Execute("update t_SystemProfile set FValue='0' where FCategory='IC' and "
                            "FKey='EnableMtoPlanMode'");
        const auto sheet = connection->Execute(sheetQuery(interId, sheetLines));
        lines = sheet->RecordCount();
        workbook = benchDir() / ("count-" + std::to_string(static_cast<int>(source)) + "-" +
                                 std::to_string(rows) + ".xlsx");
        writeWorkbook(workbook, *sheet);
        run("DROP TABLE IF EXISTS temp.bench_count;"
            "CREATE TEMP TABLE bench_count AS SELECT * FROM ICInvBackup");
    }

    ~ImportCase()
    {
        std::filesystem::remove(workbook);
        if (source == Source::CountSheet) {
            restoreCount();
            return;
        }
        useConnection(company(rows).connection);
        connection->close();
        for (const char *suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(database.string() + suffix);
    }
    ImportCase(const ImportCase &) = delete;
    ImportCase &operator=(const ImportCase &) = delete;

    sqlite3 *db() const { return connection->embedded()->handle(); }

    // Hands the module this case's database and count, as the host hands them over.
    void activate() const
    {
        MParse::ParseProps(MMTS::GetPropsString());
        useConnection(connection);
        module().gCurInterID = interId;
        module().gUseShortNumber = true;
    }

    void run(const std::string &sql) const { runBare(db(), sql); }

    // Each import starts from the count as it was made, with nothing of the last one waiting
    // in the write-ahead log.
    void restoreCount() const
    {
        run("DELETE FROM ICInvBackup;INSERT INTO ICInvBackup SELECT * FROM temp.bench_count");
        run("PRAGMA wal_checkpoint(TRUNCATE)");
    }

    Source source;
    long long interId = 1;
    std::filesystem::path database;
    std::filesystem::path workbook;
    std::shared_ptr<host::AppConnection> connection;
    long lines = 0;

private:
    static void useConnection(const std::shared_ptr<host::AppConnection> &to)
    {
        host::setHostConnection(to);
        module().gAppConn = to;
    }

    // The company's current stock backed up, the database then written to a file and opened
    // as the host opens it.
    void backUpCompany(long companyRows)
    {
        rows = companyRows;
        Company &c = company(rows);
        useConnection(c.connection);
        c.connection->Execute("delete from ICInvBackup\r\ndelete from ICStockCheckProcess");
        host::Dictionary p;
        p.SetValue("Stock", c.stockList);
        p.SetValue("Filter", "");
        p.SetValue("Date", host::formatDate(host::now(), "YYYY-MM-DD"));
        p.SetValue("Operater", 16394);
        ICBackupInv backup;
        backup.GetStockBillMaxID();
        backup.BackUpData(p, false, host::now(), false, true);
        database = benchDir() / ("count-" + std::to_string(rows) + ".db");
        std::filesystem::remove(database);
        runSqlite("VACUUM INTO '" + database.string() + "'");
        connection = std::make_shared<host::AppConnection>();
        connection->openDatabase(database.string());
        useConnection(connection);
        interId = host::CLng(
            connection->Execute("select max(FID) from ICStockCheckProcess")->Fields(0).Value());
    }

    // The bench's own count process 1 of `lines` lines.
    void useCountSheet(long countLines)
    {
        rows = countLines;
        setUpCountSheet(countLines, 4);
        connection = countSheetDatabase(countLines);
        interId = 1;
    }

    long rows = 0;
};

// The count lines stored now are exactly those the other side stored (kept in
// temp.bench_first), each value of the same type and to the last digit.
bool storedAlike(const ImportCase &ic)
{
    const std::string now = storedRows("ICInvBackup");
    const std::string first = "SELECT * FROM temp.bench_first";
    return bareRowsAsText(ic.db(), "SELECT count(*) FROM (" + now + " EXCEPT " + first +
                                       ") UNION ALL SELECT count(*) FROM (" + first + " EXCEPT " +
                                       now + ")") ==
           std::vector<std::vector<std::string>>{{"0"}, {"0"}};
}

// One import of each side on a case, in the order given, the module's messages checked; with
// `compare`, the count lines each stored compared too. False when either failed or refused a
// line, or they stored different lines.
bool importBoth(const ImportCase &ic, Comparison &comparison,
                const host::ui::ScriptedModals &modals, bool moduleFirst, bool compare,
                std::string &failure)
{
    ic.activate();
    const BareImport bare{ic.db(), ic.workbook, ic.interId, module().gOperatorID};
    size_t bareRefused = 0;
    bool done = false;
    QStringList messages;
    const auto importOne = [&](bool module) {
        ic.restoreCount();
        if (!module) {
            comparison.bare([&] { bareRefused = bareImport(bare); });
            return;
        }
        const qsizetype shown = modals.messageTexts().size();
        comparison.module([&] { done = PubVariant::ImportFromExcel(ic.workbook.string()); });
        messages = modals.messageTexts().mid(shown);
    };
    importOne(moduleFirst);
    if (compare)
        ic.run("DROP TABLE IF EXISTS temp.bench_first;CREATE TEMP TABLE bench_first AS " +
               storedRows("ICInvBackup"));
    importOne(!moduleFirst);
    if (!done || bareRefused != 0 || messages != QStringList{"数据引入完毕!"}) {
        failure = "an import failed or refused lines: " + messages.join('\n').toStdString();
        return false;
    }
    if (compare && !storedAlike(ic)) {
        failure = "the two imports stored different count lines";
        return false;
    }
    return true;
}

// Each size on both counts: the company's (module_s, bare_s) and the bench's own
// (countModule_s, countBare_s); `ratio` is the worse of the two.
void BM_ImportMatchingLines(benchmark::State &state)
{
    const ImportCase company(Source::Company, state.range(0), state.range(1));
    const ImportCase counted(Source::CountSheet, state.range(0), state.range(1));
    // Installed last, so that it is the one answering whichever count is imported.
    const host::ui::ScriptedModals modals;
    Comparison onCompany;
    Comparison onCount;
    std::string failure;
    // The sides take turns going first; the stored lines are compared once, as neither side's
    // result depends on the round.
    bool moduleFirst = false;
    bool compare = true;
    for (auto _ : state) {
        if (!importBoth(company, onCompany, modals, moduleFirst, compare, failure) ||
            !importBoth(counted, onCount, modals, moduleFirst, compare, failure))
            state.SkipWithError(failure.c_str());
        moduleFirst = !moduleFirst;
        compare = false;
    }
    onCompany.report(state);
    onCount.report(state, "count");
    state.counters["ratio"] = std::max(onCompany.ratio(), onCount.ratio());
    state.counters["sheetLines"] = static_cast<double>(company.lines);
    state.counters["countSheetLines"] = static_cast<double>(counted.lines);
    state.counters["fileMB"] =
        static_cast<double>(std::filesystem::file_size(company.workbook)) / (1 << 20);
}

// Lines of the count and of the sheet: half the count as a count sheet usually brings, and a
// whole count. At the large size a sheet of a million lines into a count of a million, beside
// one of 100,000 lines into the same count: the base data are the same, so the two peaks show
// what the sheet's lines add.
void importSizes(benchmark::internal::Benchmark *b)
{
    b->Args({10000, 5000})->Args({100000, 50000})->Args({100000, 100000});
    if (const char *large = std::getenv("STOCKCHECK_BENCH_LARGE"); large && *large)
        b->Args({1000000, 100000})->Args({1000000, 1000000});
}

} // namespace

BENCHMARK(BM_ImportMatchingLines)->Apply(importSizes)->Unit(benchmark::kMillisecond)->Iterations(6);
