// The count-sheet query, the count-line update and delete, the add-line batch and the
// bill-selection query, run as the module builds them.
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

const std::vector<std::string> kCheckSelect = {
    "Select rtrim(t12.fname) as fstockname,t1.FStockID,t1.FItemID,t11.FName as FSPName, "
    "t2.FShortNumber,t2.FNumber,",
    "t2.FName,t2.FModel,t1.FBatchNo ,t1.FMtoNo,t1.FKFDate,t1.FKFPeriod,t4.FCoefficient,"
    "t1.FStockPlaceID,",
    "t2.FQtyDecimal,t2.FPriceDecimal,t2.FSecUnitDecimal,t1.FBal,t1.FNote,t1.FMinus,t1.FDateBackup,"
    "t1.FMaxBillInterID,",
    "t3.FName AS FUnitName,cast((cast((t1.FAuxQty+t1.FAdjQty) as  decimal(28,15) )*cast("
    "t4.FCoefficient as decimal(28,15))) as decimal(28,10)) as FQty,t1.FQtyAct,t1.FCheckQty,",
    "FOverQty=Case When t1.FMinus>0 Then t1.FMinus when t4.FCoefficient=0 then t1.FMinus Else "
    "Null End,",
    "FDownQty=Case When t1.FMinus<0 Then -t1.FMinus  when t4.FCoefficient=0 then -t1.FMinus Else "
    "Null End,",
    "t1.FUnitID,t4.FUnitGroupID,",
    "t4.FName as FCUUnitName,FCUUnitQty=(t1.FAuxQty+t1.FAdjQty),",
    "FCUUnitQtyAct=t1.FAuxQtyAct,FCUUnitCheckQty=t1.FAuxCheckQty,",
    "FCUUnitOverQty=Case When t1.FMinus>0 Then t1.FMinus/t4.FCoefficient Else Null End,",
    "FCUUnitDownQty=Case When t1.FMinus<0 Then -t1.FMinus/t4.FCoefficient Else Null End,",
    "t2.FDeleted,t5.FName as FSecUnitName,t13.FName as FAuxPropName, ",
    "t1.FAdjQty,t1.FSecQty+FSecAdjQty AS FSecQty,FSecQtyAct ,FSecCheckQty ,FSecAdjQty ,case when "
    "t1.FSecCheckQty=0 then 0 else (t1.FCheckQty/t1.FSecCheckQty) end as FSecCoefficient, ",
    "FSecOverQty=Case When t1.FSecMinus>0 Then t1.FSecMinus when t4.FCoefficient=0 then "
    "t1.FSecMinus Else Null End,",
    "FSecDownQty=Case When t1.FSecMinus<0 Then -t1.FSecMinus  when t4.FCoefficient=0 then "
    "-t1.FSecMinus Else Null End,",
    "t12.fnumber as FStockNumber,t12.fshortnumber as FStockShortNumber,t3.FNumber as "
    "FUnitNumber,t3.FShortNumber as FUnitShortNumber,",
    "t11.fnumber as FSPNumber,t11.fshortnumber as FSPShortNumber,t4.FNumber as FCUUnitNumber,"
    "t4.FShortNumber as FCUUnitShortNumber,",
    "t2.fnumber as FItemNumber,t2.fshortnumber as FItemShortNumber,t5.FNumber as FSecUnitNumber,"
    "t5.FShortNumber as FSecUnitShortNumber,t13.FNumber as FAuxPropNumber,t13.FNumber as "
    "FAuxPropShortNumber,t2.FSecUnitID,t1.FAuxPropID"};

const std::vector<std::string> kPrintSelect = {
    kCheckSelect[0],
    kCheckSelect[1],
    "t2.FQtyDecimal,t2.FPriceDecimal,t1.FBal,t1.FNote,t1.FMinus,t1.FDateBackup,"
    "t1.FMaxBillInterID,",
    "t3.FName AS FUnitName,FQty=NULL,FQtyAct=NULL,FCheckQty=NULL,",
    "FOverQty=NULL,",
    "FDownQty=NULL,",
    "t1.FUnitID,t4.FUnitGroupID,",
    "t4.FName as FCUUnitName,FCUUnitQty=NULL,",
    "FCUUnitQtyAct=NULL,FCUUnitCheckQty=NULL,",
    "FCUUnitOverQty=NULL,",
    "FCUUnitDownQty=NULL,",
    "t2.FDeleted,t5.FName as FSecUnitName,isnull(t13.FName,'*') as FAuxPropName, ",
    "t1.FAdjQty,FSecQty=null,FSecQtyAct = NULL,FSecCheckQty = NULL,FSecAdjQty = NULL,case when "
    "t1.FSecQty=0 then 0 else (t1.FQty/t1.FSecQty) end as FSecCoefficient, ",
    "t12.fnumber as FStockNumber,t12.fshortnumber as FStockShortNumber,",
    "t11.fnumber as FSPNumber,t11.fshortnumber as FSPShortNumber,",
    "t2.fnumber as FItemNumber,t2.fshortnumber as FItemShortNumber"};

std::string mainSql(const std::vector<std::string> &select, bool showDelete)
{
    std::string sql;
    for (const auto &line : select)
        sql += line + "\r\n";
    sql += crlf({"From ICInvBackup t1 inner join t_ICItem t2 on t1.FItemID=t2.FItemID",
                 "left join t_MeasureUnit t3 on t2.FUnitID=t3.FItemID",
                 "left join t_MeasureUnit t4 on t1.funitid=t4.FItemID",
                 "left join t_MeasureUnit t5 on t2.FSecUnitID=t5.FItemID",
                 "left join t_StockPlace t11 on t1.FStockPlaceID=t11.FSPID",
                 "left join t_Stock t12 on t1.FStockID=t12.fitemid",
                 "left join t_AuxItem t13 on t1.FAuxPropID=t13.fitemid"});
    return sql + "\r\nWhere 1=1" + (showDelete ? "" : " And t2.FDeleted<>1 ") + "\r\n";
}

std::string itemList(int procId)
{
    const std::string id = std::to_string(procId);
    return crlf({" select '' as fstockname,0 as FStockID,b.* from",
                 "(SELECT  t2.FItemID, FSPName='',t2.FShortNumber,t2.FNumber,t2.FName,t2.FModel,",
                 "FBatchNo='',FMtoNo='',FKFDate='',FKFPeriod=0,t4.FCoefficient,FSPID=0,",
                 "t2.FQtyDecimal,t2.FPriceDecimal,FBal=null,FNote='',FMinus=null,GETDATE()AS "
                 "FDateBackup,FMaxBillInterID=NULL,",
                 "t3.FName AS FUnitName,FQty=NULL,FQtyAct=NULL,FCheckQty=NULL,", "FOverQty=NULL,",
                 "FDownQty=NULL,", "t2.FCUUnitID,t4.FUnitGroupID, ",
                 "t4.FName as FCUUnitName,FCUUnitQty=NULL,",
                 "FCUUnitQtyAct=NULL,FCUUnitCheckQty=NULL,", "FCUUNitOverQty=NULL,",
                 "FCUUnitDownQty=null,",
                 "t2.FDeleted,t5.FName as FSecUnitName,'' as FAuxPropName, ",
                 "FAdjQty=NULL,FSecQty=NULL,FSecQtyAct = NULL,FSecCheckQty = NULL,FSecAdjQty = "
                 "NULL,0 as FSecCoefficient, ",
                 "'' as fstocknumber,'' as fstockshortnumber,'' as fspnumber,'' as "
                 "fspshortnumber,",
                 "t2.fnumber as FItemNumber,t2.fshortnumber as FItemShortNumber",
                 "From t_ICItem t2 inner join t_MeasureUnit t3 on t2.FUnitID = t3.FItemID",
                 "inner join t_MeasureUnit t4 on t2.FCUUnitID = t4.FItemID",
                 "left join t_MeasureUnit t5 on t2.FSecUnitID = t5.FItemID"}) +
           "\r\nWhere t2.FItemID NOT IN(SELECT FItemID FROM ICInvBackup WHERE FInterID= " + id +
           ") And t2.FDeleted<>1 ) b inner join \r\n(select distinct fstockid,finterid from "
           "icinvbackup where finterid = " +
           id + ") a on 1=1";
}

std::string sheet(const std::string &main, int procId, const std::string &filter,
                  const std::string &sort, bool range = false)
{
    std::string m = main + " And t1.FInterID=" + std::to_string(procId);
    if (range)
        m += "\r\n Union all \r\n" + itemList(procId);
    return "Select a.* From (\r\n" + m + "\r\n) as a \r\n where 1=1 and " +
           (filter.empty() ? "1=1" : filter) + "\r\n order by " +
           (sort.empty() ? "FStockName Desc,FSPName,FName" : sort);
}

std::string keyCondition(int interId, const std::string &kfDate, const std::string &batch)
{
    return crlf({" Where FInterID = " + std::to_string(interId) + " And FStockID=1",
                 " AND FItemID=10", " AND FStockPlaceID=5",
                 " AND CONVERT(DATETIME,FKFDate)='" + kfDate + "'", " AND FKFPeriod=0",
                 " AND FBatchNo='" + batch + "'", " AND FMtoNo=''", " AND FAuxPropID=0",
                 " And FUnitID=2"});
}

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

TEST_F(CountTexts, CheckLayoutRecomputesTheBookQuantity)
{
    auto rs = db.Execute(sheet(mainSql(kCheckSelect, false), 5, "", ""));
    ASSERT_EQ(rs->FieldCount(), 63);
    ASSERT_EQ(rs->RecordCount(), 3); // the deleted item is left out
    // Descending stock name: Spare before Main (trailing blanks trimmed by rtrim).
    EXPECT_EQ(rs->Fields("fstockname").Value(), Variant("Spare"));
    rs->Sort("FName, FUnitID");
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("FName").Value(), Variant("Bolt"));
    EXPECT_EQ(rs->Fields("FStockName").Value(), Variant("Main"));
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(30.0)); // (2 + 0.5) * 12
    EXPECT_EQ(rs->Fields("FCUUnitQty").Value(), Variant(2.5));
    EXPECT_EQ(rs->Fields("FOverQty").Value(), Variant(6.0));
    EXPECT_TRUE(rs->Fields("FDownQty").Value().isNull());
    EXPECT_EQ(rs->Fields("FCUUnitOverQty").Value(), Variant(0.5));
    EXPECT_EQ(rs->Fields("FSecCoefficient").Value(), Variant(15.0));
    EXPECT_EQ(rs->Fields("FSPName").Value(), Variant("Shelf A"));
    EXPECT_EQ(rs->Fields("FSecUnitName").Value(), Variant("Kilo"));
    EXPECT_EQ(rs->Fields("FDateBackup").Value(),
              Variant::fromDate(host::makeDate({2026, 12, 1, 10, 0, 0, 0})));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("FAuxPropName").Value(), Variant("Red"));
    EXPECT_EQ(rs->Fields("FKFDate").Value(), Variant("2026-01-02"));
    EXPECT_TRUE(rs->Fields("FSPName").Value().isNull());
    // FSecCoefficient is 0, not a division error, when the second quantity is 0.
    EXPECT_EQ(rs->Fields("FSecCoefficient").Value(), Variant(0.0));
    rs->MoveNext();
    // A unit with coefficient 0 fills both gain and loss.
    EXPECT_EQ(rs->Fields("FUnitID").Value(), Variant(3));
    EXPECT_EQ(host::CStr(rs->Fields("FOverQty").Value()), "0");
    EXPECT_EQ(host::CStr(rs->Fields("FDownQty").Value()), "0");
}

TEST_F(CountTexts, FilterAndSortWorkOnTheOutputNames)
{
    auto rs = db.Execute(sheet(mainSql(kCheckSelect, true), 5, "FStockNumber = 's2' And FQty >= 0",
                               "FNumber, FUnitID desc"));
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields("FItemNumber").Value(), Variant("01.002"));
    EXPECT_EQ(rs->Fields("FUnitID").Value(), Variant(3));
    // A filter naming a field the outer select does not have is the database's error.
    EXPECT_THROW(db.Execute(sheet(mainSql(kCheckSelect, true), 5, "t1.FQty > 0", "")), HostError);
}

TEST_F(CountTexts, PrintBookWithAllItemsListsUncountedItemsPerStock)
{
    auto rs = db.Execute(sheet(mainSql(kPrintSelect, false), 5, "", "FName,FStockID", true));
    ASSERT_EQ(rs->FieldCount(), 50);
    // Bolt, Nut twice, and Washer once per stock of the process (1 and 2).
    ASSERT_EQ(rs->RecordCount(), 5);
    rs->Filter("FName = 'Washer'");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("fstockname").Value(), Variant(""));
    EXPECT_EQ(rs->Fields("FStockID").Value(), Variant(0));
    EXPECT_TRUE(rs->Fields("FQty").Value().isNull());
    EXPECT_EQ(rs->Fields("FDateBackup").Value().type(), host::VariantType::Date);
    rs->Filter("FName = 'Bolt'");
    EXPECT_EQ(rs->Fields("FAuxPropName").Value(), Variant("*"));
    EXPECT_EQ(rs->Fields("FSecCoefficient").Value(), Variant(12.0));
    // Any other layout does not match the item list column for column.
    EXPECT_THROW(db.Execute(sheet(mainSql(kCheckSelect, false), 5, "", "", true)), HostError);
}

TEST_F(CountTexts, RowUpdateWritesCountsThenDifferences)
{
    const std::string key = keyCondition(5, "", "B1");
    const std::string sql =
        crlf({"Update ICInvBackup Set ", "FCheckQty=5,", "FQtyAct=3,", "FAuxQty=2,", "FQty=24,",
              "FAuxCheckQty=0.4166666667,", "FAuxQtyAct=0.25,", "FChecker=16,", "FNote='ok',",
              "FAdjQty=0.5,", "FSecQty=2,", "FSecQtyAct=1,", "FSecCheckQty=1,", "FSecAdjQty=0"}) +
        key +
        crlf({"Update ICInvBackup Set ", "FMinus=FQtyAct-FQty-(FAdjQty*12),",
              "FSecMinus=FSecQtyAct-FSecQty-FSecAdjQty"}) +
        key;
    db.Execute(sql);
    auto rs = db.Execute("select FCheckQty,FQtyAct,FMinus,FSecMinus,FNote,FChecker from "
                         "ICInvBackup where FInterID=5 and FItemID=10");
    EXPECT_EQ(rs->Fields("FQtyAct").Value(), Variant(3.0));
    EXPECT_EQ(rs->Fields("FMinus").Value(), Variant(-27.0));
    EXPECT_EQ(rs->Fields("FSecMinus").Value(), Variant(-1.0));
    EXPECT_EQ(rs->Fields("FNote").Value(), Variant("ok"));
    EXPECT_EQ(scalar(db, "select FMinus from ICInvBackup where FInterID=6"), Variant(0.0));
}

TEST_F(CountTexts, RowDeleteMatchesTheEmptyDate)
{
    const auto del = [&](const std::string &date, int period) {
        db.Execute(
            crlf({"Delete FROM ICInvBackup ", "WHERE FItemID=11 AND FStockID=2", "AND FBatchNo=''",
                  "AND FMtoNo=''", "AND FStockPlaceID=0", "AND FKFPeriod=" + std::to_string(period),
                  "AND FAuxPropID=7", "AND FUnitID=1", "AND FInterID=5"}) +
            "AND CONVERT(DATETIME,FKFDate)='" + date + "'");
    };
    del("2026-01-03", 0);
    EXPECT_EQ(scalar(db, "select count(*) from ICInvBackup where FInterID=5"), Variant(4));
    del("2026-01-02", 0);
    EXPECT_EQ(scalar(db, "select count(*) from ICInvBackup where FInterID=5"), Variant(3));
    // A line without a date matches the empty text.
    db.Execute("Delete FROM ICInvBackup WHERE FItemID=12 AND FInterID=5 AND "
               "CONVERT(DATETIME,FKFDate)=''");
    EXPECT_EQ(scalar(db, "select count(*) from ICInvBackup where FInterID=5"), Variant(2));
}

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
