#include "countsheet/maindo.h"
#include "host/components/hostcomponents.h"
#include "host/core/dictionary.h"
#include "host/core/paths.h"
#include "host/db/appconnection.h"
#include "host/db/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset.h"
#include "host/props/shareprops.h"
#include "host/ui/spreadgrid.h"
#include "sampledata/sampledata.h"
#include "sampledata/schema.h"
#include "services/modulestate.h"

#include "support/barequery.h"
#include "support/benchsizes.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace {

// The sample company with one count process of `lines` lines over its items and stocks; one
// database at a time.
std::shared_ptr<host::AppConnection> countDatabase(long lineCount)
{
    static long made = 0;
    static std::shared_ptr<host::AppConnection> db;
    if (made == lineCount)
        return db;
    db.reset();
    made = lineCount;
    db = [lineCount] {
        auto connection = std::make_shared<host::AppConnection>();
        connection->openDatabase(":memory:");
        sampledata::createSchema(*connection);
        sampledata::SampleOptions options;
        options.rows = 2000;
        sampledata::generateSampleData(*connection, options);

        struct Item
        {
            long id, unit, secUnit;
        };
        std::vector<Item> items;
        auto rs = connection->Execute(
            "Select FItemID,FStoreUnitID,FSecUnitID From t_ICItem Where FDeleted=0");
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
            items.push_back({host::CLng(rs->Fields(0L).Value()), host::CLng(rs->Fields(1L).Value()),
                             host::CLng(rs->Fields(2L).Value())});
        std::vector<long> stocks;
        rs = connection->Execute("Select FItemID From t_Stock");
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
            stocks.push_back(host::CLng(rs->Fields(0L).Value()));

        sqlite3 *handle = connection->embedded()->handle();
        sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(handle,
                           "INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FBatchNo,"
                           "FKFDate,FQty,FCheckQty,FQtyAct,FAuxQty,FAuxCheckQty,FAuxQtyAct,FMinus,"
                           "FSecUnitID,FSecQty,FSecCheckQty,FSecQtyAct,FNote,FDateBackup) VALUES "
                           "(1,?,?,?,?,'',?,?,?,?,?,?,?,?,?,?,?,'','2026-12-01 08:00:00.000')",
                           -1, &insert, nullptr);
        for (long line = 0; line < lineCount; ++line) {
            const Item &item = items[static_cast<size_t>(line) % items.size()];
            const double book = static_cast<double>(line % 500) + 0.25;
            const double counted = book + static_cast<double>(line % 7) - 3;
            const std::string batch = "B" + std::to_string(line);
            sqlite3_bind_int64(insert, 1, item.id);
            sqlite3_bind_int64(insert, 2, item.unit);
            sqlite3_bind_int64(insert, 3, stocks[static_cast<size_t>(line) % stocks.size()]);
            sqlite3_bind_text(insert, 4, batch.c_str(), -1, SQLITE_TRANSIENT);
            for (int i : {5, 6, 7})
                sqlite3_bind_double(insert, i, i == 5 ? book : counted);
            for (int i : {8, 9, 10})
                sqlite3_bind_double(insert, i, i == 8 ? book : counted);
            sqlite3_bind_double(insert, 11, counted - book);
            sqlite3_bind_int64(insert, 12, item.secUnit);
            for (int i : {13, 14, 15})
                sqlite3_bind_double(insert, i, item.secUnit > 0 ? book / 2 : 0);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
        return connection;
    }();
    return db;
}

void setUpModule(long lines)
{
    host::registerHostComponents();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16394;SUBID=ic;LANGUAGE=CHS;");
    resetModuleState();
    const auto db = countDatabase(lines);
    module().gAppConn = db;
    host::setHostConnection(db);
    module().gShowType = 4;
}

// The count sheet as the window opens it in input mode: the query through the gateway into a
// recordset, then the entry grid filled with its totals row; beside the same rows and joins as
// a bare SQLite query with every column read into memory.
void BM_OpenCountSheet(benchmark::State &state)
{
    const long lines = state.range(0);
    setUpModule(lines);
    sqlite3 *handle = countDatabase(lines)->embedded()->handle();
    Comparison comparison;
    int rows = 0;
    for (auto _ : state) {
        comparison.bare([&] {
            const auto table = bareRowsAsText(
                handle,
                "SELECT t12.FName,t1.FStockID,t1.FItemID,t11.FName,t2.FShortNumber,t2.FNumber,"
                "t2.FName,t2.FModel,t1.FBatchNo,t1.FMtoNo,t1.FKFDate,t1.FKFPeriod,t4.FCoefficient,"
                "t1.FStockPlaceID,t2.FQtyDecimal,t2.FPriceDecimal,t2.FSecUnitDecimal,t1.FBal,"
                "t1.FNote,t1.FMinus,t1.FDateBackup,t1.FMaxBillInterID,t3.FName,t1.FQty,t1.FQtyAct,"
                "t1.FCheckQty,t1.FUnitID,t4.FUnitGroupID,t4.FName,t1.FAuxQty,t1.FAuxQtyAct,"
                "t1.FAuxCheckQty,t2.FDeleted,t5.FName,t13.FName,t1.FAdjQty,t1.FSecQty,t1."
                "FSecQtyAct,"
                "t1.FSecCheckQty,t1.FSecAdjQty,t12.FNumber,t12.FShortNumber,t3.FNumber,"
                "t3.FShortNumber,t11.FNumber,t11.FShortNumber,t4.FNumber,t4.FShortNumber,"
                "t5.FNumber,t5.FShortNumber,t13.FNumber,t2.FSecUnitID,t1.FAuxPropID "
                "FROM ICInvBackup t1 INNER JOIN t_ICItem t2 ON t1.FItemID=t2.FItemID "
                "LEFT JOIN t_MeasureUnit t3 ON t2.FUnitID=t3.FItemID "
                "LEFT JOIN t_MeasureUnit t4 ON t1.FUnitID=t4.FItemID "
                "LEFT JOIN t_MeasureUnit t5 ON t2.FSecUnitID=t5.FItemID "
                "LEFT JOIN t_StockPlace t11 ON t1.FStockPlaceID=t11.FSPID "
                "LEFT JOIN t_Stock t12 ON t1.FStockID=t12.FItemID "
                "LEFT JOIN t_AuxItem t13 ON t1.FAuxPropID=t13.FItemID "
                "WHERE t2.FDeleted<>1 AND t1.FInterID=1 ORDER BY t12.FName DESC,t11.FName,t2.FName");
            rows = static_cast<long>(table.size());
            benchmark::DoNotOptimize(table.data());
        });
        comparison.module([&] {
            host::ui::SpreadGrid grid;
            grid.setMaxCols(43);
            MainDo main;
            host::Dictionary options;
            auto rs = main.GetRsMain(1, {}, 0, &options);
            if (!rs || rs->RecordCount() != lines)
                state.SkipWithError("the count sheet did not load");
            main.InputFillRow(grid);
            rows = grid.MaxRows() - 1;
        });
    }
    comparison.report(state);
    state.counters["rows"] = rows;
}
BENCHMARK(BM_OpenCountSheet)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
