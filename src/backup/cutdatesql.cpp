#include "backup/cutdatesql.h"

#include "host/core/sqltext.h"

#include <string_view>

namespace backup {
namespace {

// One movement total over bill or plan-tracking-change entries (alias t1, head t2).
struct Movement
{
    std::string_view stockColumn;
    std::string_view placeColumn;
    std::string_view mtoColumn;
    std::string quantity; // over the source rows, signed
    std::string secQuantity;
    std::string_view from; // source with its head join
    std::string condition; // type and date condition on the head join
};

void addTempInsertHead(std::string &sql, bool first)
{
    host::addLine(sql, first ? "Insert Into ICInvBackupTemp" : " Insert Into ICInvBackupTemp");
    host::addLine(sql,
                  "(FBrNo,FItemID,FStockID,FBatchNo,FMtoNo,FStockPlaceID,FKFDate,FKFPeriod,FQty "
                  ",FQytLock,");
    host::addLine(sql,
                  "FQtyAct,FCheckQty,FSelect,FAdj,FDateBackup,FMaxBillInterID,FAuxQty,FAuxQtyAct,");
    host::addLine(sql, "FAuxCheckQty,FInterID,FSecQty,FAdjQty,FAuxPropID)");
}

// The columns after the shelf-life period, the same for every insert: quantity, the lock, the
// counted and actual quantities, flags, snapshot date and maximum, the counting unit, process.
void addQuantities(std::string &sql, const CutDateBalance &b, const std::string &qty,
                   const std::string &counting, const std::string &secQty)
{
    host::addLine(sql, qty, ",0,", qty, ",", qty, ",0,0,'", b.cutDate, "',",
                  std::to_string(b.maxBillInterID), ",", counting, ",", counting, ",");
    host::addLine(sql, counting, ",'", std::to_string(b.processId), "',", secQty, ",0,");
}

void addOpeningBalance(std::string &sql, const CutDateBalance &b)
{
    addTempInsertHead(sql, true);
    host::addLine(sql, " Select 0,t9.FItemID,t9.FStockID,t9.FBatchNo,t9.FMtoNo,t9.FStockPlaceID,");
    host::addLine(sql, "case when t9.FKFDate is null");
    host::addLine(sql,
                  " then '' else convert(varchar(10),t9.FKFDate,120) End,ISNULL(t9.FKFPeriod,''),");
    addQuantities(sql, b, "Sum(t9.FBegQty)", "Sum(t9.FBegQty/t3.FCoefficient)",
                  "Sum(t9.FSecBegQty)");
    host::addLine(sql, "t9.FAuxPropID");
    host::addLine(sql, " FROM ICInvBal t9 inner join t_ICItem t4 on t9.fitemid = t4.fitemid");
    host::addLine(sql, " left join t_stockplace t5 on t9.fstockplaceid = t5.fspid");
    host::addLine(sql,
                  " left join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID WHERE FPeriod=",
                  std::to_string(b.basePeriod), " And FYear='", std::to_string(b.baseYear), "'");
    host::addLine(sql, b.filter);
    host::addLine(sql, " and t9.fstockid in (", b.stock, ")");
    host::addLine(sql, " and datediff(dd,'", b.cutDate, "',t9.FStockInDate)<=0");
    host::addLine(sql, " Group By t9.FItemID,t9.FStockID,t9.FBatchNo,t9.FMtoNo,t9.FStockPlaceID,"
                       "t9.FKFDate,t9.FKFPeriod,t9.FAuxPropID");
    host::addLine(sql, " Having Sum(t9.FBegQty) <> 0");
}

void addMovement(std::string &sql, const CutDateBalance &b, const Movement &m)
{
    const std::string stock = "t1." + std::string(m.stockColumn);
    const std::string place = "t1." + std::string(m.placeColumn);
    const std::string mto = "t1." + std::string(m.mtoColumn);
    addTempInsertHead(sql, false);
    host::addLine(sql, " Select 0,t1.FItemID,", stock, ",IsNull(t1.FBatchNO,''),ISNULL(", mto,
                  ",''),ISNULL(", place, ",''),");
    host::addLine(sql,
                  "case when FKFDate is null then  '' else convert(varchar(10),FKFDate,120) end,"
                  "ISNULL(t1.FKFPeriod,''),");
    addQuantities(sql, b, m.quantity, m.quantity + "/t6.FCoefficient", m.secQuantity);
    host::addLine(sql, "t1.FAuxPropID");
    sql += m.from;
    host::addLine(sql, m.condition);
    host::addLine(sql, " inner join t_ICItem t4 on t1.fitemid=t4.fitemid ");
    host::addLine(sql, " inner join t_stockplace t5 on isnull(", place, ",0)=t5.fspid ");
    host::addLine(sql, " inner join t_measureunit t6 on t1.funitid=t6.fmeasureunitid ");
    host::addLine(sql, b.filter);
    host::addLine(sql, " and ", stock, " in (", b.stock, ")");
    host::addLine(sql, " Group By t1.FItemID,", stock, ",t1.FBatchNo,", mto, ",", place,
                  ",t1.FKFDate,t1.FKFPeriod,t1.FAuxPropID,t6.fcoefficient");
}

} // namespace

std::string periodLookupSql(const std::string &cutDate, long curYear, long curPeriod)
{
    return "select FYear,FPeriod,convert(DATETIME,FStartDate) as FStartDate,convert(DATETIME,"
           "FEndDate) as FEndDate from t_PeriodDate where ('" +
           cutDate + "'>= FStartDate and '" + cutDate +
           "'<= FEndDate) or (FYear =" + std::to_string(curYear) +
           " and FPeriod = " + std::to_string(curPeriod) + ")";
}

std::string cutDateFillSql(const CutDateBalance &b)
{
    constexpr std::string_view bills = " FROM ICStockBillEntry t1 inner Join ICStockBill t2\r\n"
                                       " on t1.FInterID=t2.FInterID And (t2.FCheckerID>0 or "
                                       "t2.FCheckerID <0 or FUpStockWhenSave=1)\r\n";
    constexpr std::string_view changes = " FROM t_MTOChangeEntry t1 INNER JOIN t_MTOChange t2\r\n"
                                         " on t1.FID=t2.FID And (t2.FCheckerID>0 or "
                                         "t2.FCheckerID <0 or FUpStockWhenSave=1)\r\n";
    const std::string inPeriod = " And datediff(dd,'" + b.cutDate +
                                 "',t2.fdate)<=0 and datediff(dd,t2.fdate,'" + b.startDate +
                                 "')<=0";
    const std::string notCancelled = " And t2.FCancelLation=0";

    std::string sql;
    host::addLine(sql, "Truncate Table ICInvBackupTemp");
    addOpeningBalance(sql, b);
    addMovement(sql, b,
                {"FDCStockID", "FDCSPID", "FMtoNo",
                 "Sum(case when t2.FTranType In (1,2,5,10,40,41) then t1.FQty else -t1.FQty end)",
                 "Sum(case when t2.FTranType In (1,2,5,10,40,41) then t1.FSecQty else "
                 "-t1.FSecQty end)",
                 bills,
                 notCancelled +
                     " And t2.FTranType In (1,2,5,10,40,41,21,28,29,43) And "
                     "t2.FDate>='" +
                     b.startDate + "' And t2.FDate<='" + b.cutDate + "'"});
    addMovement(sql, b,
                {"FSCStockID", "FDCSPID", "FMtoNo", "Sum(-t1.FQty)", "Sum(-t1.FSecQty)", bills,
                 notCancelled + " And t2.FTranType = 24" + inPeriod});
    addMovement(sql, b,
                {"FSCStockID", "FSCSPID", "FMtoNo", "Sum(-t1.FQty)", "Sum(-t1.FSecQty)", bills,
                 notCancelled + " And t2.FTranType = 41" + inPeriod});
    const std::string changeCondition = " And t2.FClassTypeID = 1107011" + inPeriod;
    addMovement(sql, b,
                {"FStockID", "FSPID", "FToMtoNo", "Sum(t1.FChangeBaseQty)", "Sum(t1.FChangeSecQty)",
                 changes, changeCondition});
    addMovement(sql, b,
                {"FStockID", "FSPID", "FFromMtoNo", "Sum(-t1.FChangeBaseQty)",
                 "Sum(-t1.FChangeSecQty)", changes, changeCondition});
    return sql;
}

std::string cutDateSelectSql(const std::string &accessFrom)
{
    std::string sql;
    host::addLine(sql,
                  "Select t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,Sum(t1.FQty),");
    host::addLine(sql, " Sum(t1.FQty),Sum(t1.FQty),t1.FSelect,t1.FAdj,t1.FDateBackup,"
                       "t1.FMaxBillInterID,");
    host::addLine(sql, " t1.FStockPlaceID,t1.FKFPeriod,t1.FKFDate,");
    host::addLine(sql, " t4.FStoreUnitID , Sum(t1.FQty)/t3.FCoefficient, "
                       "Sum(t1.FQtyAct)/t3.FCoefficient,Sum(t1.FCheckQty)/t3.FCoefficient,");
    host::addLine(sql, " t1.FInterID,Sum(t1.FSecQty),Sum(t1.FAdjQty),t1.FAuxPropID,t4.FSecUnitID");
    host::addLine(sql, " From ICInvBackupTemp t1 ", accessFrom);
    host::addLine(sql, " inner join t_ICItem t4 on t1.FItemID=t4.FItemID");
    host::addLine(sql, " inner join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID");
    host::addLine(sql, " inner join t_StockPlace t5 on t1.FStockPlaceID = t5.FSPID where 1=1");
    return sql;
}

} // namespace backup
