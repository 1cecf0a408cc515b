// The process store's and pre-checks' statements, the column-template query and host procedures.
#include "hostschema.h"

#include "host/core/hosterror.h"

#include <gtest/gtest.h>

#include <vector>

using host::HostError;
using host::Variant;
using testdb::crlf;
using testdb::scalar;

namespace {

class ProcessTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        testdb::createHostTables(db);
        db.Execute(R"(
INSERT INTO t_user VALUES (16,'Anna'),(17,'Ben')
INSERT INTO ICStockCheckProcess (FID,FProcessID,FDate,FOperatorID,FStatus,FRemark,FBackupType) VALUES
  (1,'202612010001','2026-12-01',16,0,'',1),(2,'202612020001','2026-12-02',17,1,'',2),
  (3,'202612030001','2026-12-03',99,0,'',1)
INSERT INTO ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FSelect,
  FAdj,FAdjQty,FStockPlaceID,FBillInterID) VALUES (1,'0',10,0,1,'','',1,0,0,0,0,NULL),
  (2,'0',10,0,1,'','',2,0,0,0,0,7)
INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FProcID) VALUES (7,'PD007',40,2),(8,'PD008',40,2)
INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FQty,FSelectedProcID) VALUES (7,1,10,1,2),(8,1,10,1,1)
INSERT INTO IC_MaxNum VALUES ('ICStockBill',8,16,0),('ICStockBill',9,16,0),('ICStockBill',5,0,0),
  ('t_MTOChange',0,16,0)
INSERT INTO ICChatBillTitle (FInterID,FTypeID,FColCaption,FColCaption_EN,FColName,FVisForQuest,FVisForOrder)
  VALUES (1,4,'物料代码$','Item code$','FNumber',1,-1),(2,4,'计划跟踪号$','Plan no$','FMTONo',1,0),
  (3,1,'x$','x$','FName',0,0)
)");
    }
    std::vector<Variant> column(std::string_view sql, std::string_view field)
    {
        std::vector<Variant> values;
        for (auto rs = db.Execute(sql); !rs->EOF(); rs->MoveNext())
            values.push_back(rs->Fields(field).Value());
        return values;
    }
    host::AppConnection db;
};

TEST_F(ProcessTexts, ProcessListJoinsTheOperator)
{
    const std::string head = "select b.fname as username,a.* from icstockcheckprocess a join "
                             "t_user b on a.foperatorid=b.fuserid ";
    EXPECT_EQ(column(head + " order by fid Asc", "FID"), (std::vector<Variant>{1, 2}));
    EXPECT_EQ(column(head + " and a.fstatus=0  order by fid Desc", "username"),
              (std::vector<Variant>{"Anna"}));
    auto rs = db.Execute(head + " order by fid Desc");
    EXPECT_EQ(rs->FieldCount(), 11);
    EXPECT_EQ(rs->Fields(1L).Name(), "FID");
    EXPECT_EQ(rs->Fields("FProcessID").Value(), Variant("202612020001"));
}

TEST_F(ProcessTexts, SaveAndDeleteProcess)
{
    db.Execute(
        crlf({"update ICStockCheckProcess set FProcessID='Main count',FRemark='first' "
              "where FID = 1",
              "update ICStockCheckProcess set FProcessID='Second',FRemark='' where FID = 2"}));
    EXPECT_EQ(scalar(db, "select FProcessID from ICStockCheckProcess where FID=1"),
              Variant("Main count"));
    db.Execute("");
    // A quote in a name breaks the statement, which the caller reports.
    EXPECT_THROW(db.Execute("update ICStockCheckProcess set FProcessID='It's',FRemark='' where "
                            "FID = 1\r\n"),
                 HostError);
    db.Execute(
        crlf({"delete icstockcheckprocess where fid=1", "delete icinvbackup where finterid=1",
              "UPDATE ICStockBillEntry SET FSelectedProcID =0 WHERE FSelectedProcID =1"}));
    EXPECT_EQ(scalar(db, "select count(*) from icinvbackup"), Variant(1));
    EXPECT_EQ(scalar(db, "select FSelectedProcID from ICStockBillEntry where FInterID=8"),
              Variant(0));
}

TEST_F(ProcessTexts, StockQueries)
{
    EXPECT_EQ(column("Select FBillNo From ICStockBill Where FProcID = 2", "FBillNo"),
              (std::vector<Variant>{"PD007", "PD008"}));
    EXPECT_EQ(db.Execute("Select TOP 1 1 From ICInvBackup Where FStockID=1")->RecordCount(), 1);
    EXPECT_EQ(db.Execute("Select TOP 1 1 From ICInvBackup Where FStockID=3")->RecordCount(), 0);
    const std::string finished = "Select FBillInterID From ICInvBackup Where FStockID=";
    const std::string made = " And FBillInterID Is Not Null And FBillInterID IN (Select Distinct "
                             "FInterID From ICStockBill)";
    EXPECT_EQ(db.Execute(finished + "2" + made)->RecordCount(), 1);
    EXPECT_EQ(db.Execute(finished + "1" + made)->RecordCount(), 0);
}

TEST_F(ProcessTexts, SnapshotMaximaMarkReservations)
{
    const Variant m = scalar(db, "Select ISNULL(Max(FInterID),0) From ICStockBill");
    EXPECT_EQ(m, Variant(8));
    db.Execute("UPDATE IC_MaxNum SET FFlag = 1 WHERE FUserID <> 0 AND FTableName = 'ICStockBill' "
               "AND FNumber <= " +
               host::CStr(m) + " AND FFlag = 0");
    EXPECT_EQ(scalar(db, "select count(*) from IC_MaxNum where FFlag = 1"), Variant(1));
    EXPECT_EQ(scalar(db, "Select ISNULL(Max(FID),0) From t_MTOChange"), Variant(0));
    EXPECT_EQ(db.Execute(crlf({" select a.fitemid from icinventory a",
                               " left join t_stock b on a.fstockid = b.fitemid",
                               " left join t_stockplace t5 on a.fstockplaceid = t5.fspid",
                               " left join t_icitem t4 on a.fitemid = t4.fitemid",
                               " where b.fitemid in (-1) "}))
                  ->RecordCount(),
              0);
}

TEST_F(ProcessTexts, SynchronisationRunsOnlyWhenTheOptionIsSet)
{
    // The host database has the procedure; a caller may put its own in its place.
    EXPECT_NO_THROW(db.Execute("EXECUTE Prc_synchronizationData 0 , '',0"));
    std::vector<std::vector<Variant>> calls;
    db.registerProcedure("Prc_synchronizationData",
                         [&](const std::vector<Variant> &args) { calls.push_back(args); });
    const std::string sync = crlf({"IF EXISTS (SELECT 1 FROM t_SystemProfile WHERE "
                                   "FKey='ICBillPos' AND FCategory='IC' AND FValue = '1')",
                                   "EXECUTE Prc_synchronizationData 0 , '',0"});
    db.Execute(sync);
    EXPECT_TRUE(calls.empty());
    db.Execute("INSERT INTO t_SystemProfile (FCategory,FKey,FValue) VALUES ('IC','ICBillPos','1')");
    db.Execute(sync);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (std::vector<Variant>{0, "", 0}));
    EXPECT_THROW(db.Execute("EXEC sp_missing 1"), HostError);
}

TEST_F(ProcessTexts, ColumnTemplateInTheUsersLanguage)
{
    auto rs = db.Execute("Select FColCaption_EN As FColCaption ,FVisForQuest,FVisForOrder,FColName,"
                         "FItemClassID,FColType From ICChatBillTitle Where FTypeID=4 Order By "
                         "FInterID");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("FColCaption").Value(), Variant("Item code$"));
    rs->Filter("FColName <> 'FMTONo'");
    EXPECT_EQ(rs->RecordCount(), 1);
    rs = db.Execute("Select FInterID,FTypeID,FColCaption As FColCaption ,FHeadSecond,FColName,"
                    "FTableName,FColType, FColWidth,FVisible,FItemClassID,FVisForQuest,"
                    "FReturnDataType,FCountPriceType, FCtlIndex,FName,FTableAlias,FAction,"
                    "FNeedCount,FIsPrimary,FLogicAction,FStatistical,FMergeable,FVisForOrder,"
                    "FControl,FMode From ICChatBillTitle Where FTypeID=1  Order By FInterID");
    EXPECT_EQ(rs->FieldCount(), 25);
    EXPECT_EQ(rs->Fields("FVisible").Value(), Variant(true));
}

TEST_F(ProcessTexts, BackupTypeAndMaximumAreStoredOnce)
{
    db.Execute("UPDATE ICInvBackup SET FMaxBillInterID = 42 WHERE FInterID = 1");
    const auto setType = [&](int type) {
        db.Execute(
            crlf({"UPDATE ICStockCheckProcess ", "   SET FBackupType = " + std::to_string(type),
                  " WHERE FID = 1", "UPDATE ICStockCheckProcess ",
                  "   SET FMaxBillInterID = (SELECT MAX(FMaxBillInterID) FROM ICInvBackup "
                  "WHERE FInterID = 1)",
                  " WHERE FID = 1 AND ISNULL(FMaxBillInterID,0) = 0"}));
    };
    setType(2);
    auto rs = db.Execute("SELECT * FROM ICStockCheckProcess WHERE FID = 1");
    EXPECT_EQ(rs->Fields("FBackupType").Value(), Variant(2));
    EXPECT_EQ(rs->Fields("FMaxBillInterID").Value(), Variant(42));
    db.Execute("UPDATE ICInvBackup SET FMaxBillInterID = 50 WHERE FInterID = 1");
    setType(1);
    EXPECT_EQ(scalar(db, "SELECT FMaxBillInterID FROM ICStockCheckProcess WHERE FID = 1"),
              Variant(42));
}

TEST_F(ProcessTexts, CaptionsWithoutTheirLastCharacterAndStampsThroughExists)
{
    auto rs = db.Execute("SELECT LEFT(FColCaption, LEN(FColCaption)-1) AS FColCaption, FVisible "
                         "FROM ICChatBillTitle WHERE FTypeID = 4 AND FColName IN "
                         "('FSecUnitName','FMTONo')");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("FColCaption").Value(), Variant("计划跟踪号"));
    db.Execute("INSERT INTO t_ICItemMaterial VALUES (10, 5, NULL), (11, 5, NULL)\r\n"
               "INSERT INTO ICInvBackupTemp (FItemID) VALUES (10)");
    db.Execute("Update t1 Set FLastCheckDate='2026-12-07' From t_ICItemMaterial t1 Where Exists "
               "(Select 1 From icinvbackuptemp t2 Where t1.FItemID=t2.FItemID) And "
               "t1.fcheckcycle>0");
    EXPECT_EQ(scalar(db, "select count(*) from t_ICItemMaterial where FLastCheckDate = "
                         "'2026-12-07 00:00'"),
              Variant(1));
}

} // namespace
