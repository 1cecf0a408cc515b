// The T-SQL layer against the same work written directly for SQLite, in one run:
// a 100,000-row INSERT ... SELECT ... GROUP BY, the translation of a 200-statement batch and of
// long chains of one operator.
#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/bulkinsert.h"
#include "host/db/tsql/tsqlbatch.h"
#include "host/db/tsql/tsqltranslator.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

constexpr int kRows = 100000;

// Item i % 997 in stock i % 7: about 7,000 groups.
std::unique_ptr<host::AppConnection> gatewayDatabase()
{
    auto db = std::make_unique<host::AppConnection>();
    db->openDatabase(":memory:");
    db->Execute("CREATE TABLE Src (FItemID int NOT NULL, FStockID int NOT NULL, "
                "FQty decimal(28,10) NOT NULL, FName varchar(50) NULL)\r\n"
                "CREATE TABLE Dst (FItemID int NOT NULL, FStockID int NOT NULL, "
                "FQty decimal(28,10) NOT NULL)");
    host::BulkInsert bulk(*db, "Src", {"FItemID", "FStockID", "FQty", "FName"});
    for (int i = 0; i < kRows; ++i)
        bulk.add({i % 997, i % 7, (i % 100) / 8.0, "item"});
    bulk.commit();
    return db;
}

struct RawDatabase
{
    sqlite3 *db = nullptr;
    RawDatabase()
    {
        sqlite3_open(":memory:", &db);
        sqlite3_exec(db,
                     "CREATE TABLE Src (FItemID INTEGER NOT NULL, FStockID INTEGER NOT NULL, "
                     "FQty REAL NOT NULL, FName TEXT);"
                     "CREATE TABLE Dst (FItemID INTEGER NOT NULL, FStockID INTEGER NOT NULL, "
                     "FQty REAL NOT NULL);BEGIN",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Src VALUES (?,?,?,?)", -1, &insert, nullptr);
        for (int i = 0; i < kRows; ++i) {
            sqlite3_bind_int(insert, 1, i % 997);
            sqlite3_bind_int(insert, 2, i % 7);
            sqlite3_bind_double(insert, 3, (i % 100) / 8.0);
            sqlite3_bind_text(insert, 4, "item", -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    ~RawDatabase() { sqlite3_close(db); }
    RawDatabase(const RawDatabase &) = delete;
    RawDatabase &operator=(const RawDatabase &) = delete;
};

const char *const kGatewayBatch =
    "TRUNCATE TABLE Dst\r\n"
    "INSERT INTO Dst (FItemID, FStockID, FQty) SELECT FItemID, FStockID, SUM(FQty) FROM Src "
    "GROUP BY FItemID, FStockID";
const char *const kRawBatch = "DELETE FROM Dst;"
                              "INSERT INTO Dst (FItemID, FStockID, FQty) SELECT FItemID, "
                              "FStockID, round(SUM(FQty), 10) FROM Src GROUP BY FItemID, FStockID";

void BM_InsertSelectGroupBy_Gateway(benchmark::State &state)
{
    auto db = gatewayDatabase();
    for (auto _ : state)
        db->Execute(kGatewayBatch);
}
BENCHMARK(BM_InsertSelectGroupBy_Gateway)->Unit(benchmark::kMillisecond);

void BM_InsertSelectGroupBy_RawSqlite(benchmark::State &state)
{
    RawDatabase raw;
    for (auto _ : state)
        sqlite3_exec(raw.db, kRawBatch, nullptr, nullptr, nullptr);
}
BENCHMARK(BM_InsertSelectGroupBy_RawSqlite)->Unit(benchmark::kMillisecond);

// Both in each iteration, so the ratio comes from the same conditions.
void BM_InsertSelectGroupBy_Ratio(benchmark::State &state)
{
    auto db = gatewayDatabase();
    RawDatabase raw;
    using Clock = std::chrono::steady_clock;
    Clock::duration gateway{};
    Clock::duration direct{};
    for (auto _ : state) {
        const auto start = Clock::now();
        db->Execute(kGatewayBatch);
        const auto middle = Clock::now();
        sqlite3_exec(raw.db, kRawBatch, nullptr, nullptr, nullptr);
        gateway += middle - start;
        direct += Clock::now() - middle;
    }
    state.counters["gateway_over_sqlite"] =
        static_cast<double>(gateway.count()) / static_cast<double>(direct.count());
}
BENCHMARK(BM_InsertSelectGroupBy_Ratio)->Unit(benchmark::kMillisecond);

std::string updateBatch()
{
    std::string sql;
    for (int i = 0; i < 100; ++i) {
        const std::string key =
            " Where FInterID = 5 And FStockID=1\r\n AND FItemID=" + std::to_string(i) +
            "\r\n AND FStockPlaceID=5\r\n AND CONVERT(DATETIME,FKFDate)=''\r\n AND FKFPeriod=0\r\n"
            " AND FBatchNo='B1'\r\n AND FMtoNo=''\r\n AND FAuxPropID=0\r\n And FUnitID=2\r\n";
        sql +=
            "Update ICInvBackup Set \r\nFCheckQty=5,\r\nFQtyAct=3,\r\nFAuxQty=2,\r\nFQty=24,\r\n"
            "FAuxCheckQty=0.4166666667,\r\nFAuxQtyAct=0.25,\r\nFChecker=16,\r\nFNote='ok',\r\n"
            "FAdjQty=0.5,\r\nFSecQty=2,\r\nFSecQtyAct=1,\r\nFSecCheckQty=1,\r\nFSecAdjQty=0\r\n" +
            key +
            "Update ICInvBackup Set \r\nFMinus=FQtyAct-FQty-(FAdjQty*12),\r\n"
            "FSecMinus=FSecQtyAct-FSecQty-FSecAdjQty\r\n" +
            key;
    }
    return sql;
}

void BM_Translate200UpdateBatch(benchmark::State &state)
{
    host::AppConnection db;
    db.openDatabase(":memory:");
    db.Execute("CREATE TABLE ICInvBackup (FInterID int not null, FItemID int not null, "
               "FAuxPropID int not null, FUnitID int not null, FBatchNo varchar(200) not null, "
               "FMtoNo varchar(300) not null, FStockID int not null, FQty decimal(28,10), "
               "FAdjQty decimal(28,10) not null, FCheckQty decimal(28,10), "
               "FQtyAct decimal(28,10), FAuxCheckQty decimal(28,10), FAuxQtyAct decimal(28,10), "
               "FAuxQty decimal(28,10), FMinus decimal(28,10), FNote varchar(255), "
               "FStockPlaceID int not null, FKFDate varchar(20) not null DEFAULT(0), "
               "FKFPeriod int not null DEFAULT(0), FSecQty decimal(28,10) not null DEFAULT(0), "
               "FSecQtyAct decimal(28,10) not null DEFAULT(0), "
               "FSecCheckQty decimal(28,10) not null DEFAULT(0), "
               "FSecAdjQty decimal(28,10) not null DEFAULT(0), "
               "FSecMinus decimal(28,10) not null DEFAULT(0), FChecker int)");
    const std::string batch = updateBatch();
    host::tsql::Schema schema(db.embedded()->handle());
    const host::tsql::Session session;
    for (auto _ : state) {
        const auto tokens = host::tsql::tokenize(batch);
        const auto nodes = host::tsql::parseBatch(tokens);
        for (const auto &node : nodes) {
            host::tsql::Translator translator(tokens, node->begin, node->end, schema, session);
            benchmark::DoNotOptimize(translator.translateStatement());
        }
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_Translate200UpdateBatch)->Unit(benchmark::kMicrosecond);

enum class Chain
{
    Sum,        // SELECT 1+1+...
    OrList,     // SELECT ... WHERE 1=1 OR 1=2 OR ...
    GroupedSum, // SELECT (1+...+1)+(1+...+1)+... in groups of 500, translated in full
};

std::string chainText(Chain shape, std::int64_t terms)
{
    std::string sql = shape == Chain::OrList ? "SELECT FItemID FROM Src WHERE 1=1" : "SELECT 1";
    for (std::int64_t i = 1; i < terms; ++i) {
        if (shape == Chain::OrList)
            sql += i % 2 ? " OR 1=2" : " OR 1=1";
        else if (shape == Chain::GroupedSum && i % 500 == 0)
            sql += ")+(1";
        else
            sql += "+1";
    }
    return shape == Chain::GroupedSum ? "SELECT (" + sql.substr(7) + ")" : sql;
}

void chainLengths(benchmark::internal::Benchmark *b)
{
    b->ArgName("terms")->Arg(50000)->Arg(100000)->Arg(200000);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

// The table the chains read, and a chain's text read and translated there.
class ChainTranslator
{
public:
    ChainTranslator() : m_schema(open(m_db)) {}

    // Throws HostError where the layer refuses the chain.
    host::tsql::Translation translate(const std::string &sql)
    {
        const auto tokens = host::tsql::tokenize(sql);
        const auto nodes = host::tsql::parseBatch(tokens);
        host::tsql::Translator translator(tokens, nodes.front()->begin, nodes.front()->end,
                                          m_schema, m_session);
        return translator.translateStatement();
    }

private:
    static sqlite3 *open(host::AppConnection &db)
    {
        db.openDatabase(":memory:");
        db.Execute("CREATE TABLE Src (FItemID int NOT NULL)");
        return db.embedded()->handle();
    }

    host::AppConnection m_db;
    host::tsql::Schema m_schema;
    const host::tsql::Session m_session;
};

// A chain of n terms, read and translated: the time grows with n, not with its square. A chain
// deeper than SQLite takes is refused (counter refused = 1).
void BM_TranslateChain(benchmark::State &state, Chain shape)
{
    ChainTranslator chains;
    const std::string sql = chainText(shape, state.range(0));
    bool refused = false;
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(chains.translate(sql));
        } catch (const host::HostError &) {
            refused = true;
        }
    }
    state.counters["refused"] = refused ? 1 : 0;
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_TranslateChain, sum, Chain::Sum)->Apply(chainLengths);
BENCHMARK_CAPTURE(BM_TranslateChain, or_list, Chain::OrList)->Apply(chainLengths);
BENCHMARK_CAPTURE(BM_TranslateChain, grouped_sum, Chain::GroupedSum)->Apply(chainLengths);

// SQLite preparing the statement the layer writes for the OR list, on a connection of its own:
// the parse that the translation comes before.
void BM_PrepareOrList_RawSqlite(benchmark::State &state)
{
    std::string sql;
    try {
        sql = ChainTranslator().translate(chainText(Chain::OrList, state.range(0))).steps[0].sql;
    } catch (const host::HostError &e) {
        state.SkipWithError(e.Description().c_str());
        return;
    }
    RawDatabase raw;
    for (auto _ : state) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(raw.db, sql.c_str(), static_cast<int>(sql.size()), &statement,
                               nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(raw.db));
            break;
        }
        sqlite3_finalize(statement);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PrepareOrList_RawSqlite)->Apply(chainLengths);

void runUpdateBatch(benchmark::State &state, const std::string &path)
{
    host::AppConnection db;
    db.openDatabase(path);
    db.Execute("CREATE TABLE ICInvBackup (FInterID int not null, FItemID int not null, "
               "FAuxPropID int not null DEFAULT(0), FUnitID int not null DEFAULT(2), "
               "FBatchNo varchar(200) not null DEFAULT('B1'), "
               "FMtoNo varchar(300) not null DEFAULT(''), FStockID int not null DEFAULT(1), "
               "FQty decimal(28,10), FAdjQty decimal(28,10) not null DEFAULT(0), "
               "FCheckQty decimal(28,10), FQtyAct decimal(28,10), FAuxCheckQty decimal(28,10), "
               "FAuxQtyAct decimal(28,10), FAuxQty decimal(28,10), FMinus decimal(28,10), "
               "FNote varchar(255), FStockPlaceID int not null DEFAULT(5), "
               "FKFDate varchar(20) not null DEFAULT(''), FKFPeriod int not null DEFAULT(0), "
               "FSecQty decimal(28,10) not null DEFAULT(0), "
               "FSecQtyAct decimal(28,10) not null DEFAULT(0), "
               "FSecCheckQty decimal(28,10) not null DEFAULT(0), "
               "FSecAdjQty decimal(28,10) not null DEFAULT(0), "
               "FSecMinus decimal(28,10) not null DEFAULT(0), FChecker int)\r\n"
               "CREATE INDEX IX_Key ON ICInvBackup (FInterID, FItemID)");
    {
        host::BulkInsert bulk(db, "ICInvBackup", {"FInterID", "FItemID"});
        for (int i = 0; i < 10000; ++i)
            bulk.add({5, i});
        bulk.commit();
    }
    const std::string batch = updateBatch();
    for (auto _ : state)
        db.Execute(batch);
}

// The same batch run through the layer (translation and execution) on 10,000 lines, in memory
// and in a database file, where every statement commits on its own.
void BM_Run200UpdateBatch(benchmark::State &state)
{
    if (state.range(0) == 0) {
        runUpdateBatch(state, ":memory:");
        return;
    }
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("bench_gateway_" + std::to_string(::getpid()) + ".db"))
                                 .string();
    runUpdateBatch(state, file);
    for (const char *suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(file + suffix);
}
BENCHMARK(BM_Run200UpdateBatch)->ArgName("file")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
