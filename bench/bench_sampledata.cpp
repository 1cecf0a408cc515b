#include "sampledata/sampledata.h"
#include "sampledata/schema.h"

#include "host/db/appconnection.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>

namespace {

// The whole company behind about N rows of book stock: base data, stock, balances, bills,
// through the schema and the gateway's bulk loading.
void BM_SampleCompany(benchmark::State &state)
{
    for (auto _ : state) {
        host::AppConnection connection;
        connection.openDatabase(":memory:");
        sampledata::createSchema(connection);
        sampledata::SampleOptions options;
        options.rows = state.range(0);
        const auto summary = sampledata::generateSampleData(connection, options);
        state.counters["stockRows"] = static_cast<double>(summary.stockRows);
    }
}
BENCHMARK(BM_SampleCompany)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: only the N book-stock rows, written straight into SQLite with one prepared insert
// in one transaction.
void BM_RawSqliteStockRows(benchmark::State &state)
{
    for (auto _ : state) {
        sqlite3 *db = nullptr;
        sqlite3_open(":memory:", &db);
        sqlite3_exec(db,
                     "CREATE TABLE ICInventory (FBrNo TEXT, FItemID INTEGER, FStockID INTEGER, "
                     "FStockPlaceID INTEGER, FBatchNo TEXT, FMtoNo TEXT, FAuxPropID INTEGER, "
                     "FKFDate TEXT, FKFPeriod INTEGER, FQty REAL, FSecQty REAL);"
                     "CREATE INDEX i1 ON ICInventory (FStockID, FItemID);"
                     "CREATE INDEX i2 ON ICInventory (FItemID);"
                     "BEGIN",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO ICInventory VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1,
                           &insert, nullptr);
        for (long row = 0; row < state.range(0); ++row) {
            sqlite3_bind_text(insert, 1, "0", -1, SQLITE_STATIC);
            sqlite3_bind_int64(insert, 2, 1000 + row / 3);
            sqlite3_bind_int64(insert, 3, 300 + row % 5);
            sqlite3_bind_int64(insert, 4, row % 9);
            const std::string batch = "B261207-0" + std::to_string(row % 3);
            sqlite3_bind_text(insert, 5, batch.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 6, "", -1, SQLITE_STATIC);
            sqlite3_bind_int64(insert, 7, 0);
            sqlite3_bind_text(insert, 8, "", -1, SQLITE_STATIC);
            sqlite3_bind_int64(insert, 9, 0);
            sqlite3_bind_double(insert, 10, static_cast<double>(row % 500) + 0.25);
            sqlite3_bind_double(insert, 11, 0);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_RawSqliteStockRows)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
