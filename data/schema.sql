-- The host database: every host table the stock-count module reads or writes, in SQL Server's
-- dialect. Statements end with ";" at the end of a line; init-db sends them one by one.

-- Count processes and count lines ------------------------------------------------------------

CREATE TABLE ICStockCheckProcess (
    FID int NOT NULL,
    FProcessID varchar(50) NOT NULL DEFAULT(''),
    FDate datetime NULL,
    FOperatorID int NOT NULL DEFAULT(0),
    FPrintSettings varchar(255) NULL DEFAULT(''),
    FStatus int NOT NULL DEFAULT(0),
    FRemark varchar(255) NULL DEFAULT(''),
    FBackupType int NOT NULL DEFAULT(0),
    FMaxBillInterID int NULL DEFAULT(0),
    FMaxMTOChangeID int NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_ICStockCheckProcess_FID ON ICStockCheckProcess (FID);
CREATE INDEX IX_ICStockCheckProcess_FProcessID ON ICStockCheckProcess (FProcessID);

CREATE TABLE ICInvBackup (
    FInterID int NOT NULL,
    FBrNo varchar(10) NOT NULL DEFAULT('0'),
    FItemID int NOT NULL,
    FAuxPropID int NOT NULL DEFAULT(0),
    FUnitID int NOT NULL,
    FBatchNo varchar(200) NOT NULL DEFAULT(''),
    FMtoNo varchar(300) NOT NULL DEFAULT(''),
    FStockID int NOT NULL,
    FQty decimal(28,10) NULL,
    FSelect bit NOT NULL DEFAULT(0),
    FAdj bit NOT NULL DEFAULT(0),
    FAdjQty decimal(28,10) NOT NULL DEFAULT(0),
    FDateBackup datetime NULL,
    FMaxBillInterID int NULL,
    FCheckQty decimal(28,10) NULL,
    FQtyAct decimal(28,10) NULL,
    FAuxCheckQty decimal(28,10) NULL,
    FAuxQtyAct decimal(28,10) NULL,
    FAuxQty decimal(28,10) NULL,
    FMinus decimal(28,10) NULL,
    FNote varchar(255) NULL,
    FStockPlaceID int NOT NULL DEFAULT(0),
    FKFDate varchar(20) NOT NULL DEFAULT(0),
    FKFPeriod int NOT NULL DEFAULT(0),
    FSecUnitID int NOT NULL DEFAULT(0),
    FSecQty decimal(28,10) NOT NULL DEFAULT(0),
    FSecQtyAct decimal(28,10) NOT NULL DEFAULT(0),
    FSecCheckQty decimal(28,10) NOT NULL DEFAULT(0),
    FSecAdjQty decimal(28,10) NOT NULL DEFAULT(0),
    FSecMinus decimal(28,10) NOT NULL DEFAULT(0),
    FChecker int NULL,
    FBal decimal(28,10) NULL,
    FBillInterID int NULL
);
-- The count-line key: every writer finds its line by these ten columns. The date comes last: the
-- save finds it as a date in whatever form it is written, which a seek on the text cannot do, so
-- the nine before it find the line.
CREATE INDEX IX_ICInvBackup_Key ON ICInvBackup (FInterID, FItemID, FAuxPropID, FUnitID, FBatchNo,
    FMtoNo, FKFPeriod, FStockID, FStockPlaceID, FKFDate);
CREATE INDEX IX_ICInvBackup_FStockID ON ICInvBackup (FStockID);

-- Work table of the backup at a cut-off date: one row per opening balance or movement total.
CREATE TABLE ICInvBackupTemp (
    FInterID int NULL,
    FBrNo varchar(10) NULL DEFAULT('0'),
    FItemID int NOT NULL,
    FAuxPropID int NOT NULL DEFAULT(0),
    FBatchNo varchar(200) NOT NULL DEFAULT(''),
    FMtoNo varchar(300) NOT NULL DEFAULT(''),
    FStockID int NOT NULL,
    FStockPlaceID int NOT NULL DEFAULT(0),
    FKFDate varchar(20) NOT NULL DEFAULT(''),
    FKFPeriod int NOT NULL DEFAULT(0),
    FQty decimal(28,10) NULL,
    FQytLock decimal(28,10) NULL DEFAULT(0),
    FQtyAct decimal(28,10) NULL,
    FCheckQty decimal(28,10) NULL,
    FSelect bit NOT NULL DEFAULT(0),
    FAdj bit NOT NULL DEFAULT(0),
    FAdjQty decimal(28,10) NOT NULL DEFAULT(0),
    FDateBackup datetime NULL,
    FMaxBillInterID int NULL,
    FAuxQty decimal(28,10) NULL,
    FAuxQtyAct decimal(28,10) NULL,
    FAuxCheckQty decimal(28,10) NULL,
    FSecQty decimal(28,10) NOT NULL DEFAULT(0)
);
-- The last-check stamp of a cut-off backup looks its items up here.
CREATE INDEX IX_ICInvBackupTemp_FItemID ON ICInvBackupTemp (FItemID);

-- Numbering ----------------------------------------------------------------------------------

-- The row FBillID = -1 holds the daily counter of count-process numbers.
CREATE TABLE icbillno (
    FBillID int NOT NULL,
    FBillName varchar(80) NULL DEFAULT(''),
    FCurNo int NOT NULL DEFAULT(1)
);
CREATE UNIQUE INDEX IX_icbillno_FBillID ON icbillno (FBillID);

-- Internal ids reserved by users while they edit a bill.
CREATE TABLE IC_MaxNum (
    FUserID int NOT NULL,
    FTableName varchar(50) NOT NULL,
    FNumber int NOT NULL,
    FFlag int NOT NULL DEFAULT(0)
);
CREATE INDEX IX_IC_MaxNum_FTableName ON IC_MaxNum (FTableName, FNumber);

-- Stock and its movements --------------------------------------------------------------------

CREATE TABLE ICInventory (
    FBrNo varchar(10) NOT NULL DEFAULT('0'),
    FItemID int NOT NULL,
    FStockID int NOT NULL,
    FStockPlaceID int NOT NULL DEFAULT(0),
    FBatchNo varchar(200) NOT NULL DEFAULT(''),
    FMtoNo varchar(300) NOT NULL DEFAULT(''),
    FAuxPropID int NOT NULL DEFAULT(0),
    FKFDate varchar(20) NOT NULL DEFAULT(''),
    FKFPeriod int NOT NULL DEFAULT(0),
    FQty decimal(28,10) NOT NULL DEFAULT(0),
    FSecQty decimal(28,10) NOT NULL DEFAULT(0)
);
CREATE INDEX IX_ICInventory_FStockID ON ICInventory (FStockID, FItemID);
CREATE INDEX IX_ICInventory_FItemID ON ICInventory (FItemID);

-- Opening balances per accounting period; FKFDate is a date here, unlike the book stock's text.
CREATE TABLE ICInvBal (
    FBrNo varchar(10) NOT NULL DEFAULT('0'),
    FYear int NOT NULL,
    FPeriod int NOT NULL,
    FItemID int NOT NULL,
    FStockID int NOT NULL,
    FStockPlaceID int NULL DEFAULT(0),
    FBatchNo varchar(200) NOT NULL DEFAULT(''),
    FMtoNo varchar(300) NOT NULL DEFAULT(''),
    FAuxPropID int NOT NULL DEFAULT(0),
    FKFDate datetime NULL,
    FKFPeriod int NULL DEFAULT(0),
    FBegQty decimal(28,10) NOT NULL DEFAULT(0),
    FSecBegQty decimal(28,10) NOT NULL DEFAULT(0),
    FStockInDate datetime NULL
);
CREATE INDEX IX_ICInvBal_Period ON ICInvBal (FYear, FPeriod, FStockID, FItemID);

CREATE TABLE ICStockBill (
    FBrNo varchar(10) NOT NULL DEFAULT('0'),
    FInterID int NOT NULL,
    FBillNo varchar(50) NOT NULL,
    FTranType int NOT NULL,
    FDate datetime NOT NULL,
    FROB int NOT NULL DEFAULT(1),
    FBillerID int NULL,
    FCheckerID int NULL,
    FUpStockWhenSave bit NOT NULL DEFAULT(0),
    FCancellation bit NOT NULL DEFAULT(0),
    FProcID int NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_ICStockBill_FInterID ON ICStockBill (FInterID);
CREATE INDEX IX_ICStockBill_FDate ON ICStockBill (FDate);
CREATE INDEX IX_ICStockBill_FProcID ON ICStockBill (FProcID);

-- A bill line names the receiving side (FDCStockID, FDCSPID) and the sending side (FSCStockID,
-- FSCSPID) as its transaction type needs them.
CREATE TABLE ICStockBillEntry (
    FBrNo varchar(10) NOT NULL DEFAULT('0'),
    FInterID int NOT NULL,
    FEntryID int NOT NULL,
    FItemID int NOT NULL,
    FAuxPropID int NOT NULL DEFAULT(0),
    FBatchNo varchar(200) NOT NULL DEFAULT(''),
    FMtoNo varchar(300) NOT NULL DEFAULT(''),
    FUnitID int NOT NULL,
    FQty decimal(28,10) NOT NULL DEFAULT(0),
    FSecQty decimal(28,10) NOT NULL DEFAULT(0),
    FDCStockID int NULL,
    FDCSPID int NULL,
    FSCStockID int NULL,
    FSCSPID int NULL,
    FKFDate datetime NULL,
    FKFPeriod int NOT NULL DEFAULT(0),
    FSelectedProcID int NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_ICStockBillEntry_Key ON ICStockBillEntry (FInterID, FEntryID);
CREATE INDEX IX_ICStockBillEntry_DCStock ON ICStockBillEntry (FItemID, FDCStockID);
CREATE INDEX IX_ICStockBillEntry_SCStock ON ICStockBillEntry (FItemID, FSCStockID);
CREATE INDEX IX_ICStockBillEntry_Selected ON ICStockBillEntry (FSelectedProcID);

-- Plan-tracking number changes move stock from FFromMtoNo to FToMtoNo in one place.
CREATE TABLE t_MTOChange (
    FID int NOT NULL,
    FBillNo varchar(50) NOT NULL,
    FClassTypeID int NOT NULL,
    FDate datetime NOT NULL,
    FBillerID int NULL,
    FCheckerID int NULL,
    FUpStockWhenSave bit NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_MTOChange_FID ON t_MTOChange (FID);
CREATE INDEX IX_t_MTOChange_FDate ON t_MTOChange (FDate);

CREATE TABLE t_MTOChangeEntry (
    FID int NOT NULL,
    FEntryID int NOT NULL,
    FItemID int NOT NULL,
    FAuxPropID int NOT NULL DEFAULT(0),
    FStockID int NOT NULL,
    FSPID int NOT NULL DEFAULT(0),
    FBatchNo varchar(200) NOT NULL DEFAULT(''),
    FFromMtoNo varchar(300) NOT NULL DEFAULT(''),
    FToMtoNo varchar(300) NOT NULL DEFAULT(''),
    FKFDate datetime NULL,
    FKFPeriod int NOT NULL DEFAULT(0),
    FUnitID int NOT NULL,
    FChangeBaseQty decimal(28,10) NOT NULL DEFAULT(0),
    FChangeSecQty decimal(28,10) NOT NULL DEFAULT(0),
    FSelectedProcID int NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_MTOChangeEntry_Key ON t_MTOChangeEntry (FID, FEntryID);
CREATE INDEX IX_t_MTOChangeEntry_Stock ON t_MTOChangeEntry (FItemID, FStockID);

CREATE TABLE ICTransactionType (
    FID int NOT NULL,
    FName varchar(80) NOT NULL,
    FName_CHT varchar(80) NULL,
    FName_EN varchar(80) NULL
);
CREATE UNIQUE INDEX IX_ICTransactionType_FID ON ICTransactionType (FID);

CREATE TABLE ICClassType (
    FID int NOT NULL,
    FName varchar(80) NOT NULL,
    FName_CHS varchar(80) NULL,
    FName_CHT varchar(80) NULL,
    FName_EN varchar(80) NULL
);
CREATE UNIQUE INDEX IX_ICClassType_FID ON ICClassType (FID);

-- Base data ----------------------------------------------------------------------------------

-- Every base-data record of every class, keyed by one id space.
CREATE TABLE t_item (
    FItemID int NOT NULL,
    FItemClassID int NOT NULL,
    FNumber varchar(80) NOT NULL,
    FShortNumber varchar(80) NULL,
    FName varchar(255) NOT NULL,
    FFullName varchar(255) NULL,
    FParentID int NOT NULL DEFAULT(0),
    FDetail bit NOT NULL DEFAULT(1),
    FDeleted smallint NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_item_FItemID ON t_item (FItemID);
CREATE INDEX IX_t_item_Class ON t_item (FItemClassID, FNumber);

CREATE TABLE t_UnitGroup (
    FUnitGroupID int NOT NULL,
    FNumber varchar(80) NOT NULL,
    FName varchar(80) NOT NULL,
    FDefaultUnitID int NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_UnitGroup_FUnitGroupID ON t_UnitGroup (FUnitGroupID);

-- FItemID and FMeasureUnitID hold the same id: statements join on either. FConversation 1 marks a
-- unit that the unit lookups offer.
CREATE TABLE t_MeasureUnit (
    FMeasureUnitID int NOT NULL,
    FItemID int NOT NULL,
    FUnitGroupID int NOT NULL,
    FNumber varchar(80) NOT NULL,
    FShortNumber varchar(80) NULL,
    FName varchar(80) NOT NULL,
    FCoefficient decimal(28,10) NOT NULL DEFAULT(1),
    FStandard bit NOT NULL DEFAULT(0),
    FConversation bit NOT NULL DEFAULT(1),
    FDeleted smallint NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_MeasureUnit_FMeasureUnitID ON t_MeasureUnit (FMeasureUnitID);
CREATE UNIQUE INDEX IX_t_MeasureUnit_FItemID ON t_MeasureUnit (FItemID);

-- FTypeID 500 is an ordinary stock; 20291 and 20293 are the other kinds the lookups accept.
CREATE TABLE t_Stock (
    FItemID int NOT NULL,
    FNumber varchar(80) NOT NULL,
    FShortNumber varchar(80) NULL,
    FName varchar(255) NOT NULL,
    FTypeID int NOT NULL DEFAULT(500),
    FIsStockMgr bit NOT NULL DEFAULT(0),
    FSPGroupID int NOT NULL DEFAULT(0),
    FDeleted smallint NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_Stock_FItemID ON t_Stock (FItemID);
CREATE INDEX IX_t_Stock_FNumber ON t_Stock (FNumber);

CREATE TABLE t_SPGroup (
    FSPGroupID int NOT NULL,
    FNumber varchar(80) NOT NULL,
    FName varchar(255) NOT NULL
);
CREATE UNIQUE INDEX IX_t_SPGroup_FSPGroupID ON t_SPGroup (FSPGroupID);

-- The row FSPID = 0 stands for "no stock place"; the backup joins every stock row to a place.
CREATE TABLE t_StockPlace (
    FSPID int NOT NULL,
    FSPGroupID int NOT NULL DEFAULT(0),
    FNumber varchar(80) NOT NULL,
    FShortNumber varchar(80) NULL,
    FName varchar(255) NOT NULL,
    FFullName varchar(255) NULL,
    FParentID int NOT NULL DEFAULT(0),
    FDetail bit NOT NULL DEFAULT(1),
    FDeleted smallint NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_StockPlace_FSPID ON t_StockPlace (FSPID);
CREATE INDEX IX_t_StockPlace_Group ON t_StockPlace (FSPGroupID, FNumber);

-- FItemClassID is the auxiliary class an item names in its FAuxClassID.
CREATE TABLE t_AuxItem (
    FItemID int NOT NULL,
    FItemClassID int NOT NULL,
    FNumber varchar(80) NOT NULL,
    FShortNumber varchar(80) NULL,
    FName varchar(255) NOT NULL,
    FDeleted smallint NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_AuxItem_FItemID ON t_AuxItem (FItemID);

-- An item is kept in two tables, t_ICItemBase (names, units, decimals) and t_ICItemMaterial
-- (stock management and cycle counting); t_ICItem joins them, so a write to either is seen by
-- every reader of the view.
CREATE TABLE t_ICItemBase (
    FItemID int NOT NULL,
    FNumber varchar(80) NOT NULL,
    FShortNumber varchar(80) NULL,
    FName varchar(255) NOT NULL,
    FModel varchar(255) NULL DEFAULT(''),
    FHelpCode varchar(80) NULL DEFAULT(''),
    FErpClsID int NOT NULL DEFAULT(1),
    FDeleted smallint NOT NULL DEFAULT(0),
    FUnitGroupID int NOT NULL DEFAULT(0),
    FUnitID int NOT NULL,
    FStoreUnitID int NOT NULL,
    FCUUnitID int NOT NULL,
    FSecUnitID int NOT NULL DEFAULT(0),
    FSecCoefficient decimal(28,10) NOT NULL DEFAULT(0),
    FQtyDecimal smallint NOT NULL DEFAULT(2),
    FPriceDecimal smallint NOT NULL DEFAULT(2),
    FSecUnitDecimal smallint NOT NULL DEFAULT(2),
    FAuxClassID int NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_ICItemBase_FItemID ON t_ICItemBase (FItemID);
CREATE INDEX IX_t_ICItemBase_FNumber ON t_ICItemBase (FNumber);
CREATE INDEX IX_t_ICItemBase_FShortNumber ON t_ICItemBase (FShortNumber);

-- FCheckCycUnit: 11603 days, 11602 weeks, 11601 months; 0 means no cycle count.
CREATE TABLE t_ICItemMaterial (
    FItemID int NOT NULL,
    FBatchManager bit NOT NULL DEFAULT(0),
    FISKFPeriod bit NOT NULL DEFAULT(0),
    FKFPeriod int NOT NULL DEFAULT(0),
    FISSNManage bit NOT NULL DEFAULT(0),
    FSerialClassID int NULL,
    FCheckCycUnit int NOT NULL DEFAULT(0),
    FCheckCycle int NOT NULL DEFAULT(0),
    FDaysPer int NOT NULL DEFAULT(0),
    FLastCheckDate datetime NULL
);
CREATE UNIQUE INDEX IX_t_ICItemMaterial_FItemID ON t_ICItemMaterial (FItemID);

CREATE VIEW t_ICItem AS
SELECT b.FItemID, b.FNumber, b.FShortNumber, b.FName, b.FModel, b.FHelpCode, b.FErpClsID,
    b.FDeleted, b.FUnitGroupID, b.FUnitID, b.FStoreUnitID, b.FCUUnitID, b.FSecUnitID,
    b.FSecCoefficient, b.FQtyDecimal, b.FPriceDecimal, b.FSecUnitDecimal, b.FAuxClassID,
    m.FBatchManager, m.FISKFPeriod, m.FKFPeriod, m.FISSNManage, m.FSerialClassID,
    m.FCheckCycUnit, m.FCheckCycle, m.FDaysPer, m.FLastCheckDate
FROM t_ICItemBase b INNER JOIN t_ICItemMaterial m ON b.FItemID = m.FItemID;

-- FTypeID 4 marks an item's barcode.
CREATE TABLE t_barcode (
    FBarcode varchar(100) NOT NULL,
    FTypeID int NOT NULL,
    FItemID int NOT NULL
);
CREATE INDEX IX_t_barcode_FBarcode ON t_barcode (FBarcode);
CREATE INDEX IX_t_barcode_FItemID ON t_barcode (FItemID);

CREATE TABLE t_Emp (
    FItemID int NOT NULL,
    FNumber varchar(80) NOT NULL,
    FName varchar(255) NOT NULL
);
CREATE UNIQUE INDEX IX_t_Emp_FItemID ON t_Emp (FItemID);

-- System -------------------------------------------------------------------------------------

CREATE TABLE t_user (
    FUserID int NOT NULL,
    FName varchar(80) NOT NULL,
    FDescription varchar(255) NULL DEFAULT('')
);
CREATE UNIQUE INDEX IX_t_user_FUserID ON t_user (FUserID);

CREATE TABLE t_PeriodDate (
    FYear int NOT NULL,
    FPeriod int NOT NULL,
    FStartDate datetime NOT NULL,
    FEndDate datetime NOT NULL
);
CREATE UNIQUE INDEX IX_t_PeriodDate_Period ON t_PeriodDate (FYear, FPeriod);

CREATE TABLE t_SystemProfile (
    FCategory varchar(30) NOT NULL,
    FKey varchar(100) NOT NULL,
    FValue varchar(255) NULL,
    FReadonly bit NOT NULL DEFAULT(0),
    FDescription varchar(255) NULL DEFAULT(''),
    FLevel varchar(50) NULL DEFAULT(''),
    FExplanation varchar(255) NULL DEFAULT(''),
    FFormat varchar(50) NULL DEFAULT(''),
    FSort int NOT NULL DEFAULT(0),
    FDescription_cht varchar(255) NULL DEFAULT(''),
    FDescription_en varchar(255) NULL DEFAULT('')
);
CREATE UNIQUE INDEX IX_t_SystemProfile_Key ON t_SystemProfile (FCategory, FKey);

-- Column templates of the count sheet, one set of rows per show type (FTypeID).
CREATE TABLE ICChatBillTitle (
    FInterID int NOT NULL,
    FTypeID int NOT NULL,
    FColCaption varchar(255) NULL,
    FColCaption_CHT varchar(255) NULL,
    FColCaption_EN varchar(255) NULL,
    FHeadSecond varchar(255) NULL DEFAULT(''),
    FColName varchar(50) NOT NULL,
    FTableName varchar(50) NULL DEFAULT(''),
    FColType int NOT NULL DEFAULT(1),
    FColWidth int NOT NULL DEFAULT(100),
    FVisible int NOT NULL DEFAULT(1),
    FItemClassID int NOT NULL DEFAULT(0),
    FVisForQuest int NOT NULL DEFAULT(0),
    FReturnDataType int NOT NULL DEFAULT(0),
    FCountPriceType int NOT NULL DEFAULT(0),
    FCtlIndex int NOT NULL DEFAULT(0),
    FName varchar(80) NULL DEFAULT(''),
    FTableAlias varchar(20) NULL DEFAULT(''),
    FAction varchar(255) NULL DEFAULT(''),
    FNeedCount int NOT NULL DEFAULT(0),
    FIsPrimary int NOT NULL DEFAULT(0),
    FLogicAction varchar(255) NULL DEFAULT(''),
    FStatistical int NOT NULL DEFAULT(0),
    FMergeable int NOT NULL DEFAULT(0),
    FVisForOrder int NOT NULL DEFAULT(0),
    FControl int NOT NULL DEFAULT(0),
    FMode int NOT NULL DEFAULT(0)
);
-- FInterID numbers the columns of one show type, so it is unique only with FTypeID.
CREATE UNIQUE INDEX IX_ICChatBillTitle_FTypeID ON ICChatBillTitle (FTypeID, FInterID);

-- What the host's own stand-ins keep -------------------------------------------------------

-- A user holds a right when a row names the object type and right index and its mask covers
-- every bit asked for.
CREATE TABLE t_UserRight (
    FUserID int NOT NULL,
    FObjectType int NOT NULL,
    FRightIndex int NOT NULL,
    FAccessMask int NOT NULL DEFAULT(0)
);
CREATE UNIQUE INDEX IX_t_UserRight_Key ON t_UserRight (FUserID, FObjectType, FRightIndex);

-- Row-level access: a user with rows for a base-data table sees only those records of it; a
-- user without any row is not restricted.
CREATE TABLE t_DataAccessRule (
    FUserID int NOT NULL,
    FDataTable varchar(50) NOT NULL,
    FItemID int NOT NULL
);
CREATE INDEX IX_t_DataAccessRule_User ON t_DataAccessRule (FUserID, FDataTable);
