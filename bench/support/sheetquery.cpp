#include "support/sheetquery.h"

#include "host/db/sqlite/sqlitedb.h"
#include "host/db/sqlite/storage.h"
#include "host/db/tsql/tsqlfunctions.h"

#include <sqlite3.h>

namespace {

// What each layout selects besides the columns all three share. Each quantity is rounded where
// the module's query rounds it: a sum, difference or negation of decimals to their scale, a
// product or quotient to the scale of the column it is cast to or of the decimal it makes.
struct Layout
{
    std::string quantities;
    std::string counting;
    std::string second;
    std::string auxName;
};

std::string rounded(const std::string &value, int scale)
{
    return "round_decimal(" + value + "," + std::to_string(scale) + ")";
}

// A difference as it is stored when it goes one way, negated when it goes the other.
std::string overAndDown(const std::string &minus, const std::string &prefix)
{
    return "CASE WHEN t1." + minus + ">0 OR t4.FCoefficient=0 THEN t1." + minus + " END AS " +
           prefix + "OverQty,CASE WHEN t1." + minus + "<0 OR t4.FCoefficient=0 THEN " +
           rounded("-t1." + minus, 10) + " END AS " + prefix + "DownQty";
}

std::string secondCoefficient(const std::string &quantity, const std::string &second)
{
    return "CASE WHEN t1." + second + "=0 THEN 0 ELSE " +
           rounded("t1." + quantity + "/t1." + second, 10) + " END AS FSecCoefficient";
}

Layout layoutOf(long showType)
{
    if (showType == 3)
        return {"NULL AS FQty,NULL AS FQtyAct,NULL AS FCheckQty,NULL AS FOverQty,NULL AS FDownQty",
                "NULL AS FCUUnitQty,NULL AS FCUUnitQtyAct,NULL AS FCUUnitCheckQty,NULL AS "
                "FCUUnitOverQty,NULL AS FCUUnitDownQty",
                "t1.FAdjQty,NULL AS FSecQty,NULL AS FSecQtyAct,NULL AS FSecCheckQty,NULL AS "
                "FSecAdjQty," +
                    secondCoefficient("FQty", "FSecQty"),
                "ifnull(t13.FName,'*')"};
    const std::string down = rounded("-t1.FMinus", 10);
    if (showType == 1) {
        const std::string counted = rounded("t1.FAuxQty+t1.FAdjQty", 10);
        // A unit without a coefficient converts one to one.
        const std::string coefficient =
            "(CASE WHEN t4.FCoefficient=0 THEN 1 ELSE t4.FCoefficient END)";
        return {
            rounded(rounded(rounded(counted, 15) + "*" + rounded("t4.FCoefficient", 15), 11), 10) +
                " AS FQty,t1.FQtyAct,t1.FCheckQty," + overAndDown("FMinus", "F"),
            counted +
                " AS FCUUnitQty,t1.FAuxQtyAct AS FCUUnitQtyAct,t1.FAuxCheckQty AS "
                "FCUUnitCheckQty,CASE WHEN t1.FMinus>0 THEN " +
                rounded("t1.FMinus/" + coefficient, 10) +
                " END AS FCUUnitOverQty,CASE WHEN t1.FMinus<0 THEN " +
                rounded(down + "/" + coefficient, 10) + " END AS FCUUnitDownQty",
            "t1.FAdjQty," + rounded("t1.FSecQty+t1.FSecAdjQty", 10) +
                " AS FSecQty,t1.FSecQtyAct,t1.FSecCheckQty,t1.FSecAdjQty," +
                secondCoefficient("FCheckQty", "FSecCheckQty") + "," +
                overAndDown("FSecMinus", "FSec"),
            "t13.FName"};
    }
    return {"t1.FQty,t1.FQtyAct,t1.FCheckQty," + overAndDown("FMinus", "F"),
            "t1.FAuxQty AS FCUUnitQty,t1.FAuxQtyAct AS FCUUnitQtyAct,t1.FAuxCheckQty AS "
            "FCUUnitCheckQty,CASE WHEN t1.FMinus>0 THEN " +
                rounded("t1.FMinus*t4.FCoefficient", 6) +
                " END AS FCUUnitOverQty,CASE WHEN t1.FMinus<0 THEN " +
                rounded(down + "*t4.FCoefficient", 6) + " END AS FCUUnitDownQty",
            "t1.FAdjQty,t1.FSecQty,t1.FSecQtyAct,t1.FSecCheckQty,t1.FSecAdjQty," +
                secondCoefficient("FCheckQty", "FSecCheckQty"),
            "t13.FName"};
}

// Every item without a line in the process, once per stock of the process, in the print
// layout's columns.
const char *const kItemsWithoutLines =
    " UNION ALL SELECT rtrim(t12.FName),0,b.* FROM (SELECT t2.FItemID,'',t2.FShortNumber,"
    "t2.FNumber,t2.FName,t2.FModel,'','','',0,t4.FCoefficient,0,t2.FQtyDecimal,t2.FPriceDecimal,"
    "NULL,'',NULL,strftime('%Y-%m-%d %H:%M:%f','now'),NULL,t3.FName,NULL,NULL,NULL,NULL,NULL,"
    "t2.FCUUnitID,t4.FUnitGroupID,t4.FName,NULL,NULL,NULL,NULL,NULL,t2.FDeleted,t5.FName,'',NULL,"
    "NULL,NULL,NULL,NULL,0,'','','','',t2.FNumber,t2.FShortNumber FROM t_ICItem t2 "
    "JOIN t_MeasureUnit t3 ON t2.FUnitID=t3.FItemID JOIN t_MeasureUnit t4 ON "
    "t2.FCUUnitID=t4.FItemID LEFT JOIN t_MeasureUnit t5 ON t2.FSecUnitID=t5.FItemID WHERE "
    "t2.FItemID NOT IN (SELECT FItemID FROM ICInvBackup WHERE FInterID=1) AND t2.FDeleted<>1) b "
    "JOIN (SELECT DISTINCT FStockID FROM ICInvBackup WHERE FInterID=1) a "
    "LEFT JOIN t_Stock t12 ON a.FStockID=t12.FItemID";

int sortText(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    return host::tsql::compareText(static_cast<const char *>(a), lengthA,
                                   static_cast<const char *>(b), lengthB);
}

} // namespace

std::string bareSheetQuery(long showType, const std::string &condition)
{
    const Layout l = layoutOf(showType);
    std::string sql =
        "SELECT * FROM (SELECT rtrim(t12.FName) AS FStockName,t1.FStockID,t1.FItemID,"
        "t11.FName AS FSPName,t2.FShortNumber,t2.FNumber,t2.FName,t2.FModel,t1.FBatchNo,"
        "t1.FMtoNo,t1.FKFDate,t1.FKFPeriod,t4.FCoefficient,t1.FStockPlaceID,t2.FQtyDecimal,"
        "t2.FPriceDecimal,";
    if (showType != 3)
        sql += "t2.FSecUnitDecimal,";
    sql += std::string("t1.FBal,t1.FNote,t1.FMinus,t1.FDateBackup,t1.FMaxBillInterID,t3.FName "
                       "AS FUnitName,") +
           l.quantities + ",t1.FUnitID,t4.FUnitGroupID,t4.FName AS FCUUnitName," + l.counting +
           ",t2.FDeleted,t5.FName AS FSecUnitName," + l.auxName + " AS FAuxPropName," + l.second +
           ",t12.FNumber AS FStockNumber,t12.FShortNumber AS FStockShortNumber,";
    if (showType != 3)
        sql += "t3.FNumber,t3.FShortNumber,";
    sql += "t11.FNumber,t11.FShortNumber,";
    if (showType != 3)
        sql += "t4.FNumber,t4.FShortNumber,";
    sql += "t2.FNumber AS FItemNumber,t2.FShortNumber AS FItemShortNumber";
    if (showType != 3)
        sql += ",t5.FNumber,t5.FShortNumber,t13.FNumber,t13.FNumber,t2.FSecUnitID,t1.FAuxPropID";
    sql += " FROM ICInvBackup t1 JOIN t_ICItem t2 ON t1.FItemID=t2.FItemID "
           "LEFT JOIN t_MeasureUnit t3 ON t2.FUnitID=t3.FItemID "
           "LEFT JOIN t_MeasureUnit t4 ON t1.FUnitID=t4.FItemID "
           "LEFT JOIN t_MeasureUnit t5 ON t2.FSecUnitID=t5.FItemID "
           "LEFT JOIN t_StockPlace t11 ON t1.FStockPlaceID=t11.FSPID "
           "LEFT JOIN t_Stock t12 ON t1.FStockID=t12.FItemID "
           "LEFT JOIN t_AuxItem t13 ON t1.FAuxPropID=t13.FItemID "
           "WHERE t2.FDeleted<>1 AND t1.FInterID=1";
    if (showType == 3)
        sql += kItemsWithoutLines;
    sql += ") WHERE " + (condition.empty() ? std::string("1=1") : condition) +
           " ORDER BY FStockName COLLATE TSQL DESC,FSPName COLLATE TSQL,FName COLLATE TSQL";
    return sql;
}

void registerSheetFunctions(sqlite3 *db)
{
    // Its joins find the rows the module's find.
    host::sqlite::guardConnection(db);
    sqlite3_create_collation_v2(db, "TSQL", SQLITE_UTF8, nullptr, sortText, nullptr);
    sqlite3_create_function_v2(
        db, "round_decimal", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
        [](sqlite3_context *context, int, sqlite3_value **argv) {
            if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
                sqlite3_result_null(context);
            else
                sqlite3_result_double(context, host::roundDecimal(sqlite3_value_double(argv[0]),
                                                                  sqlite3_value_int(argv[1])));
        },
        nullptr, nullptr, nullptr);
}
