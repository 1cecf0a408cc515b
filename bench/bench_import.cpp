// The import of a count sheet whose lines all match count lines, beside bare SQLite doing the
// same reading, lookups, staging and set-based update and insert into the same indexed
// ICInvBackup, at several sizes.
#include "backup/icbackupinv.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/db/embeddeddatabase.h"
#include "host/db/recordset.h"
#include "import/importcheckdata.h"
#include "import/importsheet.h"
#include "services/modulestate.h"
#include "support/benchsizes.h"
#include "support/company.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace {

// A count of the company's current stock, and a sheet of half as many lines as there are rows
// of book stock, each a line of that count counted one more than the book in its counting unit
// and, where it has a second-unit quantity, in the second unit: so that no line is refused for
// gains and losses pointing in different directions. Without the plan-tracking mode a sheet
// carries no plan-tracking number, so only lines without one can match.
struct ImportCase
{
    explicit ImportCase(long rows) : c(company(rows))
    {
        c.connection->Execute("delete from ICInvBackup\r\ndelete from ICStockCheckProcess");
        host::Dictionary p;
        p.SetValue("Stock", c.stockList);
        p.SetValue("Filter", "");
        p.SetValue("Date", host::formatDate(host::now(), "YYYY-MM-DD"));
        p.SetValue("Operater", 16394);
        ICBackupInv backup;
        backup.GetStockBillMaxID();
        backup.BackUpData(p, false, host::now(), false, true);
        module().gCurInterID = host::CLng(
            c.connection->Execute("select max(FID) from ICStockCheckProcess")->Fields(0).Value());
        module().gUseShortNumber = true;
        module().gMtoPlanMode = 0;
        sheet = c.connection->Execute(
            "select top " + std::to_string(rows / 2) +
            " s.FNumber as StockNumber,s.FName as StockName,p.FNumber as SPNumber,"
            "p.FName as SPName,i.FNumber as ItemNumber,i.FName as ItemName,i.FModel as Model,"
            "a.FNumber as AuxPropNumber,a.FName as AuxPropName,t1.FBatchNo as BatchNo,"
            "case when t1.FKFDate='' then null else t1.FKFDate end as KFDate,"
            "case when t1.FKFPeriod=0 then null else t1.FKFPeriod end as KFPeriod,"
            "u.FNumber as FUnitNumber,u.FName as FUnitName,null as FBaseUnitQtyAct,"
            "null as FBaseUnitQty,null as FBaseUnitQtyChk,cu.FNumber as FCCUnitNumber,"
            "cu.FName as FCCUnitName,null as FQtyAct,null as FQty,t1.FAuxQty+1 as CheckQty,"
            "null as AdjQty,su.FNumber as FSecUnitNumber,su.FName as FSecUnitName,"
            "null as Coefficient,null as FSecUnitQty,null as FSecQtyAct,"
            "case when t1.FSecQty=0 then null else t1.FSecQty+1 end as FSecCheckQty,"
            "null as FSecAdjQty,'counted' as FNote "
            "from ICInvBackup t1 inner join t_Stock s on t1.FStockID=s.FItemID "
            "inner join t_StockPlace p on t1.FStockPlaceID=p.FSPID "
            "inner join t_ICItem i on t1.FItemID=i.FItemID "
            "inner join t_MeasureUnit u on i.FUnitID=u.FMeasureUnitID "
            "inner join t_MeasureUnit cu on t1.FUnitID=cu.FMeasureUnitID "
            "left join t_MeasureUnit su on t1.FSecUnitID=su.FMeasureUnitID "
            "left join t_AuxItem a on t1.FAuxPropID=a.FItemID "
            "where t1.FMtoNo='' and t1.FInterID=" +
            std::to_string(module().gCurInterID));
    }

    Company &c;
    std::shared_ptr<host::Recordset> sheet;
};

// Key "number|name" to id, from a query of id, number, name.
std::unordered_map<std::string, long long> lookup(sqlite3 *db, const char *sql)
{
    std::unordered_map<std::string, long long> map;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        auto text = [stmt](int i) {
            const auto *t = sqlite3_column_text(stmt, i);
            return t ? std::string(reinterpret_cast<const char *>(t)) : std::string();
        };
        map[text(1) + "|" + text(2)] = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    return map;
}

std::string cellText(host::Recordset &sheet, long column)
{
    return ImportSheet::cellText(sheet.Fields(column).Value());
}

// The same work written for SQLite directly: lookups in hash maps, the staging rows through one
// prepared statement in one transaction, then one update and one insert over the staging table.
void bareImport(ImportCase &ic)
{
    sqlite3 *db = ic.c.connection->embedded()->handle();
    const auto items = lookup(db, "select FItemID,trim(FNumber),trim(FName) from t_ICItem");
    const auto units =
        lookup(db, "select FMeasureUnitID,trim(FNumber),trim(FName) from t_MeasureUnit");
    const auto stocks = lookup(db, "select FItemID,trim(FNumber),trim(FName) from t_Stock");
    const auto places = lookup(db, "select FSPID,trim(FNumber),trim(FName) from t_StockPlace");
    const auto auxItems = lookup(db, "select FItemID,trim(FNumber),trim(FName) from t_AuxItem");
    runSqlite("CREATE TEMP TABLE bare_staging (FInterID int, FItemID int, FAuxPropID int, "
              "FUnitID int, FBatchNo varchar(200) COLLATE TSQL, FMtoNo varchar(300) COLLATE TSQL, "
              "FStockID int, FStockPlaceID int, FKFDate varchar(20) COLLATE TSQL, FKFPeriod int, "
              "FCheckQty decimal_real, FAuxCheckQty decimal_real, FNote varchar(255), "
              "FSecUnitID int, FChecker int)");
    runSqlite("BEGIN");
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO bare_staging VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1,
                       &insert, nullptr);
    auto key = [](const std::string &number, const std::string &name) {
        return number + "|" + name;
    };
    auto id = [](const auto &map, const std::string &k) {
        const auto it = map.find(k);
        return it == map.end() ? 0LL : it->second;
    };
    host::Recordset &sheet = *ic.sheet;
    for (sheet.MoveFirst(); !sheet.EOF(); sheet.MoveNext()) {
        std::vector<std::string> cells;
        for (long i = 0; i < sheet.FieldCount(); ++i)
            cells.push_back(host::Trim(cellText(sheet, i)));
        const double checkQty = host::Val(cells[21]);
        sqlite3_bind_int64(insert, 1, module().gCurInterID);
        sqlite3_bind_int64(insert, 2, id(items, key(cells[4], cells[5])));
        sqlite3_bind_int64(insert, 3, id(auxItems, key(cells[7], cells[8])));
        sqlite3_bind_int64(insert, 4, id(units, key(cells[17], cells[18])));
        sqlite3_bind_text(insert, 5, cells[9].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, "", -1, SQLITE_STATIC);
        sqlite3_bind_int64(insert, 7, id(stocks, key(cells[0], cells[1])));
        sqlite3_bind_int64(insert, 8, id(places, key(cells[2], cells[3])));
        sqlite3_bind_text(insert, 9, cells[10].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 10, static_cast<long long>(host::Val(cells[11])));
        sqlite3_bind_double(insert, 11, checkQty);
        sqlite3_bind_double(insert, 12, checkQty);
        sqlite3_bind_text(insert, 13, cells[30].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 14, id(units, key(cells[23], cells[24])));
        sqlite3_bind_int64(insert, 15, 16394);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    runSqlite("UPDATE ICInvBackup AS b SET FCheckQty=t.FCheckQty,FAuxCheckQty=t.FAuxCheckQty,"
              "FNote=t.FNote,FChecker=t.FChecker,FMinus=t.FCheckQty-b.FQty FROM bare_staging t "
              "WHERE t.FItemID=b.FItemID AND t.FInterID=b.FInterID AND t.FAuxPropID=b.FAuxPropID "
              "AND t.FUnitID=b.FUnitID AND t.FBatchNo=b.FBatchNo AND t.FMtoNo=b.FMtoNo AND "
              "t.FKFDate=b.FKFDate AND t.FKFPeriod=b.FKFPeriod AND t.FStockID=b.FStockID AND "
              "t.FStockPlaceID=b.FStockPlaceID");
    runSqlite("INSERT INTO ICInvBackup (FInterID,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,"
              "FStockID,FStockPlaceID,FKFDate,FKFPeriod,FCheckQty,FAuxCheckQty,FNote,FSecUnitID,"
              "FChecker) SELECT t.* FROM bare_staging t LEFT JOIN ICInvBackup b ON "
              "t.FItemID=b.FItemID AND t.FInterID=b.FInterID AND t.FAuxPropID=b.FAuxPropID AND "
              "t.FUnitID=b.FUnitID AND t.FBatchNo=b.FBatchNo AND t.FMtoNo=b.FMtoNo AND "
              "t.FKFDate=b.FKFDate AND t.FKFPeriod=b.FKFPeriod AND t.FStockID=b.FStockID AND "
              "t.FStockPlaceID=b.FStockPlaceID WHERE b.FItemID IS NULL");
    runSqlite("COMMIT");
    runSqlite("DROP TABLE bare_staging");
}

void BM_ImportMatchingLines(benchmark::State &state)
{
    ImportCase ic(state.range(0));
    Comparison comparison;
    for (auto _ : state) {
        comparison.bare([&] { bareImport(ic); });
        bool done = false;
        comparison.module([&] {
            ic.sheet->MoveFirst();
            done = PubVariant::ImportCheckData(ic.sheet);
        });
        if (!done)
            state.SkipWithError("the import failed");
    }
    comparison.report(state);
    state.counters["sheetLines"] = static_cast<double>(ic.sheet->RecordCount());
    // The error list of refused rows is a modal window; an import of matching lines shows none.
    state.counters["errorLists"] = static_cast<double>(ic.c.modals.modalWindows().size());
}

} // namespace

BENCHMARK(BM_ImportMatchingLines)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);
