#include "dialogs/billselectsql.h"

#include "countsheet/checkbillsql.h"
#include "host/core/sqltext.h"

#include <initializer_list>

namespace {

std::string lines(std::initializer_list<std::string_view> parts)
{
    std::string text;
    host::addLines(text, parts);
    return text;
}

// A stock-bill part: how it counts the line, which types, which side's stock and place.
struct BillPart
{
    const char *inOrOut;
    const char *typeCondition;
    const char *stockCondition;
    const char *placeJoin;
    const char *placeCondition;
};

constexpr BillPart kBillParts[] = {
    {"case when u1.FTranType in(1,2,5,10,40,41) then 1 else 0 end as FInOrOut,",
     "AND u1.FTranType in(1,2,5,10,40,41,43,21,28,29)", "Where v1.FDCStockID=",
     "left join t_StockPlace t11 on v1.FDCSPID=t11.FSPID", "AND v1.FDCSPID="},
    {"FInOrOut=0,", "AND u1.FTranType=24", "Where v1.FSCStockID=",
     "left join t_StockPlace t11 on v1.FDCSPID=t11.FSPID", "AND v1.FDCSPID="},
    {"FInOrOut=0,", "AND u1.FTranType=41", "Where v1.FSCStockID=",
     "left join t_StockPlace t11 on v1.FSCSPID=t11.FSPID", "AND v1.FSCSPID="},
};

std::string codeColumn(const BillSelectOptions &options)
{
    return options.shortNumber ? "FShortNumber AS FNumber" : "FNumber AS FNumber";
}

std::string kfDateCondition(const BillSelectLine &line)
{
    return "AND convert(datetime,v1.FKFDate)" +
           (line.kfDate.empty() ? std::string(" IS NULL ") : "=" + host::sqlString(line.kfDate));
}

std::string notTakenByOthers(const BillSelectOptions &options)
{
    return "AND (ISNULL(v1.FSelectedProcID,0) = 0 OR ISNULL(v1.FSelectedProcID,0) = " +
           std::to_string(options.procId) + ")";
}

std::string commonJoins()
{
    return lines({"inner join t_ICItem t1 on v1.FItemID=t1.FItemID",
                  "inner join t_MeasureUnit t3 on t1.FUnitID=t3.FItemID",
                  "left join t_MeasureUnit t13 on t1.FSecUnitID=t13.FItemID",
                  "left join t_AuxItem t12 on v1.FAuxPropID=t12.FItemID"});
}

std::string billPart(const BillPart &part, const BillSelectLine &line,
                     const BillSelectOptions &options)
{
    return lines({("Select u1.FInterID,CASE WHEN ISNULL(v1.FSelectedProcID,0) = 0 THEN 0 ELSE 1 "
                   "END AS FCheckSelect,u1.FDate,"),
                  part.inOrOut,
                  options.billTypeName + " AS FName,u1.FBillNo,t11.FName,t1." +
                      codeColumn(options) +
                      ",t1.FName,t1.FModel,t12.FName,v1.FBatchNo,v1.FMtoNo,v1.FKFDate,"
                      "v1.FKFPeriod,t3.FName,v1.FQty,t13.FName,v1.FSecQty,v1.FEntryID,u1.FROB,"
                      "u1.FTranType AS FTranTypeID",
                  "From ICStockBill u1 inner join ICStockBillEntry v1 on u1.FInterID=v1.FInterID",
                  "inner join ICTransactionType x1 on u1.FTranType=x1.FID "}) +
           commonJoins() +
           lines({part.placeJoin, part.stockCondition + std::to_string(line.stockId),
                  "AND v1.FItemID=" + std::to_string(line.itemId),
                  ("AND (u1.FCheckerID<0 OR u1.FCheckerID>0 or u1.FUpStockWhenSave=1) AND "
                   "u1.FCancellation = 0 "),
                  "AND v1.FBatchNo=" + host::sqlString(line.batchNo),
                  "AND v1.FMtoNo=" + host::sqlString(line.mtoNo), options.billCondition,
                  part.placeCondition + std::to_string(line.stockPlaceId),
                  "AND v1.FAuxPropID=" + std::to_string(line.auxPropId),
                  "AND v1.FKFPeriod=" + std::to_string(line.kfPeriod), kfDateCondition(line),
                  part.typeCondition, notTakenByOthers(options)});
}

// A plan-tracking part: the receiving side (to) counts as a receipt, the giving side as an issue.
std::string changePart(bool receivingSide, const BillSelectLine &line,
                       const BillSelectOptions &options)
{
    const std::string mtoColumn = receivingSide ? "v1.FToMtoNo" : "v1.FFromMtoNo";
    return lines({("Select u1.FID AS FInterID,CASE WHEN ISNULL(v1.FSelectedProcID,0) = 0 THEN 0 "
                   "ELSE 1 END AS FCheckSelect,u1.FDate,"),
                  receivingSide ? "1 AS FInOrOut," : "0 AS FInOrOut,",
                  options.changeTypeName + " AS FName,u1.FBillNo,t11.FName,t1." +
                      codeColumn(options) + ",t1.FName,t1.FModel,t12.FName,v1.FBatchNo," +
                      mtoColumn +
                      ",v1.FKFDate,v1.FKFPeriod,t3.FName,v1.FChangeBaseQty,t13.FName,"
                      "v1.FChangeSecQty,v1.FEntryID,0 AS FROB,u1.FClassTypeID AS FTranTypeID",
                  "From t_MTOChange u1 inner join t_MTOChangeEntry v1 on u1.FID=v1.FID",
                  "inner join ICClassType x1 on u1.FClassTypeID=x1.FID "}) +
           commonJoins() +
           lines({"left join t_StockPlace t11 on v1.FSPID=t11.FSPID", options.changeCondition,
                  "AND v1.FItemID=" + std::to_string(line.itemId), "AND u1.FClassTypeID = 1107011 ",
                  "AND (u1.FCheckerID<0 OR u1.FCheckerID>0 or u1.FUpStockWhenSave=1) ",
                  "AND v1.FStockID=" + std::to_string(line.stockId),
                  "AND v1.FBatchNo=" + host::sqlString(line.batchNo),
                  "AND " + mtoColumn + "=" + host::sqlString(line.mtoNo),
                  "AND v1.FSPID=" + std::to_string(line.stockPlaceId),
                  "AND v1.FAuxPropID=" + std::to_string(line.auxPropId),
                  "AND v1.FKFPeriod=" + std::to_string(line.kfPeriod), kfDateCondition(line),
                  notTakenByOthers(options)});
}

} // namespace

void setSnapshotConditions(BillSelectOptions &options, long backupType, const std::string &cutDate,
                           long maxInterId, long maxChangeId)
{
    if (backupType == 2) {
        options.billCondition = "AND u1.FDate > " + host::sqlString(cutDate);
        options.changeCondition = "WHERE u1.FID > 0 " + options.billCondition;
    } else {
        options.billCondition = "AND u1.FInterID > " + std::to_string(maxInterId);
        options.changeCondition = "Where u1.FID > " + std::to_string(maxChangeId);
    }
}

std::string billSelectSQL(const BillSelectLine &line, const BillSelectOptions &options)
{
    std::string sql;
    for (const auto &part : kBillParts) {
        if (!sql.empty())
            sql += std::string("Union All") + host::kCrLf;
        sql += billPart(part, line, options);
    }
    if (options.planMode) {
        for (const bool receivingSide : {true, false})
            sql +=
                std::string("Union All") + host::kCrLf + changePart(receivingSide, line, options);
    }
    return sql + " Order By u1.FDate,u1.FBillNo";
}

std::string markBillEntrySQL(long billId, long entryId, long procId, long type)
{
    if (type == kPlanTrackingChangeType)
        return "Update t_MTOChangeEntry Set FSelectedProcID=" + std::to_string(procId) +
               " Where FID = " + std::to_string(billId) +
               " AND FEntryID = " + std::to_string(entryId) + host::kCrLf;
    return "Update ICStockBillEntry Set FSelectedProcID=" + std::to_string(procId) +
           " Where FInterID = " + std::to_string(billId) +
           " AND FEntryID = " + std::to_string(entryId) + host::kCrLf;
}
