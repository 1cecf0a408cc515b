// The add-line batch of the count sheet, run on a small count as its dialog will send it.

#include "hostschema.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"

#include <gtest/gtest.h>

#include <vector>

using host::HostError;
using host::Variant;
using testdb::crlf;
using testdb::scalar;

namespace {
class CountTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        testdb::createHostTables(db);
        db.Execute(R"(
INSERT INTO t_MeasureUnit (FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FShortNumber,FName,FCoefficient)
  VALUES (1,1,1,'pcs','p','Piece',1),(2,2,1,'box','b','Box',12),(3,3,1,'kg','k','Kilo',0)
INSERT INTO t_ICItem (FItemID,FNumber,FShortNumber,FName,FModel,FUnitID,FStoreUnitID,FSecUnitID,
  FCUUnitID,FDeleted) VALUES (10,'01.001','001','Bolt','M6',1,2,3,2,0),
  (11,'01.002','002','Nut','M6',1,1,0,1,0),(12,'01.003','003','Old','',1,1,0,1,1),
  (13,'01.004','004','Washer','',1,1,0,1,0)
INSERT INTO t_ICItemBase VALUES (10, 2),(11, 0)
INSERT INTO t_Stock (FItemID,FNumber,FShortNumber,FName) VALUES (1,'S1','s1','Main  '),(2,'S2','s2','Spare')
INSERT INTO t_StockPlace (FSPID,FNumber,FShortNumber,FName) VALUES (5,'A1','a1','Shelf A')
INSERT INTO t_AuxItem (FItemID,FItemClassID,FNumber,FName) VALUES (7,3001,'RED','Red')
INSERT INTO ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FQty,
  FSelect,FAdj,FAdjQty,FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,FAuxCheckQty,FAuxQtyAct,
  FAuxQty,FMinus,FStockPlaceID,FKFDate,FSecQty,FSecQtyAct,FSecCheckQty,FSecMinus)
  VALUES (5,'0',10,0,2,'B1','',1,24,0,0,0.5,'2026-12-01 10:00',100,30,30,2.5,2.5,2,6,5,'',2,2,2,0),
         (5,'0',11,7,1,'','',2,5,0,0,0,'2026-12-01 10:00',100,5,5,5,5,5,0,0,'2026-01-02',0,0,0,0),
         (5,'0',12,0,1,'','',2,1,0,0,0,'2026-12-01 10:00',100,1,1,1,1,1,0,0,'',0,0,0,0),
         (5,'0',11,0,3,'','',2,4,0,0,0,'2026-12-01 10:00',100,1,1,1,1,1,0,0,'',0,0,0,0),
         (6,'0',10,0,2,'B1','',1,24,0,0,0,'2026-12-01 10:00',100,24,24,2,2,2,0,5,'',0,0,0,0)
)");
    }
    host::AppConnection db;
};

std::string addLine(double q, double c, double s, const std::string &message)
{
    const auto n = [](double v) { return host::numberToText(v); };
    const std::string w1 = "  Where FItemID='10' and FAuxPropID='0' and FUnitID='2' ";
    const std::string w2 = "  AND FBatchNo='B1' and FMtoNo='' and FKFDate='' and FKFPeriod='0' ";
    const std::string w3 = "  AND FStockID='1' and FStockPlaceID='5' and FInterID = '5'";
    return crlf(
        {"BEGIN TRAN",
         "If not Exists(select * from ICInvBackUp where FItemID='10' And FInterID = "
         "'5'AND FAuxPropID='0' and FUnitID='2' and FBatchNo='B1' AND FKFDate='' and "
         "FKFPeriod='0' and FStockID='1'  AND FStockPlaceID='5' AND FMtoNo='') ",
         "  Insert ICInvBackup",
         "  (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FQty,"
         "FSelect,FAdj,FAdjQty,",
         "  FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,FAuxCheckQty,FAuxQtyAct,FAuxQty,"
         "FMinus,FNote,FStockPlaceID,FKFDate,FKFPeriod,FSecUnitID,FSecQty,  FSecQtyAct,"
         "FSecCheckQty,FSecAdjQty,FSecMinus)",
         "  Values('5','0',10,0,2,'B1'  ,''",
         "  ,1,0,0,0,0,'2026-12-07 10:00:00',100",
         "  ," + n(c * q) + "," + n(c * q) + "," + n(q) + "," + n(q) + ",0," + n(c * q) + ",'note'",
         "  ,5,'',0,3,0," + n(s) + "," + n(s) + ",0," + n(s) + ")",
         "Else",
         "BEGIN",
         "  UPDATE ICInvBackUp",
         "  SET FCheckQty=FCheckQty + " + n(c * q) + ",FAuxCheckQty=FAuxCheckQty + " + n(q) +
             ",FSecCheckQty =FSecCheckQty + " + n(s) + ",",
         "  FQtyAct=FQtyAct + " + n(c * q) + ",FAuxQtyAct=FAuxQtyAct + " + n(q) +
             ",FSecQtyAct=FSecQtyAct + " + n(s),
         w1,
         w2,
         w3,
         "  UPDATE ICInvBackUp",
         "  SET FMinus = FQtyAct - FQty - FAdjQty * " + n(c) +
             ",FSecMinus = FSecQtyAct - FSecQty - FSecAdjQty ",
         w1,
         w2,
         w3,
         "END",
         "IF EXISTS (SELECT 1 FROM ICInvBackUp",
         w1,
         w2,
         w3,
         " AND ((FMinus = 0 AND FSecMinus<>0) OR (FMinus > 0 AND FSecMinus< 0) OR "
         "(FMinus< 0 AND FSecMinus>0)))",
         "  BEGIN",
         "    RAISERROR ('" + message + "',16,1)",
         "    ROLLBACK TRAN",
         "  END",
         "  ELSE",
         "      COMMIT TRAN"});
}

TEST_F(CountTexts, AddLineAddsToTheExistingLine)
{
    db.ExecuteRaiseErr(addLine(2, 6, 1, "refused"));
    auto rs = db.Execute("select FCheckQty,FQtyAct,FAuxCheckQty,FMinus,FSecMinus,FNote from "
                         "ICInvBackup where FInterID=5 and FItemID=10");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("FCheckQty").Value(), Variant(42.0));
    EXPECT_EQ(rs->Fields("FAuxCheckQty").Value(), Variant(4.5));
    EXPECT_EQ(rs->Fields("FMinus").Value(), Variant(15.0)); // 42 - 24 - 0.5 * 6
    EXPECT_EQ(rs->Fields("FSecMinus").Value(), Variant(1.0));
    EXPECT_TRUE(rs->Fields("FNote").Value().isNull());
}

TEST_F(CountTexts, AddLineRefusedByDirectionRollsBack)
{
    const std::string message = "添加物料基本单位与辅助计量单位盘盈盘亏方向不一致，添加失败！";
    try {
        db.ExecuteRaiseErr(addLine(2, 6, -3, message));
        FAIL() << "the batch raised nothing";
    } catch (const HostError &e) {
        EXPECT_EQ(e.Description(), message);
    }
    EXPECT_EQ(scalar(db, "select FCheckQty from ICInvBackup where FInterID=5 and FItemID=10"),
              Variant(30.0));
    // A new line with a consistent direction is inserted.
    db.Execute("delete icinvbackup where finterid=5 and fitemid=10");
    db.ExecuteRaiseErr(addLine(1, 12, 1, "refused"));
    auto rs = db.Execute("select FQty,FCheckQty,FMinus,FSecQtyAct,FDateBackup,FBrNo from "
                         "ICInvBackup where FInterID=5 and FItemID=10");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(0.0));
    EXPECT_EQ(rs->Fields("FMinus").Value(), Variant(12.0));
    EXPECT_EQ(rs->Fields("FBrNo").Value(), Variant("0"));
    EXPECT_EQ(rs->Fields("FDateBackup").Value(),
              Variant::fromDate(host::makeDate({2026, 12, 7, 10, 0, 0, 0})));
    EXPECT_EQ(scalar(db, "SELECT DISTINCT FMaxBillInterID FROM ICInvBackup WHERE FInterID=5"),
              Variant(100));
}

} // namespace
