#include "backup/backupbatch.h"

#include "backup/sqllines.h"
#include "host/core/datetime.h"
#include "host/core/sqltext.h"

namespace backup {
namespace {

void addInsert(std::string &sql, const SnapshotBatch &b)
{
    if (!b.cutDate)
        addLine(sql, "Truncate Table ICInvBackupTemp");
    addLine(sql, " Insert ICInvBackup");
    addLine(sql, " (FBrNo,FItemID,FBatchNo,FMtoNo,FStockID,FQty,FQtyAct,FCheckQty,FSelect,FAdj,"
                 "FDateBackup,FMaxBillInterID,");
    addLine(sql, " FStockPlaceID,FKFPeriod,FKFDate,FUnitID,FAuxQty,FAuxQtyAct,FAuxCheckQty,");
    addLine(sql, " FInterID,FSecQty,FAdjQty,FAuxPropID,FSecUnitID)");
    sql += b.source;
    if (!b.stock.empty()) {
        addLine(sql, b.filter);
        addLine(sql, " And t1.FStockID in (", b.stock, ")");
    }
    if (b.cycleCount) {
        addLine(sql, "inner join #Temp1 t16 on t1.fitemid=t16.fitemid and "
                     "t1.fstockid=t16.fstockid and t1.fstockplaceid=t16.fstockplaceid");
        addLine(sql, "and t1.fbatchno=t16.fbatchno and t1.fkfperiod=t16.fkfperiod and "
                     "t1.fkfdate=t16.fkfdate and t1.fauxpropid=t16.fauxpropid");
    }
    if (!b.accessWhere.empty())
        addLine(sql, " and ", b.accessWhere);
    addLine(sql, " Group By t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,"
                 "t1.FStockPlaceID,t1.FKFPeriod,");
    if (b.cycleCount)
        addLine(sql, " t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t4.FSecUnitID");
    else
        addLine(sql, " t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient");
    if (b.cutDate)
        addLine(sql, " ,t1.FSelect,t1.FAdj,t1.FDateBackup,t1.FMaxBillInterID,t1.FInterID");
    addLine(sql, " Order By t1.FStockID,t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,"
                 "t1.FAuxPropID");
}

void addLastCheckDates(std::string &sql, const SnapshotBatch &b, const std::string &id)
{
    const std::string date = host::sqlEscape(b.date);
    if (!b.cycleCount) {
        if (b.cutDate)
            addLine(sql, "Update t1 Set FLastCheckDate='", date,
                    "' From t_ICItemMaterial t1 Where Exists (Select 1 From icinvbackuptemp t2 "
                    "Where t1.FItemID=t2.FItemID) And t1.fcheckcycle>0");
        else
            addLine(sql, "update t1 set t1.FLastCheckDate='", date,
                    "' from t_ICItemMaterial t1 inner join icinvbackup t2 on "
                    "t1.FItemID=t2.FItemID And t1.fcheckcycle>0 and t2.FInterID = ",
                    id);
        return;
    }
    if (b.perStock) {
        addLine(sql, "INSERT INTO ", b.itemTable, " SELECT DISTINCT FItemID FROM #temp1");
    } else if (b.stampItems) {
        addLine(sql, "UPDATE t_ICItemMaterial SET t_ICItemMaterial.flastcheckdate='", date, "'");
        addLine(sql, "  FROM t_ICItemMaterial ");
        addLine(sql, " INNER JOIN #temp1 ON t_ICItemMaterial.FItemID = #temp1.FItemID ");
        addLine(sql, " WHERE t_ICItemMaterial.fcheckcycle > 0 ");
    }
}

// A per-stock cycle count gathers the items of every stock in one table, made by the first
// stock's batch and read and dropped by the last one's, whether or not those stocks made lines.
void addItemTableCreation(std::string &sql, const SnapshotBatch &b)
{
    if (!b.cycleCount || !b.perStock || !b.createItemTable)
        return;
    sql += dropItemTableSql(b.itemTable);
    addLine(sql, "CREATE TABLE  ", b.itemTable);
    addLine(sql, "(FItemID INT NOT NULL DEFAULT(0))");
}

void addItemTableStamp(std::string &sql, const SnapshotBatch &b)
{
    if (!b.cycleCount || !b.perStock || !b.stampItems)
        return;
    const std::string &name = b.itemTable;
    addLine(sql, "UPDATE t_ICItemMaterial SET t_ICItemMaterial.flastcheckdate='",
            host::sqlEscape(b.date), "'");
    addLine(sql, "  FROM t_ICItemMaterial ");
    addLine(sql, " INNER JOIN ", name, " ON t_ICItemMaterial.FItemID = ", name, ".FItemID ");
    addLine(sql, " WHERE t_ICItemMaterial.fcheckcycle > 0 ");
    addLine(sql, "DROP TABLE ", name, " ");
}

} // namespace

std::string currentStockSelect(long processId, long maxBillInterID, const std::string &accessFrom)
{
    std::string sql;
    addLine(sql, " Select t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,Sum(t1.FQty),");
    addLine(sql, " Sum(t1.FQty),Sum(t1.FQty),0 as FSelect,0 as FAdj,GetDate() as FDateBackup,",
            std::to_string(maxBillInterID), " as FMaxBillInterID,");
    addLine(sql, " t1.FStockPlaceID,t1.FKFPeriod,t1.FKFDate,");
    addLine(sql, " t4.FStoreUnitID , Sum(t1.FQty / t3.FCoefficient), Sum(t1.FQty / "
                 "t3.FCoefficient),");
    addLine(sql, " Sum(t1.FQty / t3.FCoefficient),");
    addLine(sql, std::to_string(processId),
            " as FInterID,Sum(t1.FSecQty),0 as FAdjQty,t1.FAuxPropID,t4.FSecUnitID");
    addLine(sql, " From ICInventory t1", accessFrom);
    addLine(sql, " inner join t_ICItem t4 on t1.FItemID=t4.FItemID");
    addLine(sql, " inner join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID");
    addLine(sql, " inner join t_StockPlace t5 on t1.FStockPlaceID = t5.FSPID and 1=1");
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
    addLine(sql, "IF EXISTS (SELECT 1 FROM sysobjects WHERE id = OBJECT_ID('",
            host::sqlEscape(name), "') AND ObjectProperty(ID,'IsTable') = 1 )");
    addLine(sql, "DROP TABLE ", name);
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
    addLine(sql, " if exists (select top 1 1 from ICInvBackup where finterid=", id, ") ");
    addLine(sql, "Begin");
    addLine(sql, "insert into ICStockCheckProcess(FID,FProcessID,FDate,FOperatorID,FPrintSettings,"
                 "FStatus,FRemark,FBackupType,FMaxBillInterID,FMaxMTOChangeID)");
    addLine(sql, " values(", id, ",'", host::sqlEscape(b.processNumber), "','",
            host::sqlEscape(b.date), "',");
    addLine(sql, std::to_string(b.operatorId), ",'',0,'',", b.cutDate ? "2" : "1", ",",
            std::to_string(b.maxBillInterID), ",", std::to_string(b.maxMTOChangeID), ")");
    addLine(sql, "update icbillno set fcurno=", id, "+1 from icbillno where fbillid=-1");
    addLastCheckDates(sql, b, id);
    addLine(sql, "");
    addLine(sql,
            "UPDATE ICInvBackup SET FSecQtyAct = FSecQty,FSecCheckQty = FSecQty WHERE "
            "FInterID = ",
            id, " AND FSecQty <> 0");
    addLine(sql, " End");
    addItemTableStamp(sql, b);
    addLine(sql, "truncate table ICInvBackupTemp");
    if (b.cycleCount)
        addLine(sql, "drop table #temp1");
    return sql;
}

} // namespace backup
