// The statements of the backup, its pre-checks, the cut-off balance and the cycle count, run as
// the module builds them, on a small stock.
#include "hostschema.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"

#include <gtest/gtest.h>

using host::Variant;
using testdb::crlf;
using testdb::scalar;

namespace {

std::string today(std::string_view pattern)
{
    return host::formatDate(host::now(), pattern);
}

class BackupTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        testdb::createHostTables(db);
        db.Execute(R"(
INSERT INTO icbillno VALUES (-1, 7)
INSERT INTO t_MeasureUnit (FMeasureUnitID,FItemID,FNumber,FName,FCoefficient) VALUES
  (1,1,'pcs','Piece',1),(2,2,'box','Box',12)
INSERT INTO t_ICItem (FItemID,FNumber,FShortNumber,FName,FUnitID,FStoreUnitID,FSecUnitID,FCUUnitID)
  VALUES (10,'01.001','001','Bolt',1,2,0,2),(11,'01.002','002','Nut',1,1,0,1)
INSERT INTO t_ICItemMaterial VALUES (10, 30, NULL),(11, 0, NULL)
INSERT INTO t_Stock (FItemID,FNumber,FName) VALUES (1,'S1','Main'),(2,'S2','Spare')
INSERT INTO t_StockPlace (FSPID,FNumber,FName) VALUES (0,'',''),(5,'A1','Shelf A')
INSERT INTO ICInventory (FItemID,FStockID,FStockPlaceID,FBatchNo,FQty,FSecQty) VALUES
  (10,1,5,'B1',24,2),(10,1,5,'B1',12,1),(10,1,5,'B2',6,0),(11,1,0,'',5,0),(11,2,0,'',7,0)
)");
    }

    std::string numbering(bool firstPass) const
    {
        std::string sql = crlf({"set nocount on", " declare @vDate datetime",
                                " select @vDate = max(isnull(fdate,getdate())) from "
                                "icstockcheckprocess"});
        if (firstPass)
            sql += crlf({" if DATEDIFF(dd,getdate(),@vDate) <> 0",
                         " Update icbillno set fcurno = 1 where fbillid = -1"});
        return sql + crlf({" select convert(varchar,getdate(),112) + "
                           "replicate('0',4-len(ltrim(fcurno))) + ltrim(rtrim(str(fcurno))),"
                           "(select isnull(max(fid),0) from icstockcheckprocess) as fcurno from "
                           "icbillno where fbillid=-1"});
    }

    std::string backupBatch(int id, const std::string &number, const std::string &stocks) const
    {
        const std::string fid = std::to_string(id);
        return crlf({"Truncate Table ICInvBackupTemp",
                     " Insert ICInvBackup",
                     " (FBrNo,FItemID,FBatchNo,FMtoNo,FStockID,FQty,FQtyAct,FCheckQty,FSelect,"
                     "FAdj,FDateBackup,FMaxBillInterID,",
                     " FStockPlaceID,FKFPeriod,FKFDate,FUnitID,FAuxQty,FAuxQtyAct,FAuxCheckQty,",
                     " FInterID,FSecQty,FAdjQty,FAuxPropID,FSecUnitID)",
                     " Select t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,Sum(t1.FQty),",
                     " Sum(t1.FQty),Sum(t1.FQty),0 as FSelect,0 as FAdj,GetDate() as "
                     "FDateBackup,7 as FMaxBillInterID,",
                     " t1.FStockPlaceID,t1.FKFPeriod,t1.FKFDate,",
                     " t4.FStoreUnitID , Sum(t1.FQty / t3.FCoefficient), Sum(t1.FQty / "
                     "t3.FCoefficient),",
                     " Sum(t1.FQty / t3.FCoefficient),",
                     " " + fid +
                         " as FInterID,Sum(t1.FSecQty),0 as FAdjQty,t1.FAuxPropID,"
                         "t4.FSecUnitID",
                     " From ICInventory t1",
                     " inner join t_ICItem t4 on t1.FItemID=t4.FItemID",
                     " inner join t_MeasureUnit t3 on t4.FStoreUnitID=t3.FMeasureUnitID",
                     " inner join t_StockPlace t5 on t1.FStockPlaceID = t5.FSPID and 1=1",
                     " And t1.FStockID in (" + stocks + ")",
                     " Group By t1.FBrNo,t1.FItemID,t1.FBatchNo,t1.FMtoNo,t1.FStockID,"
                     "t1.FStockPlaceID,t1.FKFPeriod,",
                     " t1.FKFDate,t4.FStoreUnitID,t4.FSecUnitID,t1.FAuxPropID,t3.FCoefficient",
                     " Order By t1.FStockID,t1.FStockPlaceID,t1.FItemID,t1.FBatchNo,t1.FMtoNo,"
                     "t1.FAuxPropID",
                     " if exists (select top 1 1 from ICInvBackup where finterid=" + fid + ") ",
                     "Begin",
                     "insert into ICStockCheckProcess(FID,FProcessID,FDate,FOperatorID,"
                     "FPrintSettings,FStatus,FRemark,FBackupType,FMaxBillInterID,FMaxMTOChangeID)",
                     " values(" + fid + ",'" + number + "','2026-12-07',",
                     "16,'',0,'',1,7,3)",
                     "update icbillno set fcurno=" + fid + "+1 from icbillno where fbillid=-1",
                     "update t1 set t1.FLastCheckDate='2026-12-07' from t_ICItemMaterial t1 inner "
                     "join icinvbackup t2 on t1.FItemID=t2.FItemID And t1.fcheckcycle>0 and "
                     "t2.FInterID = " +
                         fid,
                     "",
                     "UPDATE ICInvBackup SET FSecQtyAct = FSecQty,FSecCheckQty = FSecQty WHERE "
                     "FInterID = " +
                         fid + " AND FSecQty <> 0",
                     " End",
                     "truncate table ICInvBackupTemp"});
    }

    host::AppConnection db;
};

TEST_F(BackupTexts, NumberingResetsTheCounterOnANewDay)
{
    // No process yet: no reset, the stored counter is used.
    auto rs = db.Execute(numbering(true));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields(0L).Value(), Variant(today("YYYYMMDD") + "0007"));
    EXPECT_EQ(rs->Fields("fcurno").Value(), Variant(0));

    db.Execute("INSERT INTO ICStockCheckProcess (FID,FProcessID,FDate) VALUES "
               "(3,'x',DATEADD(d,-1,GETDATE()))");
    rs = db.Execute(numbering(true));
    EXPECT_EQ(rs->Fields(0L).Value(), Variant(today("YYYYMMDD") + "0001"));
    EXPECT_EQ(rs->Fields(1L).Value(), Variant(3));
}

TEST_F(BackupTexts, NumberingKeepsTheCounterOnTheSameDayAndFailsAtFiveDigits)
{
    db.Execute("INSERT INTO ICStockCheckProcess (FID,FProcessID,FDate) VALUES (3,'x',GETDATE())");
    EXPECT_EQ(scalar(db, numbering(true)), Variant(today("YYYYMMDD") + "0007"));
    db.Execute("update icbillno set fcurno=fcurno+1 where fbillid=-1");
    EXPECT_EQ(scalar(db, numbering(false)), Variant(today("YYYYMMDD") + "0008"));
    db.Execute("update icbillno set fcurno=10000 where fbillid=-1");
    EXPECT_TRUE(scalar(db, numbering(false)).isNull());
}

TEST_F(BackupTexts, BackupMakesOneLinePerPositionAndTheProcessRow)
{
    const std::string number = today("YYYYMMDD") + "0001";
    EXPECT_EQ(db.Execute(backupBatch(1, number, "1"))->State(), 0);
    auto rs = db.Execute("select FItemID,FBatchNo,FQty,FCheckQty,FAuxQty,FUnitID,FSecQty,"
                         "FSecQtyAct,FSecCheckQty,FDateBackup,FMaxBillInterID,FKFDate,FMinus "
                         "from ICInvBackup where FInterID=1 order by FItemID,FBatchNo");
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(36.0));
    EXPECT_EQ(rs->Fields("FAuxQty").Value(), Variant(3.0));
    EXPECT_EQ(rs->Fields("FUnitID").Value(), Variant(2));
    EXPECT_EQ(rs->Fields("FSecQtyAct").Value(), Variant(3.0));
    EXPECT_EQ(rs->Fields("FDateBackup").Value().type(), host::VariantType::Date);
    EXPECT_EQ(rs->Fields("FKFDate").Value(), Variant(""));
    EXPECT_TRUE(rs->Fields("FMinus").Value().isNull());
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("FBatchNo").Value(), Variant("B2"));
    EXPECT_DOUBLE_EQ(host::CDbl(rs->Fields("FAuxQty").Value()), 0.5);
    EXPECT_EQ(rs->Fields("FSecCheckQty").Value(), Variant(0.0));

    EXPECT_EQ(scalar(db, "select FProcessID from ICStockCheckProcess where FID=1"),
              Variant(number));
    EXPECT_EQ(scalar(db, "select FDate from ICStockCheckProcess where FID=1"),
              Variant::fromDate(host::makeDate(2026, 12, 7)));
    EXPECT_EQ(scalar(db, "select fcurno from icbillno"), Variant(2));
    EXPECT_EQ(scalar(db, "select FLastCheckDate from t_ICItemMaterial where FItemID=10"),
              Variant::fromDate(host::makeDate(2026, 12, 7)));
    EXPECT_TRUE(
        scalar(db, "select FLastCheckDate from t_ICItemMaterial where FItemID=11").isNull());
}

TEST_F(BackupTexts, BackupWithoutStockLeavesNoProcess)
{
    db.Execute(backupBatch(4, "x", "99"));
    EXPECT_EQ(scalar(db, "select count(*) from ICStockCheckProcess"), Variant(0));
    EXPECT_EQ(scalar(db, "select fcurno from icbillno"), Variant(7));
}

TEST_F(BackupTexts, CycleItemTableIsCreatedFilledAndDropped)
{
    const std::string name = "t_StockCheckTemp1" + today("YYYYMMDDHHNNSS");
    db.Execute(
        crlf({"SET DATEFIRST 1", " SET nocount on",
              " select a.fstockid,a.fitemid into #temp1 from icinventory a"}) +
        crlf({"IF EXISTS (SELECT 1 FROM sysobjects WHERE id = OBJECT_ID('" + name +
                  "') AND ObjectProperty(ID,'IsTable') = 1 )",
              "DROP TABLE " + name, "CREATE TABLE  " + name, "(FItemID INT NOT NULL DEFAULT(0))",
              "INSERT INTO " + name + " SELECT DISTINCT FItemID FROM #temp1",
              "UPDATE t_ICItemMaterial SET t_ICItemMaterial.flastcheckdate='2026-12-07'",
              "  FROM t_ICItemMaterial ",
              " INNER JOIN " + name + " ON t_ICItemMaterial.FItemID = " + name + ".FItemID ",
              " WHERE t_ICItemMaterial.fcheckcycle > 0 ", "drop table #temp1"}));
    EXPECT_EQ(scalar(db, "select count(*) from " + name), Variant(2));
    EXPECT_EQ(scalar(db, "select count(*) from t_ICItemMaterial where flastcheckdate is not null"),
              Variant(1));
    // The second call of the same cycle count finds the table and makes it anew.
    db.Execute(
        crlf({"IF EXISTS (SELECT 1 FROM sysobjects WHERE id = OBJECT_ID('" + name +
                  "') AND ObjectProperty(ID,'IsTable') = 1 )",
              "DROP TABLE " + name, "CREATE TABLE  " + name, "(FItemID INT NOT NULL DEFAULT(0))"}));
    EXPECT_EQ(scalar(db, "select count(*) from " + name), Variant(0));
    db.Execute("DROP TABLE " + name + " ");
    EXPECT_TRUE(scalar(db, "select OBJECT_ID('" + name + "')").isNull());
}

} // namespace
