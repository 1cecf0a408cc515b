#include "backup/backupbatch.h"

#include "host/core/datetime.h"
#include "host/core/sqltext.h"

namespace backup {
namespace {

void addInsert(std::string &sql, const SnapshotBatch &b)
{
    if (!b.cutDate)
        host::addLine(sql, "Truncate Table ICInvBackupTemp");
    host::addLine(sql, " Insert ICInvBackup");
    host::addLine(sql,
                  " (FBrNo,FItemID,FBatchNo,FMtoNo,FStockID,FQty,FQtyAct,FCheckQty,FSelect,FAdj,"
                  "FDateBackup,FMaxBillInterID,");
    host::addLine(sql, " FStockPlaceID,FKFPeriod,FKFDate,FUnitID,FAuxQty,FAuxQtyAct,FAuxCheckQty,");
    host::addLine(sql, " FInterID,FSecQty,FAdjQty,FAuxPropID,FSecUnitID)");
    sql += b.source;
    if (!b.stock.empty()) {
        host::addLine(sql, b.filter);
        host::addLine(sql, " And t1.FStockID in (", b.stock, ")");
    }
    if (b.cycleCount) {
        host::addLine(sql, "inner join #Temp1 t16 on t1.fitemid=t16.fitemid and "
                           "t1.fstockid=t16.fstockid and t1.fstockplaceid=t16.fstockplaceid");
        host::addLine(sql, "and t1.fbatchno=t16.fbatchno and t1.fkfperiod=t16.fkfperiod and "
                           "t1.fkfdate=t16.fkfdate and t1.fauxpropid=t16.fauxpropid");
    }
    if (!b.accessWhere.empty())
        host::addLine(sql, " and ", b.accessWhere);
    host::addLine(sql, " Group By t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,"
                       "t1.FStockPlaceID,t1.FKFPeriod,");
    if (b.cycleCount)
        host::addLine(sql, " t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t4.FSecUnitID");
    else
        host::addLine(sql,
                      " t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient");
    if (b.cutDate)
        host::addLine(sql, " ,t1.FSelect,t1.FAdj,t1.FDateBackup,t1.FMaxBillInterID,t1.FInterID");
    host::addLine(sql, " Order By t1.FStockID,t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,"
                       "t1.FAuxPropID");
}

void addLastCheckDates(std::string &sql, const SnapshotBatch &b, const std::string &id)
{
    const std::string date = host::sqlEscape(b.date);
    if (!b.cycleCount) {
        if (b.cutDate)
            host::addLine(
                sql, "Update t1 Set FLastCheckDate='", date,
                "' From t_ICItemMaterial t1 Where Exists (Select 1 From icinvbackuptemp t2 "
                "Where t1.FItemID=t2.FItemID) And t1.fcheckcycle>0");
        else
            host::addLine(sql, "update t1 set t1.FLastCheckDate='", date,
                          "' from t_ICItemMaterial t1 inner join icinvbackup t2 on "
                          "t1.FItemID=t2.FItemID And t1.fcheckcycle>0 and t2.FInterID = ",
                          id);
        return;
    }
    if (b.perStock) {
        host::addLine(sql, "INSERT INTO ", b.itemTable, " SELECT DISTINCT FItemID FROM #temp1");
    } else if (b.stampItems) {
        host::addLine(sql, "UPDATE t_ICItemMaterial SET t_ICItemMaterial.flastcheckdate='", date,
                      "'");
        host::addLine(sql, "  FROM t_ICItemMaterial ");
        host::addLine(sql, " INNER JOIN #temp1 ON t_ICItemMaterial.FItemID = #temp1.FItemID ");
        host::addLine(sql, " WHERE t_ICItemMaterial.fcheckcycle > 0 ");
    }
}

// A per-stock cycle count gathers the items of every stock in one table, made by the first
// stock's batch and read and dropped by the last one's, whether or not those stocks made lines.
void addItemTableCreation(std::string &sql, const SnapshotBatch &b)
{
    if (!b.cycleCount || !b.perStock || !b.createItemTable)
        return;
    sql += dropItemTableSql(b.itemTable);
    host::addLine(sql, "CREATE TABLE  ", b.itemTable);
    host::addLine(sql, "(FItemID INT NOT NULL DEFAULT(0))");
}

void addItemTableStamp(std::string &sql, const SnapshotBatch &b)
{
    if (!b.cycleCount || !b.perStock || !b.stampItems)
        return;
    const std::string &name = b.itemTable;
    host::addLine(sql, "UPDATE t_ICItemMaterial SET t_ICItemMaterial.flastcheckdate='",
                  host::sqlEscape(b.date), "'");
    host::addLine(sql, "  FROM t_ICItemMaterial ");
    host::addLine(sql, " INNER JOIN ", name, " ON t_ICItemMaterial.FItemID = ", name, ".FItemID ");
    host::addLine(sql, " WHERE t_ICItemMaterial.fcheckcycle > 0 ");
    host::addLine(sql, "DROP TABLE ", name, " ");
}

} // namespace

std::string currentStockSelect(long processId, long maxBillInterID, const std::string &accessFrom)
{
    std::string sql;
    host::addLine(sql,
                  " Select t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,Sum(t1.FQty),");
    host::addLine(sql,
                  " Sum(t1.FQty),Sum(t1.FQty),0 as FSelect,0 as FAdj,GetDate() as FDateBackup,",
                  std::to_string(maxBillInterID), " as FMaxBillInterID,");
    host::addLine(sql, " t1.FStockPlaceID,t1.FKFPeriod,t1.FKFDate,");
    host::addLine(sql, " t4.FStoreUnitID , Sum(t1.FQty / t3.FCoefficient), Sum(t1.FQty / "
                       "t3.FCoefficient),");
    host::addLine(sql, " Sum(t1.FQty / t3.FCoefficient),");
    host::addLine(sql, std::to_string(processId),
                  " as FInterID,Sum(t1.FSecQty),0 as FAdjQty,t1.FAuxPropID,t4.FSecUnitID");
    host::addLine(sql, " From ICInventory t1", accessFrom);
    host::addLine(sql, " inner join t_ICItem t4 on t1.FItemID=t4.FItemID");
    host::addLine(sql, " inner join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID");
    host::addLine(sql, " inner join t_StockPlace t5 on t1.FStockPlaceID = t5.FSPID and 1=1");
    return sql;
}

std::string itemTableName(long processId, double when)
{
    return "t_StockCheckTemp" + std::to_string(processId) +
           host::formatDate(when, "YYYYMMDDHHNNSS");
}

std::string dropItemTableSql(const std::string &name)
{
    std::string sql;
    host::addLine(sql, "IF EXISTS (SELECT 1 FROM sysobjects WHERE id = OBJECT_ID('",
                  host::sqlEscape(name), "') AND ObjectProperty(ID,'IsTable') = 1 )");
    host::addLine(sql, "DROP TABLE ", name);
    return sql;
}

std::string snapshotBatchSql(const SnapshotBatch &b)
{
    const std::string id = std::to_string(b.processId);
    std::string sql;
    if (b.cycleCount)
        sql += b.cycleSelection;
    addItemTableCreation(sql, b);
    addInsert(sql, b);
    host::addLine(sql, " if exists (select top 1 1 from ICInvBackup where finterid=", id, ") ");
    host::addLine(sql, "Begin");
    host::addLine(sql,
                  "insert into ICStockCheckProcess(FID,FProcessID,FDate,FOperatorID,FPrintSettings,"
                  "FStatus,FRemark,FBackupType,FMaxBillInterID,FMaxMTOChangeID)");
    host::addLine(sql, " values(", id, ",'", host::sqlEscape(b.processNumber), "','",
                  host::sqlEscape(b.date), "',");
    host::addLine(sql, std::to_string(b.operatorId), ",'',0,'',", b.cutDate ? "2" : "1", ",",
                  std::to_string(b.maxBillInterID), ",", std::to_string(b.maxMTOChangeID), ")");
    host::addLine(sql, "update icbillno set fcurno=", id, "+1 from icbillno where fbillid=-1");
    addLastCheckDates(sql, b, id);
    host::addLine(sql, "");
    host::addLine(sql,
                  "UPDATE ICInvBackup SET FSecQtyAct = FSecQty,FSecCheckQty = FSecQty WHERE "
                  "FInterID = ",
                  id, " AND FSecQty <> 0");
    host::addLine(sql, " End");
    addItemTableStamp(sql, b);
    host::addLine(sql, "truncate table ICInvBackupTemp");
    if (b.cycleCount)
        host::addLine(sql, "drop table #temp1");
    return sql;
}

} // namespace backup
