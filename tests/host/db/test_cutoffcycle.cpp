// The cut-off-date balance, the unaudited-bill check and the cycle-count selection: the date
// arithmetic and temporary tables of the backup.
#include "hostschema.h"

#include "host/core/datetime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using host::Variant;
using testdb::crlf;
using testdb::scalar;

namespace {

Variant date(int y, int m, int d)
{
    return Variant::fromDate(host::makeDate(y, m, d));
}

const char *const kTempColumns[] = {
    "(FBrNo,FItemID,FStockID,FBatchNo,FMtoNo,FStockPlaceID,FKFDate,FKFPeriod,FQty ,FQytLock,",
    "FQtyAct,FCheckQty,FSelect,FAdj,FDateBackup,FMaxBillInterID,FAuxQty,FAuxQtyAct,",
    "FAuxCheckQty,FInterID,FSecQty,FAdjQty,FAuxPropID)"};

std::string cutOffBatch()
{
    std::string sql = crlf({"Truncate Table ICInvBackupTemp", "Insert Into ICInvBackupTemp",
                            kTempColumns[0], kTempColumns[1], kTempColumns[2]});
    sql += crlf({" Select 0,t9.FItemID,t9.FStockID,t9.FBatchNo,t9.FMtoNo,t9.FStockPlaceID,case "
                 "when t9.FKFDate is null",
                 " then '' else convert(varchar(10),t9.FKFDate,120) End,ISNULL(t9.FKFPeriod,''),"
                 "Sum(t9.FBegQty),0,Sum(t9.FBegQty),Sum(t9.FBegQty),0,0,'2026-12-07',7,",
                 " Sum(t9.FBegQty/t3.FCoefficient),Sum(t9.FBegQty/t3.FCoefficient),Sum(t9.FBegQty/"
                 "t3.FCoefficient),'9',Sum(t9.FSecBegQty),0,t9.FAuxPropID",
                 " FROM ICInvBal t9 inner join t_ICItem t4 on t9.fitemid = t4.fitemid",
                 " left join t_stockplace t5 on t9.fstockplaceid = t5.fspid",
                 " left join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID WHERE "
                 "FPeriod=11 And FYear='2026' and t9.fstockid in (1) and "
                 "datediff(dd,'2026-12-07',t9.FStockInDate)<=0",
                 " Group By t9.FItemID,t9.FStockID,t9.FBatchNo,t9.FMtoNo,t9.FStockPlaceID,"
                 "t9.FKFDate,t9.FKFPeriod,t9.FAuxPropID",
                 " Having Sum(t9.FBegQty) <> 0"});
    sql +=
        crlf({" Insert Into ICInvBackupTemp", kTempColumns[0], kTempColumns[1], kTempColumns[2]});
    sql += crlf({" Select 0,t1.FItemID,t1.FDCStockID,IsNull(t1.FBatchNO,''),ISNULL(t1.FMtoNo,''),"
                 "ISNULL(t1.FDCSPID,''),case when FKFDate is null then  '' else "
                 "convert(varchar(10),FKFDate,120) end,ISNULL(t1.FKFPeriod,''),",
                 " Sum(case when t2.FTranType In (1,2,5,10,40,41) then t1.FQty else -t1.FQty "
                 "end),0,Sum(case when t2.FTranType In (1,2,5,10,40,41) then t1.FQty else "
                 "-t1.FQty end),Sum(case when t2.FTranType In (1,2,5,10,40,41) then t1.FQty else "
                 "-t1.FQty end),0,0,'2026-12-07',7,0,0,0,'9',0,0,t1.FAuxPropID",
                 " FROM ICStockBillEntry t1 inner Join ICStockBill t2",
                 " on t1.FInterID=t2.FInterID And (t2.FCheckerID>0 or t2.FCheckerID <0 or "
                 "FUpStockWhenSave=1) And t2.FCancelLation=0",
                 " inner join t_ICItem t4 on t1.fitemid=t4.fitemid ",
                 " inner join t_stockplace t5 on isnull(t1.FDCSPID,0)=t5.fspid ",
                 " inner join t_measureunit t6 on t1.funitid=t6.fmeasureunitid ",
                 " and t1.FDCStockID in (1) And t2.FTranType In (1,2,5,10,40,41,21,28,29,43) And "
                 "t2.FDate>='2026-12-01' And t2.FDate<='2026-12-07'",
                 " Group By t1.FItemID,t1.FDCStockID,t1.FBatchNo,t1.FMtoNo,t1.FDCSPID,t1.FKFDate,"
                 "t1.FKFPeriod,t1.FAuxPropID,t6.fcoefficient"});
    return sql;
}

std::string cutOffSelect()
{
    return crlf({" Insert ICInvBackup",
                 " (FBrNo,FItemID,FBatchNo,FMtoNo,FStockID,FQty,FQtyAct,FCheckQty,FSelect,FAdj,"
                 "FDateBackup,FMaxBillInterID,",
                 " FStockPlaceID,FKFPeriod,FKFDate,FUnitID,FAuxQty,FAuxQtyAct,FAuxCheckQty,",
                 " FInterID,FSecQty,FAdjQty,FAuxPropID,FSecUnitID)",
                 "Select t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,Sum(t1.FQty),",
                 " Sum(t1.FQty),Sum(t1.FQty),t1.FSelect,t1.FAdj,t1.FDateBackup,"
                 "t1.FMaxBillInterID,",
                 " t1.FStockPlaceID,t1.FKFPeriod,t1.FKFDate,",
                 " t4.FStoreUnitID , Sum(t1.FQty)/t3.FCoefficient, Sum(t1.FQtyAct)/"
                 "t3.FCoefficient,Sum(t1.FCheckQty)/t3.FCoefficient,",
                 " t1.FInterID,Sum(t1.FSecQty),Sum(t1.FAdjQty),t1.FAuxPropID,t4.FSecUnitID",
                 " From ICInvBackupTemp t1 ", " inner join t_ICItem t4 on t1.FItemID=t4.FItemID",
                 " inner join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID",
                 " inner join t_StockPlace t5 on t1.FStockPlaceID = t5.FSPID where 1=1",
                 " And t1.FStockID in (1)",
                 " Group By t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,"
                 "t1.FStockPlaceID,t1.FKFPeriod,",
                 " t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient",
                 " ,t1.FSelect,t1.FAdj,t1.FDateBackup,t1.FMaxBillInterID,t1.FInterID",
                 " Order By t1.FStockID,t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,"
                 "t1.FAuxPropID"});
}

std::string dueDate()
{
    return crlf(
        {" case when fcheckcycunit=11603 then DATEADD(d,fcheckcycle,flastcheckdate)",
         " when fcheckcycunit=11602 then "
         "DATEADD(d,(fdaysper-DATEPART(dw,DATEADD(ww,fcheckcycle,flastcheckdate))),DATEADD(ww,"
         "fcheckcycle,flastcheckdate))",
         " else case when datepart(m,flastcheckDate) in (1,3,5,8,10) and fdaysper=31 then "
         "DATEADD(m,fcheckcycle,flastcheckDate)-DATEPART(d,DATEADD(m,fcheckcycle,flastcheckDate))",
         " when datepart(m,flastcheckDate) = 2 and fdaysper > 28 and "
         "(datepart(yy,getdate())%4)<>0 then "
         "DATEADD(m,fcheckcycle,flastcheckDate)-DATEPART(d,DATEADD(m,fcheckcycle,flastcheckDate))",
         " else "
         "DATEADD(d,fdaysper,(DATEADD(m,fcheckcycle,flastcheckDate)-DATEPART(d,DATEADD(m,"
         "fcheckcycle,flastcheckDate))))",
         " End", " end as CurCycDate into #temp1"});
}

class CutOffAndCycle : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        testdb::createHostTables(db);
        db.Execute(R"(
INSERT INTO t_MeasureUnit (FMeasureUnitID,FItemID,FNumber,FName,FCoefficient) VALUES
  (1,1,'pcs','Piece',1),(2,2,'box','Box',4)
INSERT INTO t_ICItem (FItemID,FNumber,FName,FUnitID,FStoreUnitID,FCheckCycUnit,FCheckCycle,
  FLastCheckDate,FDaysPer) VALUES
  (10,'01.010','Daily',1,2,11603,3,'2026-12-01',0),
  (11,'01.011','Weekly',1,1,11602,2,'2026-11-04',1),
  (12,'01.012','Month31',1,1,11601,1,'2026-01-15',31),
  (13,'01.013','Month30',1,1,11601,1,'2026-03-10',30),
  (14,'01.014','Never',1,1,11603,3,NULL,0),
  (15,'01.015','Future',1,1,11603,3,'2999-01-01',0),
  (16,'01.016','NoCycle',1,1,0,0,'2026-01-01',0)
INSERT INTO t_Stock (FItemID,FNumber,FName) VALUES (1,'S1','Main'),(2,'S2','Spare')
INSERT INTO t_StockPlace (FSPID,FNumber,FName) VALUES (0,'',''),(5,'A1','Shelf A')
INSERT INTO ICInventory (FItemID,FStockID,FStockPlaceID,FMtoNo,FQty) VALUES
  (10,1,5,'',1),(10,1,5,'P1',1),(11,1,5,'',1),(12,2,0,'',1),(13,2,0,'',1),(14,2,0,'',1),
  (15,1,5,'',1),(16,1,5,'',1)
)");
    }
    host::AppConnection db;
};

TEST_F(CutOffAndCycle, BalanceAtTheCutOffIsOpeningPlusMovementsUpToTheDay)
{
    db.Execute(R"(
INSERT INTO ICInvBal (FYear,FPeriod,FItemID,FStockID,FStockPlaceID,FBegQty,FStockInDate) VALUES
  (2026,11,10,1,5,10,'2026-10-01'),(2026,11,10,1,5,3,'2026-12-08'),(2026,11,10,1,5,4,NULL),
  (2026,11,11,1,5,0,'2026-10-01')
INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID,FUpStockWhenSave,FCancellation) VALUES
  (1,'a',1,'2026-12-07',16,0,0),(2,'b',21,'2026-12-03',NULL,1,0),(3,'c',1,'2026-12-08',16,0,0),
  (4,'d',1,'2026-12-02',NULL,0,0),(5,'e',1,'2026-12-02',16,0,1),(6,'f',1,'2026-12-02',16,0,0)
INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FDCStockID,FDCSPID,FUnitID,FQty) VALUES
  (1,1,10,1,5,1,5),(2,1,10,1,5,1,2),(3,1,10,1,5,1,100),(4,1,10,1,5,1,100),(5,1,10,1,5,1,100),
  (6,1,11,1,5,1,0)
)");
    db.Execute(cutOffBatch());
    EXPECT_EQ(scalar(db, "select top 1 1 from ICInvBackupTemp"), Variant(1));
    // The balance of item 11 sums to 0 and is dropped; its zero movement stays.
    EXPECT_EQ(scalar(db, "select count(*) from ICInvBackupTemp where FItemID = 11"), Variant(1));
    EXPECT_EQ(scalar(db, "select FKFDate from ICInvBackupTemp where FItemID = 11"), Variant(""));
    EXPECT_EQ(scalar(db, "select FInterID from ICInvBackupTemp where FItemID = 11"), Variant(9));
    db.Execute(cutOffSelect());
    auto rs = db.Execute("select FItemID,FQty,FAuxQty,FDateBackup,FInterID from ICInvBackup "
                         "order by FItemID");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(13.0)); // 10 + 5 - 2
    EXPECT_EQ(rs->Fields("FAuxQty").Value(), Variant(3.25));
    EXPECT_EQ(rs->Fields("FDateBackup").Value(), date(2026, 12, 7));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(0.0));
}

TEST_F(CutOffAndCycle, PeriodOfTheCutOffDate)
{
    db.Execute("INSERT INTO t_PeriodDate VALUES (2026,11,'2026-11-01','2026-11-30'),"
               "(2026,12,'2026-12-01','2026-12-31')");
    auto rs = db.Execute("select FYear,FPeriod,convert(DATETIME,FStartDate) as "
                         "FStartDate,convert(DATETIME,FEndDate) as FEndDate from t_PeriodDate "
                         "where ('2026-11-30'>= FStartDate and '2026-11-30'<= FEndDate) or "
                         "(FYear =2026 and FPeriod = 12)");
    ASSERT_EQ(rs->RecordCount(), 2);
    rs->Filter("FStartDate <= '2026-11-30' and FEndDate>= '2026-11-30'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("FPeriod").Value(), Variant(11));
    EXPECT_EQ(rs->Fields("FStartDate").Value(), date(2026, 11, 1));
}

TEST_F(CutOffAndCycle, DueDatesOfDaysWeeksAndMonths)
{
    auto rs = db.Execute(
        crlf({"SET DATEFIRST 1", " SET nocount on",
              " select a.fstockid,a.fitemid,a.fbatchno,a.FStockPlaceID,a.FKFPeriod,a.FKFDate,"
              "a.FAuxPropID,",
              " rtrim(c.fnumber) as fstocknumber,rtrim(c.fname) as fstockname,rtrim(b.fnumber) "
              "as fnumber,",
              " rtrim(b.fname) as fname,b.fmodel,rtrim(d.fname) as funitname,",
              " case when fcheckcycunit=11603 then '日'", " when fcheckcycunit=11602 then '周'",
              " Else '月' end as fcycunitname,", " flastcheckdate,"}) +
        dueDate() +
        crlf({" from (select distinct fstockid,fitemid,fbatchno,FStockPlaceID,FKFPeriod,FKFDate,"
              "FAuxPropID from icinventory) a",
              " inner join t_icitem b on a.fitemid=b.fitemid and b.fcheckcycunit > 0",
              " inner join t_stock c on a.fstockid=c.fitemid",
              " inner join t_measureunit d on b.funitid=d.fmeasureunitid and 1=1",
              " delete from #temp1 where getdate() < curcycdate",
              " select * from #temp1 order by fstocknumber,fstockname,fnumber",
              " drop table #temp1"}));
    std::map<std::string, Variant> due;
    for (; !rs->EOF(); rs->MoveNext())
        due[host::CStr(rs->Fields("fname").Value())] = rs->Fields("CurCycDate").Value();
    ASSERT_EQ(due.size(), 5u); // positions differing in plan-tracking number are one
    EXPECT_EQ(due["Daily"], date(2026, 12, 4));
    EXPECT_EQ(due["Weekly"], date(2026, 11, 16)); // Monday of the week two weeks later
    EXPECT_EQ(due["Month31"], date(2026, 1, 31));
    EXPECT_EQ(due["Month30"], date(2026, 4, 30));
    EXPECT_TRUE(due["Never"].isNull());
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("fstocknumber").Value(), Variant("S1"));
    EXPECT_EQ(rs->Fields("fcycunitname").Value(), Variant("日"));
    EXPECT_TRUE(scalar(db, "select OBJECT_ID('tempdb..#temp1')").isNull());

    rs = db.Execute(
        crlf({"SET DATEFIRST 1", " SET nocount on", " select a.fstockid,"}) + dueDate() +
        crlf({" from (select distinct fstockid,fitemid from icinventory) a",
              " inner join t_icitem b on a.fitemid=b.fitemid and a.fstockid>0 and "
              "b.fcheckcycunit > 0",
              " delete from #temp1 where getdate() < curcycdate",
              " select distinct fstockid from #temp1 order by fstockid", " drop table #temp1"}));
    ASSERT_EQ(rs->RecordCount(), 2);
    rs->MoveLast();
    EXPECT_EQ(rs->Fields("fstockid").Value(), Variant(2));
}

TEST_F(CutOffAndCycle, UnauditedBillsArePairedWithStockAndPlace)
{
    db.Execute(R"(
INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID,FCancellation) VALUES
  (1,'a',1,'2026-12-01',NULL,0),(2,'b',24,'2026-12-01',NULL,0),(3,'c',1,'2026-12-01',16,0),
  (4,'d',41,'2026-12-01',NULL,0),(200,'e',1,'2026-12-01',NULL,0)
INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FDCStockID,FSCStockID,FDCSPID,FSCSPID,FQty) VALUES
  (1,1,10,1,NULL,5,NULL,1),(2,1,10,NULL,1,NULL,0,1),(3,1,10,1,NULL,5,NULL,1),
  (4,1,10,2,1,0,5,1),(200,1,10,1,NULL,5,NULL,1)
)");
    const std::string head =
        "Insert into #Temp Select Distinct case when b.ftrantype = 41 then ( Case When "
        "a.FDCStockID in (1) Then  isnull(a.FDCStockID,0) Else isnull(a.FSCStockID,0) end )  else "
        "(isnull(a.FDCStockID,0)+isnull(a.FSCStockID,0)) end as fstock,case when b.ftrantype = "
        "41 then ( Case When a.FDCStockID in (1) Then  isnull(a.FDCSPID,0) Else "
        "isnull(a.FSCSPID,0) end ) else isnull(a.FDCSPID,0)+isnull(a.FSCSPID,0) end as fsp From "
        "ICStockBillEntry a \r\n join t_icitem t4 on a.fitemid = t4.fitemid \r\n join ICStockBill "
        "b on a.FInterID=b.FInterID \r\n join t_stockplace t5 on "
        "(isnull(a.FDCSPID,0)+isnull(a.FSCSPID,0))=t5.fspid \r\n where b.FCancellation=0 And "
        "(b.FCheckerID Is NUll) And a.FInterID<=100\r\n And (isnull(a.FSCStockID,0) = 1 or "
        "isnull(a.FDCStockID,0) = 1) ";
    const std::string bills =
        head +
        " And a.FDCStockID = 1 And b.FTranType<=43 And b.FTranType<>41 And b.FTranType<>24\r\n" +
        head + " And isnull(a.FSCStockID,0) = 1 And b.FTranType=24\r\n" + head +
        " And ((isnull(a.FSCStockID,0) = 1 or isnull(a.FDCStockID,0) = 1) \r\n ) And "
        "b.FTranType=41\r\n";
    auto rs = db.Execute("set nocount on \r\ncreate table #Temp(fstock int,fsp int)\r\n" + bills +
                         " Select Distinct FStock,Fsp Into #Temp2  From  #Temp where FStock in "
                         "(1)\r\n select b.fname,c.fname from #Temp2 a\r\n join t_stock b on "
                         "a.fstock=b.fitemid join t_stockplace c on a.fsp =c.fspid drop table "
                         "#Temp,#Temp2 ");
    std::vector<std::string> lines;
    for (; !rs->EOF(); rs->MoveNext())
        lines.push_back(host::CStr(rs->Fields(0L).Value()) + "/" +
                        host::CStr(rs->Fields(1L).Value()));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"Main/", "Main/Shelf A"}));
    EXPECT_TRUE(scalar(db, "select OBJECT_ID('#Temp2')").isNull());
}

} // namespace
