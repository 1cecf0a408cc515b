#include "dialogs/billselectsql.h"
#include "host/components/hostcomponents.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/lookup/glview.h"
#include "host/lookup/lookupwindow.h"
#include "host/props/shareprops.h"
#include "host/ui/modal/scriptedmodals.h"
#include "sampledata/schema.h"
#include "services/modulestate.h"
#include "support/barequery.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace {

constexpr long kItems = 100000;
constexpr long kLines = 100000;
constexpr long kBillLines = 50000;
constexpr long kFocusedItem = 4242;

void exec(sqlite3 *handle, const char *sql)
{
    sqlite3_exec(handle, sql, nullptr, nullptr, nullptr);
}

// 100,000 items in one stock with places, one process of 100,000 count lines, and 50,000 bill
// lines posted after its snapshot, ten per bill, spread over the items; the focused item has
// some of them.
std::shared_ptr<host::AppConnection> database()
{
    static std::shared_ptr<host::AppConnection> db = [] {
        auto connection = std::make_shared<host::AppConnection>();
        connection->openDatabase(":memory:");
        sampledata::createSchema(*connection);
        sqlite3 *handle = connection->embedded()->handle();
        exec(handle, "BEGIN");
        exec(handle, "INSERT INTO t_MeasureUnit (FMeasureUnitID,FItemID,FUnitGroupID,FNumber,"
                     "FName,FCoefficient) VALUES (1,1,1,'01','pcs',1)");
        exec(handle, "INSERT INTO t_StockPlace (FSPID,FSPGroupID,FNumber,FName) VALUES "
                     "(1,1,'A.01','A')");
        exec(handle, "INSERT INTO ICTransactionType (FID,FName) VALUES (1,'in'),(21,'out')");
        const std::string items = std::to_string(kItems);
        exec(handle,
             ("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" + items +
              ") INSERT INTO t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FModel,"
              "FUnitID,FStoreUnitID,FCUUnitID) SELECT i,printf('%06d',i),printf('s%d',i),"
              "'item '||i,'m',1,1,1 FROM n")
                 .c_str());
        exec(handle, "INSERT INTO t_ICItemMaterial (FItemID) SELECT FItemID FROM t_ICItemBase");
        exec(handle, "INSERT INTO t_barcode (FBarcode,FTypeID,FItemID) SELECT '69'||FItemID,4,"
                     "FItemID FROM t_ICItemBase WHERE FItemID%10=0");
        exec(handle, ("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
                      std::to_string(kLines) +
                      ") INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,"
                      "FStockPlaceID,FKFDate,FQty,FCheckQty,FQtyAct,FMaxBillInterID) SELECT 1,i,1,"
                      "1,1,'',5,5,5,1000 FROM n")
                         .c_str());
        exec(handle, ("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
                      std::to_string(kBillLines / 10) +
                      ") INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID) "
                      "SELECT 1000+i,'B'||i,CASE WHEN i%2=0 THEN 1 ELSE 21 END,"
                      "'2026-12-02 00:00:00.000',16 FROM n")
                         .c_str());
        exec(handle, ("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<" +
                      std::to_string(kBillLines - 1) +
                      ") INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,"
                      "FDCStockID,FDCSPID,FQty) SELECT 1001+i/10,i%10+1,CASE WHEN i%1000=0 THEN " +
                      std::to_string(kFocusedItem) + " ELSE (i*7919)%" + items +
                      "+1 END,1,1,1,i%13+1 FROM n")
                         .c_str());
        exec(handle, "COMMIT");
        return connection;
    }();
    return db;
}

void setUpModule()
{
    host::registerHostComponents();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16394;SUBID=ic;LANGUAGE=CHS;");
    resetModuleState();
    const auto db = database();
    module().gAppConn = db;
    host::setHostConnection(db);
}

std::string selectSql()
{
    BillSelectLine line;
    line.stockId = 1;
    line.itemId = kFocusedItem;
    line.stockPlaceId = 1;
    BillSelectOptions options;
    options.procId = 1;
    setSnapshotConditions(options, 1, {}, 1000, 0);
    options.billTypeName = "x1.FName";
    options.changeTypeName = "x1.FName";
    return billSelectSQL(line, options);
}

// The bill list of one count line, through the gateway into a recordset.
void BM_BillSelection(benchmark::State &state)
{
    setUpModule();
    const std::string sql = selectSql();
    long rows = 0;
    for (auto _ : state) {
        const auto rs = database()->Execute(sql);
        rows = rs->RecordCount();
        benchmark::DoNotOptimize(rs.get());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BillSelection)->Unit(benchmark::kMillisecond)->Iterations(20);

// Baseline: the same three stock-bill parts as bare SQLite, every column read into memory.
void BM_BillSelectionBareSqlite(benchmark::State &state)
{
    setUpModule();
    sqlite3 *handle = database()->embedded()->handle();
    std::string part;
    const std::string item = std::to_string(kFocusedItem);
    const char *const sides[][4] = {{"CASE WHEN u1.FTranType IN (1,2,5,10,40,41) THEN 1 ELSE 0 END",
                                     "v1.FDCStockID", "v1.FDCSPID",
                                     "u1.FTranType IN (1,2,5,10,40,41,43,21,28,29)"},
                                    {"0", "v1.FSCStockID", "v1.FDCSPID", "u1.FTranType=24"},
                                    {"0", "v1.FSCStockID", "v1.FSCSPID", "u1.FTranType=41"}};
    std::string sql;
    for (const auto &side : sides) {
        if (!sql.empty())
            sql += " UNION ALL ";
        sql += std::string("SELECT u1.FInterID,CASE WHEN ifnull(v1.FSelectedProcID,0)=0 THEN 0 "
                           "ELSE 1 END,u1.FDate,") +
               side[0] +
               ",x1.FName,u1.FBillNo,t11.FName,t1.FNumber,t1.FName,t1.FModel,t12.FName,"
               "v1.FBatchNo,v1.FMtoNo,v1.FKFDate,v1.FKFPeriod,t3.FName,v1.FQty,t13.FName,"
               "v1.FSecQty,v1.FEntryID,u1.FROB,u1.FTranType FROM ICStockBill u1 JOIN "
               "ICStockBillEntry v1 ON u1.FInterID=v1.FInterID JOIN ICTransactionType x1 ON "
               "u1.FTranType=x1.FID JOIN t_ICItem t1 ON v1.FItemID=t1.FItemID JOIN "
               "t_MeasureUnit t3 ON t1.FUnitID=t3.FItemID LEFT JOIN t_MeasureUnit t13 ON "
               "t1.FSecUnitID=t13.FItemID LEFT JOIN t_AuxItem t12 ON v1.FAuxPropID=t12.FItemID "
               "LEFT JOIN t_StockPlace t11 ON " +
               side[2] + "=t11.FSPID WHERE " + side[1] + "=1 AND v1.FItemID=" + item +
               " AND (u1.FCheckerID<>0 OR u1.FUpStockWhenSave=1) AND u1.FCancellation=0 AND "
               "v1.FBatchNo='' AND v1.FMtoNo='' AND u1.FInterID>1000 AND " +
               side[2] + "=1 AND v1.FAuxPropID=0 AND v1.FKFPeriod=0 AND v1.FKFDate IS NULL AND " +
               side[3] + " AND ifnull(v1.FSelectedProcID,0) IN (0,1)";
    }
    sql += " ORDER BY 3,6";
    long rows = 0;
    for (auto _ : state) {
        const auto table = bareRowsAsText(handle, sql);
        rows = static_cast<long>(table.size());
        benchmark::DoNotOptimize(table.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BillSelectionBareSqlite)->Unit(benchmark::kMillisecond)->Iterations(20);

// The add-line item lookup on 100,000 items, from the call to its first rows drawn.
void BM_ItemLookupFirstRows(benchmark::State &state)
{
    setUpModule();
    host::ui::ScriptedModals scripted;
    for (auto _ : state) {
        scripted.whileShown([](host::ui::Form &form) {
            auto &lookup = dynamic_cast<host::LookupWindow &>(form);
            benchmark::DoNotOptimize(lookup.grab());
            if (lookup.visibleCount() != kItems)
                std::abort();
            lookup.cancel();
        });
        const auto view = host::CreateObjectAs<host::GLView>(host::GLView::ProgId);
        host::Dictionary options;
        std::string search;
        std::string filter = " FErpClsID Not in(6,8)";
        benchmark::DoNotOptimize(view->ItemLookUp(4, search, filter, options));
    }
}
BENCHMARK(BM_ItemLookupFirstRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: the lookup's rows as a bare SQLite query, every column read into memory.
void BM_ItemLookupBareSqlite(benchmark::State &state)
{
    setUpModule();
    sqlite3 *handle = database()->embedded()->handle();
    for (auto _ : state) {
        const auto table = bareRowsAsText(
            handle,
            "SELECT FItemID,FNumber,FShortNumber,FName,FModel,FUnitID,FStoreUnitID,FSecUnitID,"
            "FBatchManager,FISKFPeriod,FKFPeriod,FAuxClassID,FQtyDecimal,FISSNManage,(SELECT "
            "min(b.FBarcode) FROM t_barcode b WHERE b.FItemID=x2.FItemID AND b.FTypeID=4) FROM "
            "t_ICItem x2 WHERE FDeleted<>1 AND FErpClsID NOT IN (6,8) ORDER BY FNumber");
        if (table.size() != kItems)
            state.SkipWithError("the items did not load");
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(BM_ItemLookupBareSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
