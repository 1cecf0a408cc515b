#include "support/countsheet.h"

#include "countsheet/countsheetstate.h"
#include "host/components/hostcomponents.h"
#include "host/core/dictionary.h"
#include "host/core/paths.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/props/shareprops.h"
#include "sampledata/sampledata.h"
#include "sampledata/schema.h"
#include "services/modulestate.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace {

void exec(sqlite3 *db, const std::string &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "sqlite3_exec failed";
        sqlite3_free(error);
        throw std::runtime_error(message);
    }
}

// Line i: an item, stock and place in turn; a count that differs from the book by -3 to +3,
// the second unit by half of it, so that every line passes the save's checks.
std::string lineFill(long lines)
{
    return "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<" +
           std::to_string(lines - 1) +
           "), items AS (SELECT FItemID,FStoreUnitID,FSecUnitID,ROW_NUMBER() OVER (ORDER BY "
           "FItemID)-1 AS k FROM t_ICItem WHERE FDeleted=0), stocks AS (SELECT FItemID,"
           "ROW_NUMBER() OVER (ORDER BY FItemID)-1 AS k FROM t_Stock), places AS (SELECT FSPID,"
           "ROW_NUMBER() OVER (ORDER BY FSPID)-1 AS k FROM t_StockPlace), "
           "v AS (SELECT i,it.FItemID,it.FStoreUnitID,it.FSecUnitID,st.FItemID AS FStockID,"
           "pl.FSPID,i%500+0.25 AS q,i%7-3 AS d FROM n "
           "JOIN items it ON it.k=n.i%(SELECT COUNT(*) FROM items) "
           "JOIN stocks st ON st.k=n.i%(SELECT COUNT(*) FROM stocks) "
           "JOIN places pl ON pl.k=n.i%(SELECT COUNT(*) FROM places)) "
           "INSERT INTO ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,"
           "FStockID,FStockPlaceID,FKFDate,FKFPeriod,FQty,FCheckQty,FQtyAct,FAuxQty,FAuxCheckQty,"
           "FAuxQtyAct,FAdjQty,FSecUnitID,FSecQty,FSecCheckQty,FSecQtyAct,FSecAdjQty,FMinus,"
           "FSecMinus,FNote,FSelect,FAdj,FDateBackup,FMaxBillInterID) "
           "SELECT 1,'0',FItemID,0,FStoreUnitID,'B'||i,'',FStockID,FSPID,"
           "CASE WHEN i%10=0 THEN printf('2026-%02d-%02d',i%12+1,i%28+1) ELSE '' END,"
           "CASE WHEN i%10=0 THEN 365 ELSE 0 END,q,q+d,q+d,q,q+d,q+d,0,FSecUnitID,"
           "CASE WHEN FSecUnitID>0 THEN q/2 ELSE 0 END,CASE WHEN FSecUnitID>0 THEN (q+d)/2 ELSE 0 "
           "END,CASE WHEN FSecUnitID>0 THEN (q+d)/2 ELSE 0 END,0,d,CASE WHEN FSecUnitID>0 THEN "
           "d/2.0 ELSE 0 END,'',0,0,'2026-12-01 08:00:00.000',0 FROM v";
}

// The whole book stock of the company, one line per key as the backup groups it, counted as
// the book says.
const char *const kCompanyFill =
    "INSERT INTO ICInvBackup (FBrNo,FItemID,FBatchNo,FMtoNo,FStockID,FQty,FQtyAct,FCheckQty,"
    "FSelect,FAdj,FDateBackup,FMaxBillInterID,FStockPlaceID,FKFPeriod,FKFDate,FUnitID,FAuxQty,"
    "FAuxQtyAct,FAuxCheckQty,FInterID,FSecQty,FAdjQty,FAuxPropID,FSecUnitID) "
    "SELECT t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,Sum(t1.FQty),Sum(t1.FQty),"
    "Sum(t1.FQty),0,0,'2026-12-01 08:00:00.000',0,t1.FStockPlaceID,t1.FKFPeriod,t1.FKFDate,"
    "t4.FStoreUnitID,Sum(t1.FQty/t3.FCoefficient),Sum(t1.FQty/t3.FCoefficient),"
    "Sum(t1.FQty/t3.FCoefficient),1,Sum(t1.FSecQty),0,t1.FAuxPropID,t4.FSecUnitID "
    "FROM ICInventory t1 INNER JOIN t_ICItem t4 ON t1.FItemID=t4.FItemID "
    "INNER JOIN t_MeasureUnit t3 ON t4.FStoreUnitID=t3.FMeasureUnitID "
    "INNER JOIN t_StockPlace t5 ON t1.FStockPlaceID=t5.FSPID "
    "GROUP BY t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,t1.FStockPlaceID,"
    "t1.FKFPeriod,t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient "
    "ORDER BY t1.FStockID,t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FAuxPropID";

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

std::shared_ptr<host::AppConnection> makeDatabase(const std::string &path, long lines,
                                                  SheetData data)
{
    for (const char *suffix : {"", "-wal", "-shm"})
        std::remove((path + suffix).c_str());
    auto connection = std::make_shared<host::AppConnection>();
    connection->openDatabase(path);
    sampledata::createSchema(*connection);
    sampledata::SampleOptions options;
    if (data == SheetData::Company)
        options.rows = lines;
    sampledata::generateSampleData(*connection, options);
    connection->Execute("INSERT INTO ICStockCheckProcess (FID,FProcessID,FDate,FOperatorID,"
                        "FStatus,FBackupType,FMaxBillInterID,FMaxMTOChangeID) VALUES (1,'BENCH',"
                        "'2026-12-01',16,0,1,0,0)");
    sqlite3 *handle = connection->embedded()->handle();
    exec(handle, "BEGIN");
    if (data == SheetData::Company) {
        exec(handle, kCompanyFill);
        exec(handle, "UPDATE ICInvBackup SET FSecQtyAct=FSecQty,FSecCheckQty=FSecQty WHERE "
                     "FInterID=1 AND FSecQty<>0");
    } else {
        exec(handle, lineFill(lines));
    }
    exec(handle, "COMMIT");
    exec(handle, "PRAGMA wal_checkpoint(TRUNCATE)");
    // The plain side's queries run on this connection too.
    registerSheetFunctions(handle);
    return connection;
}

} // namespace

const char *sheetDataName(SheetData data)
{
    return data == SheetData::Company ? "init-db" : "own";
}

std::string countSheetPath(SheetData data)
{
    return folder().filePath(data == SheetData::Company ? "company.db" : "count.db").toStdString();
}

void writeCountSheetFile(const std::string &path, long lines, SheetData data)
{
    makeDatabase(path, lines, data);
}

std::shared_ptr<host::AppConnection> countSheetDatabase(long lines, SheetData data)
{
    struct Made
    {
        long lines = 0;
        std::shared_ptr<host::AppConnection> db;
    };
    static Made made[2];
    Made &kept = made[static_cast<int>(data)];
    if (kept.db && kept.lines == lines)
        return kept.db;
    kept.db.reset();
    kept.db = makeDatabase(countSheetPath(data), lines, data);
    kept.lines = lines;
    return kept.db;
}

sqlite3 *countSheetHandle(long lines, SheetData data)
{
    return countSheetDatabase(lines, data)->embedded()->handle();
}

namespace {

host::ui::ScriptedModals &handOver(const std::shared_ptr<host::AppConnection> &db, long showType)
{
    static host::ui::ScriptedModals modals;
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        setenv(variable, folder().path().toUtf8().constData(), 1);
    setenv("STOCKCHECK_LOG", "off", 1);
    host::registerHostComponents();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16;SUBID=ic;LANGUAGE=CHS;");
    resetModuleState();
    ModuleState &m = module();
    m.gAppConn = db;
    m.gOperatorID = 16;
    countSheetState().gShowType = showType;
    countSheetState().gFilterDict = std::make_shared<host::Dictionary>();
    host::setHostConnection(db);
    return modals;
}

} // namespace

host::ui::ScriptedModals &setUpCountSheet(long lines, long showType, SheetData data)
{
    return handOver(countSheetDatabase(lines, data), showType);
}

host::ui::ScriptedModals &openCountSheetFile(const std::string &path, long showType)
{
    static std::shared_ptr<host::AppConnection> opened;
    opened.reset();
    opened = std::make_shared<host::AppConnection>();
    opened->openDatabase(path);
    return handOver(opened, showType);
}

long stepQuery(sqlite3 *db, const std::string &sql, const std::vector<std::string> &summed)
{
    sqlite3_stmt *query = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    const int columns = sqlite3_column_count(query);
    int decimalsColumn = -1;
    std::vector<int> summedColumns;
    for (int c = 0; c < columns; ++c) {
        const std::string name = sqlite3_column_name(query, c);
        if (name == "FQtyDecimal")
            decimalsColumn = c;
        if (std::find(summed.begin(), summed.end(), name) != summed.end())
            summedColumns.push_back(c);
    }
    std::vector<double> totals(summedColumns.size());
    long rows = 0;
    std::size_t bytes = 0;
    while (sqlite3_step(query) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(query, c) == SQLITE_TEXT)
                bytes += static_cast<std::size_t>(sqlite3_column_bytes(query, c));
            else
                bytes += static_cast<std::size_t>(sqlite3_column_double(query, c) != 0);
        }
        if (!summedColumns.empty()) {
            const double scale = std::pow(10.0, sqlite3_column_int(query, decimalsColumn));
            for (std::size_t i = 0; i < summedColumns.size(); ++i)
                totals[i] +=
                    std::round(sqlite3_column_double(query, summedColumns[i]) * scale) / scale;
        }
        ++rows;
    }
    sqlite3_finalize(query);
    if (bytes == 0 && rows > 0)
        throw std::runtime_error("no value read");
    if (summedColumns.size() != summed.size())
        throw std::runtime_error("a summed column is missing");
    return rows;
}

void SheetComparison::report(benchmark::State &state) const
{
    double ratio = 0;
    double moduleMb = 0;
    double bareMb = 0;
    benchmark::UserCounters worse;
    for (const SheetData data : kSheetData) {
        m_each[static_cast<int>(data)].report(state);
        const std::string name = data == SheetData::Company ? "initdb_" : "own_";
        for (const char *counter : {"module_s", "bare_s", "ratio"})
            state.counters[name + counter] = state.counters[counter];
        moduleMb = std::max(moduleMb, static_cast<double>(state.counters["moduleMB"]));
        bareMb = std::max(bareMb, static_cast<double>(state.counters["bareMB"]));
        if (state.counters["ratio"] >= ratio) {
            ratio = state.counters["ratio"];
            worse = state.counters;
        }
    }
    state.counters["module_s"] = worse["module_s"];
    state.counters["bare_s"] = worse["bare_s"];
    state.counters["ratio"] = ratio;
    state.counters["moduleMB"] = moduleMb;
    state.counters["bareMB"] = bareMb;
}
