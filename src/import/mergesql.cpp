#include "import/mergesql.h"

#include "host/core/sqltext.h"

#include <string_view>

namespace PubVariant {

namespace {

std::string placeCorrection(const std::string &tableName)
{
    std::string sql;
    host::addLines(sql, {"   update a set",
                         "   FStockPlaceID=isnull((SELECT top 1 FSPID FROM t_stockplace WHERE "
                         "FSPGroupID=b.FSPGroupID AND FNumber=c.FNumber and FName =c.FName),0)"});
    host::addLines(sql, {"   from " + tableName + " a"});
    host::addLines(
        sql, {"   inner join t_stock b on a.FStockID=b.FItemID",
              "   inner join t_stockplace c on a.FStockPlaceID=c.FSPID",
              ("   and isnull(a.FStockPlaceID,0)>0 and isnull(b.FIsStockMgr,0)=1 AND "
               "isnull(b.FSPGroupID,0)>0 "),
              ("   and exists (SELECT FSPID FROM t_stockplace WHERE FSPGroupID=b.FSPGroupID AND "
               "FNumber=c.FNumber and FName =c.FName)")});
    return sql;
}

// The staged rows joined to the count lines they match; ends with a line end.
std::string matchedLines(const std::string &tableName)
{
    std::string sql = tableName;
    host::addLines(sql, {" t inner join IcInvBackUp b ", "on t.FItemID = b.FItemID",
                         "inner join t_measureunit a on b.FUnitID=a.FMeasureUnitID",
                         "and  t.FInterID = b.FInterID", "and t.FAuxPropID = b.FAuxPropID",
                         "and t.FUnitID = b.FUnitID", "and t.FBatchNo = b.FBatchNo",
                         "and t.FMtoNo = b.FMtoNo", "and t.FKFDate = b.FKFDate",
                         "and t.FKFPeriod = b.FKFPeriod", "and t.FStockID = b.FStockID",
                         "and t.FStockPlaceID = b.FStockPlaceID"});
    return sql;
}

// The columns the update writes from the staged row, each as the server's text spells it: the key
// columns, which the embedded merge leaves as they are, and where a line of the text ends.
struct Assignment
{
    std::string_view text;
    bool key = false;
    bool endsLine = false;
};
constexpr Assignment kAssignments[] = {
    {"b.FInterID = t.FInterID,", true},
    {"b.FBrNo = t.FBrNo,", false, true},
    {"b.FItemID = t.FItemID,", true},
    {"b.FAuxPropID = t.FAuxPropID,", true, true},
    {"b.FUnitID = t.FUnitID,", true},
    {"b.FBatchNo = t.FBatchNo,", true, true},
    {"b.FMtoNo = t.FMtoNo,", true, true},
    {"b.FStockID = t.FStockID,", true, true},
    {"b.FSelect = t.FSelect,"},
    {"b.FAdj = t.FAdj,", false, true},
    {"b.FAdjQty = t.FAdjQty,", false, true},
    {"b.FMaxBillInterID = t.FMaxBillInterID,"},
    {"b.FCheckQty = t.FCheckQty,", false, true},
    {"b.FQtyAct = t.FQtyAct,"},
    {"b.FAuxCheckQty =t.FAuxCheckQty,", false, true},
    {"b.FAuxQtyAct = t.FAuxQtyAct,", false, true},
    {"b.FMinus =t.FMinus,"},
    {"b.FNote = t.FNote,", false, true},
    {"b.FStockPlaceID = t.FStockPlaceID,", true},
    {"b.FKFDate = t.FKFDate,", true, true},
    {"b.FKFPeriod = t.FKFPeriod,", true},
    {"b.FSecUnitID = t.FSecUnitID,", false, true},
    {"b.FSecMinus =t.FSecMinus,", false, true},
    {"b.FSecQtyAct =t.FSecCheckQty,"},
    {"b.FSecCheckQty = t.FSecCheckQty,"},
    {"b.FSecAdjQty =t.FSecAdjQty, ", false, true},
    {"b.FChecker = t.FChecker from ", false, true},
};

// The update of the count lines the staged rows match, with or without their key columns.
std::string updateFromTemp(const std::string &tableName, bool keys)
{
    std::string sql = placeCorrection(tableName);
    host::addLine(sql, "   update b set");
    bool lineOpen = false;
    for (const Assignment &assignment : kAssignments) {
        if (keys || !assignment.key) {
            sql += assignment.text;
            lineOpen = true;
        }
        if (assignment.endsLine && lineOpen) {
            sql += host::kCrLf;
            lineOpen = false;
        }
    }
    return sql + matchedLines(tableName);
}

} // namespace

std::string GetUpdateFromTempSQL(const std::string &tableName)
{
    return updateFromTemp(tableName, true);
}

std::string GetUpdateKeepingKeysFromTempSQL(const std::string &tableName)
{
    std::string sql = updateFromTemp(tableName, false);
    // The key's texts match without regard to case or trailing blanks; the sheet's spelling
    // is written only where it differs, so that the rest of the key's index stays untouched.
    host::addLines(sql, {"   update b set b.FBatchNo = t.FBatchNo,b.FMtoNo = t.FMtoNo,"
                         "b.FKFDate = t.FKFDate from "});
    sql += matchedLines(tableName);
    host::addLines(sql, {"where DATALENGTH(b.FBatchNo) <> DATALENGTH(t.FBatchNo)",
                         "or b.FBatchNo <> t.FBatchNo COLLATE Chinese_PRC_BIN",
                         "or DATALENGTH(b.FMtoNo) <> DATALENGTH(t.FMtoNo)",
                         "or b.FMtoNo <> t.FMtoNo COLLATE Chinese_PRC_BIN",
                         "or DATALENGTH(b.FKFDate) <> DATALENGTH(t.FKFDate)",
                         "or b.FKFDate <> t.FKFDate COLLATE Chinese_PRC_BIN"});
    return sql;
}

std::string GetInsertFromTempSQL(const std::string &tableName)
{
    std::string sql;
    host::addLines(
        sql,
        {" insert into icinvbackup ", "( FInterID,FBrNo,FItemID,FAuxPropID,",
         "FUnitID,FBatchNo,FMtoNo,FStockID,FQty,", "FSelect,FAdj,FAdjQty,FDateBackup,",
         "FMaxBillInterID,FCheckQty,FQtyAct,", "FAuxCheckQty,FAuxQtyAct,FAuxQty,",
         "FMinus,FNote,FStockPlaceID,FKFDate,",
         "FKFPeriod , FSecUnitID, FSecQty, FChecker,FSecQtyAct,FSecCheckQty,FSecAdjQty,FSecMinus",
         ")", "  select ",
         "t.FInterID,t.FBrNo,t.FItemID,t.FAuxPropID,t.FUnitID,t.FBatchNo,t.FMtoNo,t.FStockID,0,",
         "t.FSelect,t.FAdj,t.FAdjQty,t.FDateBackup,t.FMaxBillInterID,t.FCheckQty,t.FQtyAct,",
         "t.FAuxCheckQty,t.FAuxQtyAct,0,t.FMinus,t.FNote,t.FStockPlaceID,t.FKFDate,",
         ("t.FKFPeriod , t.FSecUnitID, 0, t.FChecker,t.FSecQtyAct,t.FSecCheckQty,t.FSecAdjQty,"
          "t.FSecMinus from ")});
    sql += tableName;
    host::addLines(sql,
                   {" t left join IcInvBackUp b", "on t.FItemID = b.FItemID",
                    "and  t.FInterID = b.FInterID",
                    "and t.FAuxPropID = b.FAuxPropID and t.FUnitID = b.FUnitID",
                    "and t.FBatchNo = b.FBatchNo and t.FMtoNo=b.FMtoNo and t.FKFDate = b.FKFDate",
                    "and t.FKFPeriod = b.FKFPeriod", "and t.FStockID = b.FStockID",
                    "and t.FStockPlaceID = b.FStockPlaceID", "Where b.FItemID Is Null"});
    sql += "drop table " + tableName;
    return sql;
}

} // namespace PubVariant
