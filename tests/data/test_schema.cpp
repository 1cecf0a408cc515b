#include "data/demodatabase.h"
#include "support/hostdatabases.h"

#include "sampledata/schema.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"

#include "import/mergesql.h"
#include "import/stagingtable.h"
#include "support/casename.h"

#include <gtest/gtest.h>

#include <string>

// The module's own statements, as it sends them, run against the host schema with the demo
// company in it.

namespace {

const double kToday = host::makeDate(2026, 12, 7);
constexpr const char *kCrLf = "\r\n";

std::string joinLines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto &line : lines)
        text += line + kCrLf;
    return text;
}

class ModuleStatements : public ::testing::Test
{
protected:
    void SetUp() override { m_db = openDemoDatabase(kToday); }

    long count(const std::string &sql) { return host::CLng(scalar(*m_db, sql)); }
    std::string text(const std::string &sql) { return host::CStr(scalar(*m_db, sql)); }
    long records(const std::string &sql) { return m_db->Execute(sql)->RecordCount(); }

    std::string allStocks()
    {
        std::string ids;
        for (const auto &row : rowsAsText(*m_db, "select FItemID from t_Stock order by FItemID"))
            ids += (ids.empty() ? "" : ",") + row[0];
        return ids;
    }

    // The batch a backup of the current stock of every stock sends, for process 1.
    void backUpCurrentStock()
    {
        const std::string maxBill = text("Select ISNULL(Max(FInterID),0) From ICStockBill");
        const std::string maxChange = text("Select ISNULL(Max(FID),0) From t_MTOChange");
        m_db->Execute(joinLines(
            {"Truncate Table ICInvBackupTemp",
             " Insert ICInvBackup",
             " (FBrNo,FItemID,FBatchNo,FMtoNo,FStockID,FQty,FQtyAct,FCheckQty,FSelect,FAdj,"
             "FDateBackup,FMaxBillInterID,",
             " FStockPlaceID,FKFPeriod,FKFDate,FUnitID,FAuxQty,FAuxQtyAct,FAuxCheckQty,",
             " FInterID,FSecQty,FAdjQty,FAuxPropID,FSecUnitID)",
             " Select t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,Sum(t1.FQty),",
             " Sum(t1.FQty),Sum(t1.FQty),0 as FSelect,0 as FAdj,GetDate() as FDateBackup," +
                 maxBill + " as FMaxBillInterID,",
             " t1.FStockPlaceID,t1.FKFPeriod,t1.FKFDate,",
             " t4.FStoreUnitID , Sum(t1.FQty / t3.FCoefficient), Sum(t1.FQty / t3.FCoefficient),",
             " Sum(t1.FQty / t3.FCoefficient),",
             "1 as FInterID,Sum(t1.FSecQty),0 as FAdjQty,t1.FAuxPropID,t4.FSecUnitID",
             " From ICInventory t1",
             " inner join t_ICItem t4 on t1.FItemID=t4.FItemID",
             " inner join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID",
             " inner join t_StockPlace t5 on t1.FStockPlaceID = t5.FSPID and 1=1",
             " And t1.FStockID in (" + allStocks() + ")",
             " Group By t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,t1.FStockPlaceID,"
             "t1.FKFPeriod,",
             " t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient",
             " Order By t1.FStockID,t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,"
             "t1.FAuxPropID",
             " if exists (select top 1 1 from ICInvBackup where finterid=1) ",
             "Begin",
             "insert into ICStockCheckProcess(FID,FProcessID,FDate,FOperatorID,FPrintSettings,"
             "FStatus,FRemark,FBackupType,FMaxBillInterID,FMaxMTOChangeID)",
             " values(1,'202612070001','2026-12-07',16,'',0,'',1," + maxBill + "," + maxChange +
                 ")",
             "update icbillno set fcurno=1+1 from icbillno where fbillid=-1",
             "update t1 set t1.FLastCheckDate='2026-12-07' from t_ICItemMaterial t1 inner join "
             "icinvbackup t2 on t1.FItemID=t2.FItemID And t1.fcheckcycle>0 and t2.FInterID = 1",
             "",
             "UPDATE ICInvBackup SET FSecQtyAct = FSecQty,FSecCheckQty = FSecQty WHERE "
             "FInterID = 1 AND FSecQty <> 0",
             " End",
             "truncate table ICInvBackupTemp"}));
    }

    std::unique_ptr<host::AppConnection> m_db;
};

// Reads of the host tables as the module words them; each must find rows in the demo company.
struct ReadCase
{
    const char *table;
    const char *sql;
};

class HostTableReads : public ::testing::TestWithParam<ReadCase>
{
protected:
    static void SetUpTestSuite() { s_db = openDemoDatabase(kToday).release(); }
    static void TearDownTestSuite()
    {
        delete s_db;
        s_db = nullptr;
    }
    static host::AppConnection *s_db;
};

host::AppConnection *HostTableReads::s_db = nullptr;

TEST_P(HostTableReads, FindRows)
{
    const auto recordset = s_db->Execute(GetParam().sql);
    ASSERT_TRUE(recordset);
    EXPECT_GT(recordset->RecordCount(), 0) << GetParam().table;
}

INSTANTIATE_TEST_SUITE_P(
    ModuleStatements, HostTableReads,
    ::testing::Values(
        ReadCase{"t_SystemProfile", "select fkey,fvalue from t_systemprofile where fcategory in "
                                    "('IC') and fkey in ('ShowFilterBeforeCheck')"},
        ReadCase{"t_PeriodDate", "select FYear,FPeriod,convert(DATETIME,FStartDate) as FStartDate,"
                                 "convert(DATETIME,FEndDate) as FEndDate from t_PeriodDate where "
                                 "('2026-11-20'>= FStartDate and '2026-11-20'<= FEndDate) or "
                                 "(FYear =2026 and FPeriod = 12)"},
        ReadCase{"t_Stock, t_item",
                 "Select u2.FFullName as FName,u1.FItemID,u1.FIsStockMgr From t_Stock u1,t_item "
                 "u2 Where u1.FItemID = u2.FItemID and u1.FDeleted<>1 And u1.FTypeID in "
                 "(500,20291,20293)  Order by u1.FNumber"},
        ReadCase{"t_ICItem by barcode",
                 "select FItemID,FNumber,FShortNumber,FName,FModel,FStoreUnitID,FUnitID,"
                 "FStoreUnitID,FQtyDecimal,FBatchManager,FISKFPeriod,FKFPeriod,FAuxClassID,"
                 "FSecUnitID From t_ICItem where FItemID in (select fitemid from t_barcode where "
                 "ftypeid = 4 and fbarcode=(select min(FBarcode) from t_barcode))"},
        ReadCase{"t_MeasureUnit", "SELECT * FROM t_MeasureUnit WHERE FMeasureUnitID=(select "
                                  "min(FStoreUnitID) from t_ICItem)"},
        ReadCase{"t_StockPlace with t_Stock",
                 "select t1.FSPID,ltrim(rtrim(t1.FNumber)),ltrim(rtrim(t1.FName)),"
                 "ltrim(rtrim(t2.FNumber)),ltrim(rtrim(t2.FName)) from t_stockplace t1, t_stock "
                 "t2 where t1.FSPGroupID=t2.FSPGroupID order by fspid"},
        ReadCase{"t_AuxItem", "select FItemclassid,ltrim(rtrim(FNumber)),FName from t_AuxItem "
                              "where fItemclassid > 0 "},
        ReadCase{"t_icitem serial numbers", "select ISNULL(FSerialClassID,0),"
                                            "ltrim(rtrim(FNumber)),FName from t_icitem where "
                                            "FISSNManage=1"},
        ReadCase{"t_icitem second units", "select FSecUnitID,ltrim(rtrim(FNumber)),FName from "
                                          "t_icitem where FSecUnitID > 0"},
        ReadCase{"t_Emp", "Select FName From t_Emp Where FItemID=16"},
        ReadCase{"ICInventory cycle count",
                 "SET DATEFIRST 1\r\n SET nocount on\r\n select a.fstockid,\r\n"
                 " case when fcheckcycunit=11603 then DATEADD(d,fcheckcycle,flastcheckdate)\r\n"
                 " when fcheckcycunit=11602 then DATEADD(d,(fdaysper-DATEPART(dw,DATEADD(ww,"
                 "fcheckcycle,flastcheckdate))),DATEADD(ww,fcheckcycle,flastcheckdate))\r\n"
                 " else case when datepart(m,flastcheckDate) in (1,3,5,8,10) and fdaysper=31 then "
                 "DATEADD(m,fcheckcycle,flastcheckDate)-DATEPART(d,DATEADD(m,fcheckcycle,"
                 "flastcheckDate))\r\n"
                 " when datepart(m,flastcheckDate) = 2 and fdaysper > 28 and "
                 "(datepart(yy,getdate())%4)<>0 then DATEADD(m,fcheckcycle,flastcheckDate)-"
                 "DATEPART(d,DATEADD(m,fcheckcycle,flastcheckDate))\r\n"
                 " else DATEADD(d,fdaysper,(DATEADD(m,fcheckcycle,flastcheckDate)-DATEPART(d,"
                 "DATEADD(m,fcheckcycle,flastcheckDate))))\r\n"
                 " End\r\n end as CurCycDate into #temp1\r\n"
                 " from (select distinct fstockid,fitemid from icinventory) a\r\n"
                 " inner join t_icitem b on a.fitemid=b.fitemid and a.fstockid>0 and "
                 "b.fcheckcycunit > 0\r\n"
                 " delete from #temp1 where getdate() < curcycdate\r\n"
                 " select distinct fstockid from #temp1 order by fstockid\r\n drop table #temp1"},
        ReadCase{"ICStockBill unaudited",
                 "select a.FInterID from ICStockBillEntry a join t_icitem t4 on "
                 "a.fitemid = t4.fitemid join ICStockBill b on a.FInterID=b.FInterID join "
                 "t_stockplace t5 on (isnull(a.FDCSPID,0)+isnull(a.FSCSPID,0))=t5.fspid where "
                 "ISNULL(b.FCheckerID,0) = 0 AND b.FCancellation = 0"},
        ReadCase{"t_MTOChange with ICClassType",
                 "Select u1.FID AS FInterID,CASE WHEN ISNULL(v1.FSelectedProcID,0) = 0 THEN 0 "
                 "ELSE 1 END AS FCheckSelect,u1.FDate,\r\n1 AS FInOrOut,\r\nx1.FName_CHS AS "
                 "FName,u1.FBillNo,t11.FName,t1.FNumber AS FNumber,t1.FName,t1.FModel,t12.FName,"
                 "v1.FBatchNo,v1.FToMtoNo,v1.FKFDate,v1.FKFPeriod,t3.FName,v1.FChangeBaseQty,"
                 "t13.FName,v1.FChangeSecQty,v1.FEntryID,0 AS FROB,u1.FClassTypeID AS "
                 "FTranTypeID\r\n"
                 "From t_MTOChange u1 inner join t_MTOChangeEntry v1 on u1.FID=v1.FID\r\n"
                 "inner join ICClassType x1 on u1.FClassTypeID=x1.FID \r\n"
                 "inner join t_ICItem t1 on v1.FItemID=t1.FItemID\r\n"
                 "inner join t_MeasureUnit t3 on t1.FUnitID=t3.FItemID\r\n"
                 "left join t_MeasureUnit t13 on t1.FSecUnitID=t13.FItemID\r\n"
                 "left join t_AuxItem t12 on v1.FAuxPropID=t12.FItemID\r\n"
                 "left join t_StockPlace t11 on v1.FSPID=t11.FSPID\r\n"
                 "Where u1.FID > 0\r\nAND u1.FClassTypeID = 1107011 \r\n"
                 "AND (u1.FCheckerID<0 OR u1.FCheckerID>0 or u1.FUpStockWhenSave=1) \r\n"
                 "AND (ISNULL(v1.FSelectedProcID,0) = 0 OR ISNULL(v1.FSelectedProcID,0) = 1)"}),
    [](const auto &c) { return caseName(c.index, c.param.table); });

TEST_F(ModuleStatements, BackupMakesOneCountLinePerStockRow)
{
    backUpCurrentStock();
    // Every stock row has a place row (FSPID 0 for none) and a unit, so none is left out.
    EXPECT_EQ(count("select count(*) from ICInvBackup where FInterID = 1"),
              count("select count(*) from ICInventory"));
    EXPECT_EQ(count("select count(*) from ICStockCheckProcess where FID = 1 and FStatus = 0"), 1);
    EXPECT_EQ(count("select fcurno from icbillno where fbillid=-1"), 2);
    EXPECT_EQ(count("select count(*) from ICInvBackup where FInterID = 1 and FSecQty <> 0 and "
                    "FSecCheckQty <> FSecQty"),
              0);
    // The counting-unit quantity is the base quantity over the counting unit's coefficient.
    EXPECT_EQ(count("select count(*) from ICInvBackup b inner join t_MeasureUnit u on "
                    "u.FMeasureUnitID = b.FUnitID where abs(b.FAuxQty * u.FCoefficient - b.FQty) "
                    "> 0.0001"),
              0);
}

TEST_F(ModuleStatements, LastCheckDateWrittenToMaterialIsReadThroughTheItem)
{
    backUpCurrentStock();
    EXPECT_GT(count("select count(*) from t_ICItem where FCheckCycle > 0 and "
                    "FLastCheckDate = '2026-12-07'"),
              0);
    EXPECT_EQ(count("select count(*) from t_ICItem i where FCheckCycle > 0 and exists (select 1 "
                    "from ICInvBackup b where b.FItemID = i.FItemID) and "
                    "isnull(FLastCheckDate,'2000-01-01') <> '2026-12-07'"),
              0);
}

TEST_F(ModuleStatements, ProcessListJoinsTheOperator)
{
    backUpCurrentStock();
    const auto list = m_db->Execute("select b.fname as username,a.* from icstockcheckprocess a "
                                    "join t_user b on a.foperatorid=b.fuserid  and a.fstatus=0  "
                                    "order by fid Desc");
    ASSERT_EQ(list->RecordCount(), 1);
    EXPECT_EQ(host::CStr(list->Fields("username").Value()), "王建国");
    EXPECT_EQ(host::CStr(list->Fields("FProcessID").Value()), "202612070001");
}

TEST_F(ModuleStatements, CountSheetListsEveryLineOfItemsNotDeleted)
{
    backUpCurrentStock();
    const std::string sheet =
        joinLines(
            {"Select a.* From (",
             "Select rtrim(t12.fname) as fstockname,t1.FStockID,t1.FItemID,t11.FName as FSPName, "
             "t2.FShortNumber,t2.FNumber,",
             "t2.FName,t2.FModel,t1.FBatchNo ,t1.FMtoNo,t1.FKFDate,t1.FKFPeriod,t4.FCoefficient,"
             "t1.FStockPlaceID,",
             "t2.FQtyDecimal,t2.FPriceDecimal,t2.FSecUnitDecimal,t1.FBal,t1.FNote,t1.FMinus,"
             "t1.FDateBackup,t1.FMaxBillInterID,",
             "t3.FName AS FUnitName,cast((cast((t1.FAuxQty+t1.FAdjQty) as  decimal(28,15) )*"
             "cast(t4.FCoefficient as decimal(28,15))) as decimal(28,10)) as FQty,t1.FQtyAct,"
             "t1.FCheckQty,",
             "FOverQty=Case When t1.FMinus>0 Then t1.FMinus when t4.FCoefficient=0 then t1.FMinus "
             "Else Null End,",
             "FDownQty=Case When t1.FMinus<0 Then -t1.FMinus  when t4.FCoefficient=0 then "
             "-t1.FMinus "
             "Else Null End,",
             "t1.FUnitID,t4.FUnitGroupID,",
             "t4.FName as FCUUnitName,FCUUnitQty=(t1.FAuxQty+t1.FAdjQty),",
             "FCUUnitQtyAct=t1.FAuxQtyAct,FCUUnitCheckQty=t1.FAuxCheckQty,",
             "FCUUnitOverQty=Case When t1.FMinus>0 Then t1.FMinus/t4.FCoefficient Else Null End,",
             "FCUUnitDownQty=Case When t1.FMinus<0 Then -t1.FMinus/t4.FCoefficient Else Null End,",
             "t2.FDeleted,t5.FName as FSecUnitName,t13.FName as FAuxPropName, ",
             "t1.FAdjQty,t1.FSecQty+FSecAdjQty AS FSecQty,FSecQtyAct ,FSecCheckQty ,FSecAdjQty "
             ",case "
             "when t1.FSecCheckQty=0 then 0 else (t1.FCheckQty/t1.FSecCheckQty) end as "
             "FSecCoefficient, ",
             "FSecOverQty=Case When t1.FSecMinus>0 Then t1.FSecMinus when t4.FCoefficient=0 then "
             "t1.FSecMinus Else Null End,",
             "FSecDownQty=Case When t1.FSecMinus<0 Then -t1.FSecMinus  when t4.FCoefficient=0 then "
             "-t1.FSecMinus Else Null End,",
             "t12.fnumber as FStockNumber,t12.fshortnumber as FStockShortNumber,t3.FNumber as "
             "FUnitNumber,t3.FShortNumber as FUnitShortNumber,",
             "t11.fnumber as FSPNumber,t11.fshortnumber as FSPShortNumber,t4.FNumber as "
             "FCUUnitNumber,t4.FShortNumber as FCUUnitShortNumber,",
             "t2.fnumber as FItemNumber,t2.fshortnumber as FItemShortNumber,t5.FNumber as "
             "FSecUnitNumber,t5.FShortNumber as FSecUnitShortNumber,t13.FNumber as FAuxPropNumber,"
             "t13.FNumber as FAuxPropShortNumber,t2.FSecUnitID,t1.FAuxPropID",
             "From ICInvBackup t1 inner join t_ICItem t2 on t1.FItemID=t2.FItemID",
             "left join t_MeasureUnit t3 on t2.FUnitID=t3.FItemID",
             "left join t_MeasureUnit t4 on t1.funitid=t4.FItemID",
             "left join t_MeasureUnit t5 on t2.FSecUnitID=t5.FItemID",
             "left join t_StockPlace t11 on t1.FStockPlaceID=t11.FSPID",
             "left join t_Stock t12 on t1.FStockID=t12.fitemid",
             "left join t_AuxItem t13 on t1.FAuxPropID=t13.fitemid",
             "",
             "Where 1=1 And t2.FDeleted<>1 ",
             " And t1.FInterID=1",
             ") as a ",
             " where 1=1 and 1=1"}) +
        " order by FStockName Desc,FSPName,FName";
    EXPECT_EQ(records(sheet), count("select count(*) from ICInvBackup b inner join t_ICItem i "
                                    "on i.FItemID = b.FItemID where i.FDeleted = 0"));
}

TEST_F(ModuleStatements, BillSelectionFindsTheBillsOfALine)
{
    const auto line = rowsAsText(
        *m_db, "select top 1 e.FDCStockID, e.FItemID, e.FBatchNo, e.FMtoNo, e.FDCSPID, "
               "e.FAuxPropID, e.FKFPeriod, isnull(convert(varchar(10),e.FKFDate,120),'') from "
               "ICStockBillEntry e inner join ICStockBill b on b.FInterID = e.FInterID where "
               "b.FTranType = 1 and b.FCheckerID > 0 and b.FCancellation = 0 order by "
               "e.FInterID");
    ASSERT_EQ(line.size(), 1U);
    const auto &k = line[0];
    const std::string date = k[7].empty() ? " IS NULL " : "='" + k[7] + "'";
    const auto bills = m_db->Execute(
        joinLines(
            {"Select u1.FInterID,CASE WHEN ISNULL(v1.FSelectedProcID,0) = 0 THEN 0 ELSE 1 END AS "
             "FCheckSelect,u1.FDate,",
             "case when u1.FTranType in(1,2,5,10,40,41) then 1 else 0 end as FInOrOut,",
             "x1.FName AS FName,u1.FBillNo,t11.FName,t1.FNumber AS FNumber,t1.FName,t1.FModel,"
             "t12.FName,v1.FBatchNo,v1.FMtoNo,v1.FKFDate,v1.FKFPeriod,t3.FName,v1.FQty,t13.FName,"
             "v1.FSecQty,v1.FEntryID,u1.FROB,u1.FTranType AS FTranTypeID",
             "From ICStockBill u1 inner join ICStockBillEntry v1 on u1.FInterID=v1.FInterID",
             "inner join ICTransactionType x1 on u1.FTranType=x1.FID ",
             "inner join t_ICItem t1 on v1.FItemID=t1.FItemID",
             "inner join t_MeasureUnit t3 on t1.FUnitID=t3.FItemID",
             "left join t_MeasureUnit t13 on t1.FSecUnitID=t13.FItemID",
             "left join t_AuxItem t12 on v1.FAuxPropID=t12.FItemID",
             "left join t_StockPlace t11 on v1.FDCSPID=t11.FSPID",
             "Where v1.FDCStockID=" + k[0],
             "AND v1.FItemID=" + k[1],
             "AND (u1.FCheckerID<0 OR u1.FCheckerID>0 or u1.FUpStockWhenSave=1) AND "
             "u1.FCancellation "
             "= 0 ",
             "AND v1.FBatchNo='" + k[2] + "'",
             "AND v1.FMtoNo='" + k[3] + "'",
             "AND u1.FInterID > 0",
             "AND v1.FDCSPID=" + k[4],
             "AND v1.FAuxPropID=" + k[5],
             "AND v1.FKFPeriod=" + k[6],
             "AND convert(datetime,v1.FKFDate)" + date,
             "AND u1.FTranType in(1,2,5,10,40,41,43,21,28,29)",
             "AND (ISNULL(v1.FSelectedProcID,0) = 0 OR ISNULL(v1.FSelectedProcID,0) = 1)"}) +
        " Order By u1.FDate,u1.FBillNo");
    ASSERT_GT(bills->RecordCount(), 0);
    EXPECT_EQ(host::CStr(bills->Fields("FName").Value()), "外购入库");
    EXPECT_EQ(host::CLng(bills->Fields("FInOrOut").Value()), 1);
}

TEST_F(ModuleStatements, CountLineUpdateStoresQuantitiesAndDifference)
{
    backUpCurrentStock();
    const auto line = rowsAsText(
        *m_db, "select top 1 b.FStockID, b.FItemID, b.FStockPlaceID, b.FKFDate, b.FKFPeriod, "
               "b.FBatchNo, b.FMtoNo, b.FAuxPropID, b.FUnitID, u.FCoefficient from ICInvBackup b "
               "inner join t_MeasureUnit u on u.FMeasureUnitID = b.FUnitID where b.FKFDate <> '' "
               "and u.FCoefficient = 1");
    ASSERT_EQ(line.size(), 1U);
    const auto &k = line[0];
    const std::string key = " Where FInterID = 1 And FStockID=" + k[0] + kCrLf +
                            " AND FItemID=" + k[1] + kCrLf + " AND FStockPlaceID=" + k[2] + kCrLf +
                            " AND CONVERT(DATETIME,FKFDate)='" + k[3] + "'" + kCrLf +
                            " AND FKFPeriod=" + k[4] + kCrLf + " AND FBatchNo='" + k[5] + "'" +
                            kCrLf + " AND FMtoNo='" + k[6] + "'" + kCrLf +
                            " AND FAuxPropID=" + k[7] + kCrLf + " And FUnitID=" + k[8] + kCrLf;
    m_db->Execute(joinLines({"Update ICInvBackup Set ", "FCheckQty=10.5,", "FQtyAct=10.5,",
                             "FAuxQty=7,", "FQty=7,", "FAuxCheckQty=10.5,", "FAuxQtyAct=10.5,",
                             "FChecker=16,", "FNote='盘点',", "FAdjQty=0.25,", "FSecQty=0,",
                             "FSecQtyAct=0,", "FSecCheckQty=0,", "FSecAdjQty=0"}) +
                  key +
                  joinLines({"Update ICInvBackup Set ", "FMinus=FQtyAct-FQty-(FAdjQty*1),",
                             "FSecMinus=FSecQtyAct-FSecQty-FSecAdjQty"}) +
                  key);
    EXPECT_EQ(text("select FMinus from ICInvBackup where FChecker = 16"), "3.25");
    EXPECT_EQ(text("select FNote from ICInvBackup where FChecker = 16"), "盘点");
}

TEST_F(ModuleStatements, CountLineDeleteAndProcessDelete)
{
    backUpCurrentStock();
    const long lines = count("select count(*) from ICInvBackup");
    const auto line = rowsAsText(*m_db, "select top 1 FItemID, FStockID, FBatchNo, FMtoNo, "
                                        "FStockPlaceID, FKFPeriod, FAuxPropID, FUnitID from "
                                        "ICInvBackup where FKFPeriod = 0");
    ASSERT_EQ(line.size(), 1U);
    const auto &k = line[0];
    m_db->Execute(
        joinLines({"Delete FROM ICInvBackup ", "WHERE FItemID=" + k[0] + " AND FStockID=" + k[1],
                   "AND FBatchNo='" + k[2] + "'", "AND FMtoNo='" + k[3] + "'",
                   "AND FStockPlaceID=" + k[4], "AND FKFPeriod=" + k[5], "AND FAuxPropID=" + k[6],
                   "AND FUnitID=" + k[7], "AND FInterID=1"}) +
        "AND CONVERT(DATETIME,FKFDate)=''");
    EXPECT_EQ(count("select count(*) from ICInvBackup"), lines - 1);

    m_db->Execute("Update ICStockBillEntry Set FSelectedProcID=1 Where FInterID = 1 AND "
                  "FEntryID = 1\r\n");
    m_db->Execute(
        joinLines({"delete icstockcheckprocess where fid=1", "delete icinvbackup where finterid=1",
                   "UPDATE ICStockBillEntry SET FSelectedProcID =0 WHERE "
                   "FSelectedProcID =1"}));
    EXPECT_EQ(count("select count(*) from ICInvBackup"), 0);
    EXPECT_EQ(count("select count(*) from ICStockCheckProcess"), 0);
    EXPECT_EQ(count("select count(*) from ICStockBillEntry where FSelectedProcID <> 0"), 0);
}

TEST_F(ModuleStatements, CutOffBalanceFillsTheWorkTable)
{
    m_db->Execute(joinLines(
        {"Truncate Table ICInvBackupTemp", "Insert Into ICInvBackupTemp",
         "(FBrNo,FItemID,FStockID,FBatchNo,FMtoNo,FStockPlaceID,FKFDate,FKFPeriod,FQty ,FQytLock,",
         "FQtyAct,FCheckQty,FSelect,FAdj,FDateBackup,FMaxBillInterID,FAuxQty,FAuxQtyAct,",
         "FAuxCheckQty,FInterID,FSecQty,FAdjQty,FAuxPropID)",
         " Select 0,t9.FItemID,t9.FStockID,t9.FBatchNo,t9.FMtoNo,t9.FStockPlaceID,",
         "case when t9.FKFDate is null", " then '' else convert(varchar(10),t9.FKFDate,120) End,",
         "ISNULL(t9.FKFPeriod,''),Sum(t9.FBegQty),0,Sum(t9.FBegQty),Sum(t9.FBegQty),0,0,"
         "'2026-12-03',0,",
         "Sum(t9.FBegQty)/t3.FCoefficient,Sum(t9.FBegQty)/t3.FCoefficient,"
         "Sum(t9.FBegQty)/t3.FCoefficient,'1',Sum(t9.FSecBegQty),0,t9.FAuxPropID",
         " FROM ICInvBal t9 inner join t_ICItem t4 on t9.fitemid = t4.fitemid",
         " left join t_stockplace t5 on t9.fstockplaceid = t5.fspid",
         " left join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID WHERE FPeriod=12 And "
         "FYear='2026' and t9.fstockid in (" +
             allStocks() + ") and datediff(dd,'2026-12-03',t9.FStockInDate)<=0",
         " Group By t9.FItemID,t9.FStockID,t9.FBatchNo,t9.FMtoNo,t9.FStockPlaceID,t9.FKFDate,"
         "t9.FKFPeriod,t9.FAuxPropID,t3.FCoefficient",
         " Having Sum(t9.FBegQty) <> 0"}));
    EXPECT_EQ(count("select count(*) from ICInvBackupTemp"),
              count("select count(*) from ICInvBal where FYear = 2026 and FPeriod = 12 and "
                    "FBegQty <> 0"));
    EXPECT_GT(count("select count(*) from ICInvBackupTemp where FKFDate like '2026-%' or "
                    "FKFDate like '2025-%'"),
              0);
}

TEST_F(ModuleStatements, PreCheckMarksReservationsAtOrBelowTheHighestBill)
{
    const std::string maxBill = text("Select ISNULL(Max(FInterID),0) From ICStockBill");
    m_db->Execute("UPDATE IC_MaxNum SET FFlag = 1 WHERE FUserID <> 0 AND FTableName = "
                  "'ICStockBill' AND FNumber <= " +
                  maxBill + " AND FFlag = 0");
    EXPECT_EQ(count("select count(*) from IC_MaxNum where FTableName = 'ICStockBill' and "
                    "FFlag = 1"),
              1);
    EXPECT_EQ(count("select count(*) from IC_MaxNum where FTableName = 'ICStockBill' and "
                    "FFlag = 0"),
              1);
}

TEST_F(ModuleStatements, AlertOptionIsUpdatedOrInserted)
{
    const std::string upsert = joinLines(
        {"IF EXISTS (SELECT * FROM t_systemProfile WHERE fkey = 'AlertSameCheckStockRecord' and "
         "fcategory = 'IC')",
         "    UPDATE t_systemProfile SET FValue = 0 WHERE  fkey='AlertSameCheckStockRecord' and "
         "fcategory = 'IC'",
         "ELSE",
         "INSERT INTO t_systemProfile (FCategory,FKey,FValue,FReadonly,FDescription,FLevel,"
         "FExplanation,FFormat,FSort,FDescription_cht,FDescription_en)",
         "    VALUES('IC','AlertSameCheckStockRecord','0',1,'盘点重复添加时给予提示 "
         "','','','',0,'',"
         "'')"});
    m_db->Execute(upsert);
    EXPECT_EQ(text("select isnull(fvalue,'0') from t_systemprofile where "
                   "fkey='AlertSameCheckStockRecord' and fcategory = 'IC'"),
              "0");
    m_db->Execute("delete from t_SystemProfile where FKey = 'AlertSameCheckStockRecord'");
    m_db->Execute(upsert);
    EXPECT_EQ(count("select count(*) from t_SystemProfile where FKey = "
                    "'AlertSameCheckStockRecord'"),
              1);
}

TEST_F(ModuleStatements, ColumnTemplateTakesRowsForEveryLanguage)
{
    m_db->Execute("delete from ICChatBillTitle");
    m_db->Execute("insert into ICChatBillTitle (FInterID,FTypeID,FColCaption,FColCaption_CHT,"
                  "FColCaption_EN,FColName,FColType,FColWidth,FVisible,FVisForQuest,FVisForOrder)"
                  " values (1,1,'物料代码$','物料代碼$','Item code$','FNumber',1,80,1,1,-1)");
    const auto header = m_db->Execute(
        "Select FInterID,FTypeID,FColCaption_EN As FColCaption ,FHeadSecond,FColName,FTableName,"
        "FColType, FColWidth,FVisible,FItemClassID,FVisForQuest,FReturnDataType,FCountPriceType,"
        " FCtlIndex,FName,FTableAlias,FAction,FNeedCount,FIsPrimary,FLogicAction,FStatistical,"
        "FMergeable,FVisForOrder,FControl,FMode From ICChatBillTitle Where FTypeID=1  Order By "
        "FInterID");
    ASSERT_EQ(header->RecordCount(), 1);
    EXPECT_EQ(host::CStr(header->Fields("FColCaption").Value()), "Item code$");
    m_db->Execute("update ICChatBillTitle set FColWidth = 95 where FInterID = 1");
    EXPECT_EQ(count("select FColWidth from ICChatBillTitle where FTypeID = 1"), 95);
}

TEST_F(ModuleStatements, ImportStagingTableMergesIntoCountLines)
{
    backUpCurrentStock();
    const std::string temp = "IcInvBackUpTemp_16_261207101500";
    m_db->Execute(StagingTable::createSql(temp));
    // One staged row for an existing line and one for a new line in the same place.
    m_db->Execute("insert into " + temp +
                  " (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FQty,"
                  "FSelect,FAdj,FAdjQty,FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,"
                  "FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,FNote,FStockPlaceID,FKFDate,FKFPeriod,"
                  "FRowNum,FChecker) select top 1 FInterID,'0',FItemID,FAuxPropID,FUnitID,"
                  "FBatchNo,FMtoNo,FStockID,0,0,0,0,getdate(),FMaxBillInterID,5,5,5,5,0,0,'',"
                  "FStockPlaceID,FKFDate,FKFPeriod,1,16 from ICInvBackup order by FItemID");
    m_db->Execute("insert into " + temp +
                  " (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FQty,"
                  "FSelect,FAdj,FAdjQty,FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,"
                  "FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,FNote,FStockPlaceID,FKFDate,FKFPeriod,"
                  "FRowNum,FChecker) select top 1 FInterID,'0',FItemID,FAuxPropID,FUnitID,"
                  "'NEW-BATCH',FMtoNo,FStockID,0,0,0,0,getdate(),FMaxBillInterID,3,3,3,3,0,0,'',"
                  "FStockPlaceID,FKFDate,FKFPeriod,2,16 from ICInvBackup order by FItemID");
    const long lines = count("select count(*) from ICInvBackup");
    m_db->Execute(PubVariant::GetUpdateFromTempSQL(temp) + PubVariant::GetInsertFromTempSQL(temp));
    EXPECT_EQ(count("select count(*) from ICInvBackup"), lines + 1);
    EXPECT_EQ(count("select count(*) from ICInvBackup where FChecker = 16"), 2);
    EXPECT_TRUE(scalar(*m_db, "IF EXISTS (SELECT 1 FROM sysobjects WHERE id = OBJECT_ID('" + temp +
                                  "') AND ObjectProperty(ID,'IsTable') = 1 ) select 1")
                    .isEmpty());
}

TEST(Schema, StatementsEndAtSemicolonsAndSkipComments)
{
    const auto statements = sampledata::schemaStatements(
        "-- a comment\nCREATE TABLE a (\n  x int\n);\n\nCREATE INDEX i ON a (x);\n");
    ASSERT_EQ(statements.size(), 2U);
    EXPECT_EQ(statements[0], "CREATE TABLE a (\r\nx int\r\n)");
    EXPECT_EQ(statements[1], "CREATE INDEX i ON a (x)");
}

TEST(Schema, CreatesEveryHostTable)
{
    const auto db = openMemoryDatabase();
    sampledata::createSchema(*db);
    for (const char *table : {"ICInvBackup",      "ICInvBackupTemp",  "ICStockCheckProcess",
                              "icbillno",         "IC_MaxNum",        "ICInventory",
                              "ICInvBal",         "ICStockBill",      "ICStockBillEntry",
                              "t_MTOChange",      "t_MTOChangeEntry", "ICTransactionType",
                              "ICClassType",      "t_ICItem",         "t_ICItemBase",
                              "t_ICItemMaterial", "t_MeasureUnit",    "t_Stock",
                              "t_item",           "t_StockPlace",     "t_AuxItem",
                              "t_PeriodDate",     "t_user",           "t_Emp",
                              "t_barcode",        "t_SystemProfile",  "ICChatBillTitle",
                              "t_UserRight",      "t_DataAccessRule"}) {
        EXPECT_NO_THROW(db->Execute(std::string("select count(*) from ") + table)) << table;
    }
}

TEST(Schema, TextComparesWithoutCaseAndTrailingBlanks)
{
    const auto db = openMemoryDatabase();
    sampledata::createSchema(*db);
    db->Execute("insert into t_Stock (FItemID,FNumber,FName) values (1,'ab01','原材料仓')");
    EXPECT_EQ(host::CLng(scalar(*db, "select count(*) from t_Stock where FNumber = 'AB01  '")), 1);
}

TEST(Schema, DecimalColumnsKeepTheirScale)
{
    const auto db = openMemoryDatabase();
    sampledata::createSchema(*db);
    db->Execute("insert into ICInventory (FItemID,FStockID,FQty) values (1,1,0.123456789012345)");
    EXPECT_EQ(host::CStr(scalar(*db, "select FQty from ICInventory")), "0.123456789");
    // A difference that is zero in decimal arithmetic is stored as zero.
    db->Execute("update ICInventory set FSecQty = FSecQty + 0.1");
    db->Execute("update ICInventory set FSecQty = FSecQty + 0.2");
    db->Execute("update ICInventory set FSecQty = FSecQty - 0.3");
    EXPECT_EQ(host::CStr(scalar(*db, "select FSecQty from ICInventory")), "0");
}

} // namespace
