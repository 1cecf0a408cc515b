// The backup of a count beside bare SQLite doing the same work, at several sizes of book stock,
// each on two copies of the company `init-db --rows N` makes: the one the module is handed in
// memory, and the database file init-db writes. The ratio reported is the worse of the two.
//
// The current-stock backup is compared with its batch written for SQLite: the grouped lines of
// the chosen stocks, the process row and numbering, the items' check date and the second-unit
// copy, in one transaction. The backup at a cut-off date is compared with its own statements
// sent to SQLite directly: the period looked up, the work table filled from the opening
// balances and the five movement totals, the count lines grouped from it, then the same
// process row, numbering, check date, second-unit copy and emptying, each prepared with its
// values bound, in the one transaction the module's run takes. Both sides must make the same
// lines.
#include "backup/icbackupinv.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "services/modulestate.h"
#include "support/benchsizes.h"
#include "support/company.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

// One statement prepared once, with its values bound by position.
class Prepared
{
public:
    Prepared(sqlite3 *db, const std::string &sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db)) + "\n" + sql);
    }
    ~Prepared() { sqlite3_finalize(m_stmt); }
    Prepared(const Prepared &) = delete;
    Prepared &operator=(const Prepared &) = delete;

    Prepared &bind(int at, long long value)
    {
        sqlite3_bind_int64(m_stmt, at, value);
        return *this;
    }
    Prepared &bind(int at, const std::string &value)
    {
        sqlite3_bind_text(m_stmt, at, value.c_str(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    // Steps to the first row or the end; true on a row.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        return rc == SQLITE_ROW;
    }
    void run()
    {
        while (step()) {
        }
        sqlite3_reset(m_stmt);
    }
    sqlite3_stmt *statement() const { return m_stmt; }
    long long integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::string text(int column) const
    {
        const auto *t = sqlite3_column_text(m_stmt, column);
        return t ? reinterpret_cast<const char *>(t) : "";
    }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

sqlite3 *handle()
{
    return host::hostConnection()->embedded()->handle();
}

long long maxOf(const char *sql)
{
    Prepared query(handle(), sql);
    return query.step() ? query.integer(0) : 0;
}

// The company's database as the module is handed it: in memory as Company keeps it, or the
// file `init-db --rows N` writes (the same generator, options and seed), opened as the host
// opens it.
struct Database
{
    Database(long rows, bool onFile) : c(company(rows))
    {
        connection = c.connection;
        if (!onFile)
            return;
        file = std::filesystem::temp_directory_path() /
               ("bench-backup-" + std::to_string(::getpid()) + ".db");
        std::filesystem::remove(file);
        use(c.connection);
        runSqlite("VACUUM INTO '" + file.string() + "'");
        connection = std::make_shared<host::AppConnection>();
        connection->openDatabase(file.string());
    }
    ~Database()
    {
        use(c.connection);
        if (file.empty())
            return;
        connection->close();
        for (const char *suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(file.string() + suffix);
    }
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    static void use(const std::shared_ptr<host::AppConnection> &to)
    {
        host::setHostConnection(to);
        module().gAppConn = to;
    }

    Company &c;
    std::shared_ptr<host::AppConnection> connection;
    std::filesystem::path file;
};

void removeCounts()
{
    host::hostConnection()->Execute("delete from ICInvBackup\r\ndelete from ICStockCheckProcess");
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

bool backUp(const Company &c, bool cutDate)
{
    const std::string date = host::formatDate(host::now(), "YYYY-MM-DD");
    ICBackupInv backup;
    return backup.GetStockBillMaxID() &&
           backup.BackUpData(backupParams(c, date), cutDate, host::now(), false, true);
}

// The current-stock batch written for SQLite directly, in one transaction.
void bareCurrentStock(const Company &c)
{
    const std::string date = host::formatDate(host::now(), "YYYY-MM-DD");
    maxOf("SELECT max(FInterID) FROM ICStockBill");
    maxOf("SELECT max(FID) FROM t_MTOChange");
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

// The work table's columns as every fill of it names them.
constexpr const char *kFillHead =
    "INSERT INTO ICInvBackupTemp (FBrNo,FItemID,FStockID,FBatchNo,FMtoNo,FStockPlaceID,FKFDate,"
    "FKFPeriod,FQty,FQytLock,FQtyAct,FCheckQty,FSelect,FAdj,FDateBackup,FMaxBillInterID,FAuxQty,"
    "FAuxQtyAct,FAuxCheckQty,FInterID,FSecQty,FAdjQty,FAuxPropID) ";

// A movement total over bills or plan-tracking changes (t1 the entries, t2 their head), the
// quantity signed as the module's statement signs it; ?1 the snapshot date, ?2 the highest bill
// id, ?3 the process id, ?4 the first day of the period, ?5 the day after the cut-off date,
// ?6 the cut-off date as stored.
std::string movementSql(const std::string &stock, const std::string &place, const std::string &mto,
                        const std::string &qty, const std::string &secQty, const std::string &from,
                        const std::string &condition, const std::string &stocks)
{
    return std::string(kFillHead) + "SELECT '0',t1.FItemID,t1." + stock +
           ",ifnull(t1.FBatchNo,''),ifnull(t1." + mto + ",''),ifnull(t1." + place +
           ",0),ifnull(substr(t1.FKFDate,1,10),''),ifnull(t1.FKFPeriod,0),sum(" + qty + "),0,sum(" +
           qty + "),sum(" + qty + "),0,0,?1,?2,sum(" + qty + ")/t6.FCoefficient,sum(" + qty +
           ")/t6.FCoefficient,sum(" + qty + ")/t6.FCoefficient,?3,sum(" + secQty +
           "),0,t1.FAuxPropID " + from + " AND " + condition +
           " JOIN t_ICItem t4 ON t1.FItemID=t4.FItemID JOIN t_StockPlace t5 ON ifnull(t1." + place +
           ",0)=t5.FSPID JOIN t_MeasureUnit t6 ON t1.FUnitID=t6.FMeasureUnitID AND t1." + stock +
           " IN (" + stocks + ") GROUP BY t1.FItemID,t1." + stock + ",t1.FBatchNo,t1." + mto +
           ",t1." + place + ",t1.FKFDate,t1.FKFPeriod,t1.FAuxPropID,t6.FCoefficient";
}

// The cut-off statements written for SQLite directly, in the module's one transaction.
void bareCutOff(const Company &c)
{
    sqlite3 *db = handle();
    const double today = host::now();
    const std::string cutDate = host::formatDate(today, "YYYY-MM-DD");
    const std::string cutStored = cutDate + " 00:00:00.000";
    const std::string dayAfter = host::formatDate(today + 1, "YYYY-MM-DD");
    const long long maxBill = maxOf("SELECT max(FInterID) FROM ICStockBill");
    const long long maxChange = maxOf("SELECT max(FID) FROM t_MTOChange");
    runSqlite("BEGIN IMMEDIATE");
    runSqlite("UPDATE icbillno SET FCurNo=FCurNo WHERE FBillID=-1");
    const long long processId = maxOf("SELECT FCurNo FROM icbillno WHERE FBillID=-1");
    const long curYear = host::CLng(module().gProcDict->Value("CurYear"));
    const long curPeriod = host::CLng(module().gProcDict->Value("CurPeriod"));
    long long baseYear = curYear;
    long long basePeriod = curPeriod;
    std::string startDate;
    {
        Prepared periods(db, "SELECT FYear,FPeriod,substr(FStartDate,1,10) FROM t_PeriodDate "
                             "WHERE (?1>=FStartDate AND ?1<=FEndDate) OR (FYear=?2 AND "
                             "FPeriod=?3) ORDER BY FYear,FPeriod");
        periods.bind(1, cutStored).bind(2, curYear).bind(3, curPeriod);
        while (periods.step()) {
            if (startDate.empty() || periods.integer(0) < baseYear ||
                (periods.integer(0) == baseYear && periods.integer(1) < basePeriod)) {
                baseYear = periods.integer(0);
                basePeriod = periods.integer(1);
                startDate = periods.text(2);
            }
        }
    }
    runSqlite("DELETE FROM ICInvBackupTemp");
    const std::string &stocks = c.stockList;
    Prepared opening(
        db, std::string(kFillHead) +
                "SELECT '0',t9.FItemID,t9.FStockID,t9.FBatchNo,t9.FMtoNo,t9.FStockPlaceID,"
                "ifnull(substr(t9.FKFDate,1,10),''),ifnull(t9.FKFPeriod,0),sum(t9.FBegQty),0,"
                "sum(t9.FBegQty),sum(t9.FBegQty),0,0,?1,?2,sum(t9.FBegQty/t3.FCoefficient),"
                "sum(t9.FBegQty/t3.FCoefficient),sum(t9.FBegQty/t3.FCoefficient),?3,"
                "sum(t9.FSecBegQty),0,t9.FAuxPropID FROM ICInvBal t9 "
                "JOIN t_ICItem t4 ON t9.FItemID=t4.FItemID "
                "LEFT JOIN t_StockPlace t5 ON t9.FStockPlaceID=t5.FSPID "
                "LEFT JOIN t_MeasureUnit t3 ON t4.FStoreUnitID=t3.FMeasureUnitID "
                "WHERE t9.FPeriod=?4 AND t9.FYear=?5 AND t9.FStockID IN (" +
                stocks +
                ") AND t9.FStockInDate<?6 GROUP BY t9.FItemID,t9.FStockID,t9.FBatchNo,"
                "t9.FMtoNo,t9.FStockPlaceID,t9.FKFDate,t9.FKFPeriod,t9.FAuxPropID "
                "HAVING sum(t9.FBegQty)<>0");
    opening.bind(1, cutStored).bind(2, maxBill).bind(3, processId).bind(4, basePeriod);
    opening.bind(5, baseYear).bind(6, dayAfter).run();
    const std::string bills = " FROM ICStockBillEntry t1 JOIN ICStockBill t2 ON "
                              "t1.FInterID=t2.FInterID AND (t2.FCheckerID<>0 OR "
                              "FUpStockWhenSave=1)";
    const std::string changes = " FROM t_MTOChangeEntry t1 JOIN t_MTOChange t2 ON t1.FID=t2.FID "
                                "AND (t2.FCheckerID<>0 OR FUpStockWhenSave=1)";
    const std::string inPeriod = " AND t2.FDate>=?4 AND t2.FDate<?5";
    const std::string in = "t2.FTranType IN (1,2,5,10,40,41)";
    const std::string movements[] = {
        movementSql("FDCStockID", "FDCSPID", "FMtoNo",
                    "CASE WHEN " + in + " THEN t1.FQty ELSE -t1.FQty END",
                    "CASE WHEN " + in + " THEN t1.FSecQty ELSE -t1.FSecQty END", bills,
                    "t2.FCancelLation=0 AND t2.FTranType IN (1,2,5,10,40,41,21,28,29,43) AND "
                    "t2.FDate>=?4 AND t2.FDate<=?6",
                    stocks),
        movementSql("FSCStockID", "FDCSPID", "FMtoNo", "-t1.FQty", "-t1.FSecQty", bills,
                    "t2.FCancelLation=0 AND t2.FTranType=24" + inPeriod, stocks),
        movementSql("FSCStockID", "FSCSPID", "FMtoNo", "-t1.FQty", "-t1.FSecQty", bills,
                    "t2.FCancelLation=0 AND t2.FTranType=41" + inPeriod, stocks),
        movementSql("FStockID", "FSPID", "FToMtoNo", "t1.FChangeBaseQty", "t1.FChangeSecQty",
                    changes, "t2.FClassTypeID=1107011" + inPeriod, stocks),
        movementSql("FStockID", "FSPID", "FFromMtoNo", "-t1.FChangeBaseQty", "-t1.FChangeSecQty",
                    changes, "t2.FClassTypeID=1107011" + inPeriod, stocks)};
    for (const std::string &sql : movements) {
        Prepared movement(db, sql);
        movement.bind(1, cutStored).bind(2, maxBill).bind(3, processId).bind(4, startDate);
        movement.bind(5, dayAfter).bind(6, cutStored).run();
    }
    if (maxOf("SELECT count(*) FROM (SELECT 1 FROM ICInvBackupTemp LIMIT 1)") == 0)
        throw std::runtime_error("the cut-off balance holds no line");
    runSqlite(
        "INSERT INTO ICInvBackup (FBrNo,FItemID,FBatchNo,FMtoNo,FStockID,FQty,FQtyAct,FCheckQty,"
        "FSelect,FAdj,FDateBackup,FMaxBillInterID,FStockPlaceID,FKFPeriod,FKFDate,FUnitID,FAuxQty,"
        "FAuxQtyAct,FAuxCheckQty,FInterID,FSecQty,FAdjQty,FAuxPropID,FSecUnitID) "
        "SELECT t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,sum(t1.FQty),sum(t1.FQty),"
        "sum(t1.FQty),t1.FSelect,t1.FAdj,t1.FDateBackup,t1.FMaxBillInterID,t1.FStockPlaceID,"
        "t1.FKFPeriod,t1.FKFDate,t4.FStoreUnitID,sum(t1.FQty)/t3.FCoefficient,"
        "sum(t1.FQtyAct)/t3.FCoefficient,sum(t1.FCheckQty)/t3.FCoefficient,t1.FInterID,"
        "sum(t1.FSecQty),sum(t1.FAdjQty),t1.FAuxPropID,t4.FSecUnitID FROM ICInvBackupTemp t1 "
        "JOIN t_ICItem t4 ON t1.FItemID=t4.FItemID "
        "JOIN t_MeasureUnit t3 ON t4.FStoreUnitID=t3.FMeasureUnitID "
        "JOIN t_StockPlace t5 ON t1.FStockPlaceID=t5.FSPID WHERE t1.FStockID IN (" +
        stocks +
        ") GROUP BY t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,t1.FStockPlaceID,"
        "t1.FKFPeriod,t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient,"
        "t1.FSelect,t1.FAdj,t1.FDateBackup,t1.FMaxBillInterID,t1.FInterID ORDER BY t1.FStockID,"
        "t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FAuxPropID");
    Prepared process(db, "INSERT INTO ICStockCheckProcess (FID,FProcessID,FDate,FOperatorID,"
                         "FPrintSettings,FStatus,FRemark,FBackupType,FMaxBillInterID,"
                         "FMaxMTOChangeID) VALUES (?1,?2,?3,16394,'',0,'',2,?4,?5)");
    process.bind(1, processId).bind(2, "bare").bind(3, cutStored).bind(4, maxBill);
    process.bind(5, maxChange).run();
    Prepared numbering(db, "UPDATE icbillno SET FCurNo=?1+1 WHERE FBillID=-1");
    numbering.bind(1, processId).run();
    Prepared checked(db, "UPDATE t_ICItemMaterial SET FLastCheckDate=?1 WHERE EXISTS (SELECT 1 "
                         "FROM ICInvBackupTemp t2 WHERE t2.FItemID=t_ICItemMaterial.FItemID) "
                         "AND FCheckCycle>0");
    checked.bind(1, cutStored).run();
    Prepared second(db, "UPDATE ICInvBackup SET FSecQtyAct=FSecQty,FSecCheckQty=FSecQty WHERE "
                        "FInterID=?1 AND FSecQty<>0");
    second.bind(1, processId).run();
    runSqlite("DELETE FROM ICInvBackupTemp");
    runSqlite("COMMIT");
}

struct Figures
{
    double bare = 0;
    double module = 0;
    double bareMb = 0;
    double moduleMb = 0;
    double lines = 0;
};

// Runs both sides on one copy of the company; the lines each side made must agree.
Figures runOn(benchmark::State &state, bool onFile, bool cutDate)
{
    const Database d(state.range(0), onFile);
    Database::use(d.connection);
    Figures f;
    const auto lines = [] {
        return static_cast<double>(maxOf("SELECT count(*) FROM ICInvBackup"));
    };
    // What each side counted; the module keeps ten decimals of each sum, so the two agree to
    // within what their rounding leaves.
    const auto totals = [] {
        Prepared sum(handle(), "SELECT total(FQty)+total(FAuxQty)+total(FSecQty)+"
                               "total(FSecCheckQty) FROM ICInvBackup");
        return sum.step() ? sqlite3_column_double(sum.statement(), 0) : 0.0;
    };
    for (long i = 0; i < 3; ++i) {
        removeCounts();
        const PeakMemory bareMemory;
        double start = cpuSeconds();
        if (cutDate)
            bareCutOff(d.c);
        else
            bareCurrentStock(d.c);
        f.bare += cpuSeconds() - start;
        f.bareMb = std::max(f.bareMb, bareMemory.addedMb());
        const double bareLines = lines();
        const double bareTotals = totals();
        removeCounts();
        const PeakMemory moduleMemory;
        start = cpuSeconds();
        const bool done = backUp(d.c, cutDate);
        f.module += cpuSeconds() - start;
        f.moduleMb = std::max(f.moduleMb, moduleMemory.addedMb());
        f.lines = lines();
        if (!done || !d.c.modals.messages().empty() || f.lines != bareLines ||
            std::abs(totals() - bareTotals) > 1e-9 * std::abs(bareTotals))
            state.SkipWithError("the backup failed or made other lines than bare SQLite");
    }
    return f;
}

void runBackup(benchmark::State &state, bool cutDate)
{
    for (auto _ : state) {
        const Figures memory = runOn(state, false, cutDate);
        const Figures file = runOn(state, true, cutDate);
        state.counters["module_s"] = memory.module / 3;
        state.counters["bare_s"] = memory.bare / 3;
        state.counters["fileModule_s"] = file.module / 3;
        state.counters["fileBare_s"] = file.bare / 3;
        state.counters["ratio"] = std::max(memory.module / memory.bare, file.module / file.bare);
        state.counters["moduleMB"] = std::max(memory.moduleMb, file.moduleMb);
        state.counters["bareMB"] = std::max(memory.bareMb, file.bareMb);
        state.counters["lines"] = file.lines;
    }
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

BENCHMARK(BM_BackupCurrentStock)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BackupCutOffDate)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
