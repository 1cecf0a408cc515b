#include "hostschema.h"

#include <stdexcept>

namespace testdb {

void createHostTables(host::AppConnection &db)
{
    db.Execute(R"(
CREATE TABLE t_SystemProfile (FCategory varchar(30) NOT NULL, FKey varchar(50) NOT NULL,
  FValue varchar(255) NULL, FReadonly bit NOT NULL DEFAULT(0), FDescription varchar(255) NULL,
  FLevel varchar(10) NULL, FExplanation varchar(255) NULL, FFormat varchar(255) NULL,
  FSort int NULL, FDescription_cht varchar(255) NULL, FDescription_en varchar(255) NULL)
CREATE TABLE t_PeriodDate (FYear int NOT NULL, FPeriod int NOT NULL, FStartDate datetime NOT NULL,
  FEndDate datetime NOT NULL)
CREATE TABLE ICStockCheckProcess (FID int NOT NULL PRIMARY KEY, FProcessID varchar(50) NOT NULL,
  FDate datetime NULL, FOperatorID int NOT NULL DEFAULT(0), FPrintSettings varchar(255) NULL,
  FStatus int NOT NULL DEFAULT(0), FRemark varchar(255) NULL, FBackupType int NOT NULL DEFAULT(0),
  FMaxBillInterID int NULL, FMaxMTOChangeID int NULL)
CREATE TABLE ICInvBackup (FInterID int not null, FBrNo varchar(10) not null, FItemID int not null,
  FAuxPropID int not null, FUnitID int not null, FBatchNo varchar(200) not null,
  FMtoNo varchar(300) not null, FStockID int not null, FQty decimal(28,10), FSelect bit not null,
  FAdj bit not null, FAdjQty decimal(28,10) not null, FDateBackup datetime, FMaxBillInterID int,
  FCheckQty decimal(28,10), FQtyAct decimal(28,10), FAuxCheckQty decimal(28,10),
  FAuxQtyAct decimal(28,10), FAuxQty decimal(28,10), FMinus decimal(28,10), FNote varchar(255),
  FStockPlaceID int not null, FKFDate varchar(20) not null DEFAULT(0),
  FKFPeriod int not null DEFAULT(0), FSecUnitID int not null DEFAULT(0),
  FSecQty decimal(28,10) not null DEFAULT(0), FSecQtyAct decimal(28,10) not null DEFAULT(0),
  FSecCheckQty decimal(28,10) not null DEFAULT(0), FSecAdjQty decimal(28,10) not null DEFAULT(0),
  FSecMinus decimal(28,10) not null DEFAULT(0), FChecker int, FBal decimal(28,10) NULL,
  FBillInterID int NULL)
CREATE INDEX IX_ICInvBackup_Inter ON ICInvBackup (FInterID, FItemID)
CREATE TABLE ICInvBackupTemp (FBrNo varchar(10) NOT NULL DEFAULT(''), FItemID int, FStockID int,
  FBatchNo varchar(200), FMtoNo varchar(300), FStockPlaceID int, FKFDate varchar(20),
  FKFPeriod int, FQty decimal(28,10), FQytLock decimal(28,10), FQtyAct decimal(28,10),
  FCheckQty decimal(28,10), FSelect bit, FAdj bit, FDateBackup datetime, FMaxBillInterID int,
  FAuxQty decimal(28,10), FAuxQtyAct decimal(28,10), FAuxCheckQty decimal(28,10), FInterID int,
  FSecQty decimal(28,10), FAdjQty decimal(28,10), FAuxPropID int)
CREATE TABLE icbillno (FBillID int NOT NULL, FCurNo int NOT NULL)
CREATE TABLE ICInventory (FBrNo varchar(10) NOT NULL DEFAULT('0'), FItemID int NOT NULL,
  FBatchNo varchar(200) NOT NULL DEFAULT(''), FMtoNo varchar(300) NOT NULL DEFAULT(''),
  FStockID int NOT NULL, FStockPlaceID int NOT NULL DEFAULT(0), FKFPeriod int NOT NULL DEFAULT(0),
  FKFDate varchar(20) NOT NULL DEFAULT(''), FAuxPropID int NOT NULL DEFAULT(0),
  FQty decimal(28,10) NOT NULL DEFAULT(0), FSecQty decimal(28,10) NOT NULL DEFAULT(0))
CREATE TABLE t_ICItem (FItemID int NOT NULL PRIMARY KEY, FNumber varchar(80), FShortNumber varchar(80),
  FName varchar(255), FModel varchar(255), FHelpCode varchar(80) NULL, FUnitID int,
  FStoreUnitID int, FSecUnitID int DEFAULT(0), FCUUnitID int, FQtyDecimal smallint DEFAULT(2),
  FPriceDecimal smallint DEFAULT(2), FSecUnitDecimal smallint DEFAULT(2),
  FDeleted smallint DEFAULT(0), FCheckCycUnit int DEFAULT(0), FCheckCycle int DEFAULT(0),
  FLastCheckDate datetime NULL, FDaysPer int DEFAULT(0), FIsKFPeriod bit DEFAULT(0),
  FBatchManager bit DEFAULT(0), FISSNManage bit DEFAULT(0), FSerialClassID int NULL,
  FAuxClassID int DEFAULT(0), FErpClsID int DEFAULT(1))
CREATE TABLE t_ICItemMaterial (FItemID int NOT NULL, FCheckCycle int DEFAULT(0),
  FLastCheckDate datetime NULL)
CREATE TABLE t_ICItemBase (FItemID int NOT NULL, FQtyDecimal smallint NOT NULL DEFAULT(2))
CREATE TABLE t_MeasureUnit (FMeasureUnitID int NOT NULL, FItemID int NOT NULL,
  FUnitGroupID int DEFAULT(0), FNumber varchar(30), FShortNumber varchar(30), FName varchar(80),
  FCoefficient decimal(28,10) DEFAULT(1))
CREATE TABLE t_Stock (FItemID int NOT NULL, FNumber varchar(80), FShortNumber varchar(80),
  FName varchar(255), FIsStockMgr bit DEFAULT(0), FSPGroupID int DEFAULT(0),
  FTypeID int DEFAULT(500), FDeleted smallint DEFAULT(0))
CREATE TABLE t_StockPlace (FSPID int NOT NULL, FSPGroupID int DEFAULT(0), FNumber varchar(80),
  FShortNumber varchar(80), FName varchar(255))
CREATE TABLE t_AuxItem (FItemID int NOT NULL, FItemClassID int, FNumber varchar(80),
  FName varchar(255))
CREATE TABLE ICStockBill (FInterID int NOT NULL, FBillNo varchar(50), FTranType int,
  FDate datetime, FCheckerID int NULL, FUpStockWhenSave bit DEFAULT(0),
  FCancellation bit DEFAULT(0), FROB int DEFAULT(1), FProcID int DEFAULT(0))
CREATE TABLE ICStockBillEntry (FInterID int NOT NULL, FEntryID int NOT NULL, FItemID int,
  FDCStockID int NULL, FSCStockID int NULL, FDCSPID int NULL, FSCSPID int NULL,
  FBatchNo varchar(200) DEFAULT(''), FMtoNo varchar(300) DEFAULT(''), FKFDate datetime NULL,
  FKFPeriod int DEFAULT(0), FAuxPropID int DEFAULT(0), FUnitID int, FQty decimal(28,10),
  FSecQty decimal(28,10) DEFAULT(0), FSelectedProcID int NULL)
CREATE TABLE t_MTOChange (FID int NOT NULL, FBillNo varchar(50), FClassTypeID int, FDate datetime,
  FCheckerID int NULL, FUpStockWhenSave bit DEFAULT(0))
CREATE TABLE t_MTOChangeEntry (FID int NOT NULL, FEntryID int, FItemID int, FStockID int,
  FSPID int, FBatchNo varchar(200) DEFAULT(''), FFromMtoNo varchar(300), FToMtoNo varchar(300),
  FKFDate datetime NULL, FKFPeriod int DEFAULT(0), FAuxPropID int DEFAULT(0), FUnitID int,
  FChangeBaseQty decimal(28,10), FChangeSecQty decimal(28,10) DEFAULT(0),
  FSelectedProcID int NULL)
CREATE TABLE IC_MaxNum (FTableName varchar(50), FNumber int, FUserID int, FFlag int DEFAULT(0))
CREATE TABLE t_user (FUserID int NOT NULL, FName varchar(80))
CREATE TABLE ICTransactionType (FID int NOT NULL, FName varchar(80), FName_CHT varchar(80),
  FName_EN varchar(80))
CREATE TABLE ICClassType (FID int NOT NULL, FName_CHS varchar(80), FName_CHT varchar(80),
  FName_EN varchar(80))
CREATE TABLE ICInvBal (FYear int, FPeriod int, FItemID int, FStockID int,
  FBatchNo varchar(200) DEFAULT(''), FMtoNo varchar(300) DEFAULT(''), FStockPlaceID int DEFAULT(0),
  FKFDate datetime NULL, FKFPeriod int DEFAULT(0), FAuxPropID int DEFAULT(0),
  FBegQty decimal(28,10), FSecBegQty decimal(28,10) DEFAULT(0), FStockInDate datetime NULL)
CREATE TABLE ICChatBillTitle (FInterID int NOT NULL, FTypeID int NOT NULL, FColCaption varchar(80),
  FColCaption_CHT varchar(80), FColCaption_EN varchar(80), FHeadSecond varchar(80),
  FColName varchar(50), FTableName varchar(50), FColType int DEFAULT(1), FColWidth int DEFAULT(80),
  FVisible bit DEFAULT(1), FItemClassID int DEFAULT(0), FVisForQuest int DEFAULT(0),
  FReturnDataType int DEFAULT(0), FCountPriceType int DEFAULT(0), FCtlIndex int DEFAULT(0),
  FName varchar(80), FTableAlias varchar(20), FAction int DEFAULT(0), FNeedCount bit DEFAULT(0),
  FIsPrimary bit DEFAULT(0), FLogicAction int DEFAULT(0), FStatistical bit DEFAULT(0),
  FMergeable bit DEFAULT(0), FVisForOrder int DEFAULT(0), FControl int DEFAULT(0),
  FMode int DEFAULT(0))
)");
}

std::string crlf(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

host::Variant scalar(host::AppConnection &db, std::string_view sql)
{
    auto rs = db.Execute(sql);
    if (rs->State() == 0 || rs->EOF())
        throw std::runtime_error("no row from: " + std::string(sql));
    return rs->Fields(0L).Value();
}

} // namespace testdb
