#include "import/mergesql.h"

#include "host/core/sqltext.h"

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

} // namespace

std::string GetUpdateFromTempSQL(const std::string &tableName)
{
    std::string sql = placeCorrection(tableName);
    host::addLines(
        sql, {"   update b set", "b.FInterID = t.FInterID,b.FBrNo = t.FBrNo,",
              "b.FItemID = t.FItemID,b.FAuxPropID = t.FAuxPropID,",
              "b.FUnitID = t.FUnitID,b.FBatchNo = t.FBatchNo,", "b.FMtoNo = t.FMtoNo,",
              "b.FStockID = t.FStockID,", "b.FSelect = t.FSelect,b.FAdj = t.FAdj,",
              "b.FAdjQty = t.FAdjQty,",
              "b.FMaxBillInterID = t.FMaxBillInterID,b.FCheckQty = t.FCheckQty,",
              "b.FQtyAct = t.FQtyAct,b.FAuxCheckQty =t.FAuxCheckQty,",
              "b.FAuxQtyAct = t.FAuxQtyAct,", "b.FMinus =t.FMinus,b.FNote = t.FNote,",
              "b.FStockPlaceID = t.FStockPlaceID,b.FKFDate = t.FKFDate,",
              "b.FKFPeriod = t.FKFPeriod,b.FSecUnitID = t.FSecUnitID,", "b.FSecMinus =t.FSecMinus,",
              ("b.FSecQtyAct =t.FSecCheckQty,b.FSecCheckQty = t.FSecCheckQty,b.FSecAdjQty "
               "=t.FSecAdjQty, "),
              "b.FChecker = t.FChecker from "});
    return sql + matchedLines(tableName);
}

std::string GetUpdateKeepingKeysFromTempSQL(const std::string &tableName)
{
    std::string sql = placeCorrection(tableName);
    host::addLines(sql,
                   {"   update b set", "b.FBrNo = t.FBrNo,b.FSelect = t.FSelect,b.FAdj = t.FAdj,",
                    "b.FAdjQty = t.FAdjQty,b.FMaxBillInterID = t.FMaxBillInterID,",
                    "b.FCheckQty = t.FCheckQty,b.FQtyAct = t.FQtyAct,",
                    "b.FAuxCheckQty = t.FAuxCheckQty,b.FAuxQtyAct = t.FAuxQtyAct,",
                    "b.FMinus = t.FMinus,b.FNote = t.FNote,b.FSecUnitID = t.FSecUnitID,",
                    "b.FSecMinus = t.FSecMinus,b.FSecQtyAct = t.FSecCheckQty,",
                    "b.FSecCheckQty = t.FSecCheckQty,b.FSecAdjQty = t.FSecAdjQty,",
                    "b.FChecker = t.FChecker from "});
    sql += matchedLines(tableName);
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
