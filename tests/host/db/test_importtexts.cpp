// The import's statements: the staging table, its inserts, the direction check, the merge into
// the count lines and the base-data queries.
#include "hostschema.h"

#include "host/core/hosterror.h"
#include "import/mergesql.h"
#include "import/stagingtable.h"

#include <gtest/gtest.h>

#include <set>

using host::Variant;
using testdb::crlf;
using testdb::scalar;

namespace {

const std::string kTemp = "IcInvBackUpTemp_16_261206135601";

std::string createStaging()
{
    return StagingTable::createSql(kTemp);
}

struct Staged
{
    int item;
    int unit;
    std::string batch;
    int place;
    std::string kfDate;
    double checkQty;
    double coefficient;
    double adjQty;
    double secCheck;
    double secAdj;
    int row;
};

std::string stagedInsert(const Staged &s)
{
    const auto n = [](double v) { return host::numberToText(v); };
    return crlf({"Insert Into " + kTemp, "  (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,",
                 "FBatchNo,FMtoNo,FStockID,FQty,FSelect,FAdj,FAdjQty,",
                 "  FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,",
                 " FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,FNote,",
                 " FStockPlaceID,FKFDate,FKFPeriod,FSecUnitID,FSecQty,FChecker,FSecQtyAct,"
                 "FSecCheckQty,FSecAdjQty,FRowNum)",
                 "  Values('5','0'," + std::to_string(s.item) + ",0," + std::to_string(s.unit) +
                     ",'" + s.batch + "'",
                 ",''", "  ,1,0,0,0," + n(s.adjQty) + ",'2026-12-07 09:00:00',100",
                 "  ," + n(s.checkQty * s.coefficient) + "," + n(s.checkQty * s.coefficient) + "," +
                     n(s.checkQty) + "," + n(s.checkQty) + ",0,0,'imported'",
                 "  ," + std::to_string(s.place) + ",'" + s.kfDate + "',0,3,0,16," + n(s.secCheck) +
                     "," + n(s.secCheck) + "," + n(s.secAdj) + ",",
                 std::to_string(s.row) + ")"});
}

const std::string kDirection = "((FMinus = 0 AND FSecMinus<>0) OR (FMinus > 0 AND FSecMinus< 0) OR "
                               "(FMinus< 0 AND FSecMinus>0))";

std::string directionCheck()
{
    return crlf({"SET NOCOUNT ON",
                 "UPDATE t SET t.FQty = b.FQty,t.FSecQty = b.FSecQty,t.FSecAdjQty = "
                 "ROUND(t.FSecAdjQty,c.FQtyDecimal) ",
                 "  FROM " + kTemp, " t inner join IcInvBackUp b ", "on t.FItemID = b.FItemID",
                 "and  t.FInterID = b.FInterID", "and t.FAuxPropID = b.FAuxPropID",
                 "and t.FUnitID = b.FUnitID", "and t.FBatchNo = b.FBatchNo",
                 "and t.FMtoNo = b.FMtoNo", "and t.FKFDate = b.FKFDate",
                 "and t.FKFPeriod = b.FKFPeriod", "and t.FStockID = b.FStockID",
                 "and t.FStockPlaceID = b.FStockPlaceID",
                 "INNER JOIN t_ICItemBase c ON t.FItemID = c.FItemID",
                 "UPDATE t SET t.FMinus = t.FCheckQty-t.FQty-t.FAdjQty*b.FCoefficient, ",
                 "       t.FSecMinus = t.FSecCheckQty-t.FSecQty-t.FSecAdjQty ",
                 "  FROM " + kTemp + " t ",
                 " INNER JOIN t_MeasureUnit b ON t.FUnitID = b.FMeasureUnitID"}) +
           "SELECT FRowNum FROM " + kTemp + " WHERE " + kDirection;
}

std::string merge()
{
    return PubVariant::GetUpdateFromTempSQL(kTemp) + PubVariant::GetInsertFromTempSQL(kTemp);
}

class ImportTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        testdb::createHostTables(db);
        db.Execute(R"(
INSERT INTO t_MeasureUnit (FMeasureUnitID,FItemID,FNumber,FShortNumber,FName,FCoefficient) VALUES
  (1,1,' pcs','p','Piece ',1),(2,2,'box','b','Box',12)
INSERT INTO t_ICItem (FItemID,FNumber,FShortNumber,FName,FUnitID,FSecUnitID,FAuxClassID,FIsKFPeriod,
  FBatchManager,FISSNManage,FSerialClassID) VALUES (10,'01.001 ','001','Bolt',1,3,0,1,1,1,NULL),
  (11,'01.002','002','Nut',1,0,3001,0,0,0,NULL)
INSERT INTO t_ICItemBase VALUES (10, 2)
INSERT INTO t_Stock (FItemID,FNumber,FShortNumber,FName,FIsStockMgr,FSPGroupID) VALUES
  (1,'S1','s1','Main',1,20),(2,'S2','s2','Spare',1,21)
INSERT INTO t_StockPlace (FSPID,FSPGroupID,FNumber,FShortNumber,FName) VALUES
  (5,20,'A1','a1','Shelf A'),(6,21,'A1','a1','Shelf A'),(7,21,'B1','b1','Shelf B')
INSERT INTO t_AuxItem (FItemID,FItemClassID,FNumber,FName) VALUES (7,3001,'RED ','Red')
INSERT INTO ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FQty,
  FSelect,FAdj,FAdjQty,FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,FAuxCheckQty,FAuxQtyAct,
  FAuxQty,FMinus,FStockPlaceID,FKFDate,FSecUnitID,FSecQty,FSecQtyAct,FSecCheckQty,FSecMinus)
  VALUES (5,'0',10,0,2,'B1','',1,120,1,1,0,'2026-12-01',90,120,120,10,10,10,0,5,'',3,4,4,4,0)
)");
    }
    host::AppConnection db;
};

TEST_F(ImportTexts, StagingMergeUpdatesMatchedLinesAndInsertsTheRest)
{
    db.Execute(createStaging() + stagedInsert({10, 2, "B1", 5, "", 12, 12, 0, 6, 1.23456, 1}) +
               stagedInsert({10, 2, "B2", 5, "2024-03-05", 1, 12, 0, 1, 0, 2}) +
               stagedInsert({10, 2, "B3", 5, "", 1, 12, 0, -1, 0, 3}));
    EXPECT_EQ(scalar(db, "select FKFDate from " + kTemp + " where FRowNum = 2"),
              Variant("2024-03-05"));
    EXPECT_EQ(scalar(db, "select FCheckQty from " + kTemp + " where FRowNum = 1"), Variant(144.0));

    auto refused = db.Execute(directionCheck());
    ASSERT_EQ(refused->State(), 1);
    ASSERT_EQ(refused->RecordCount(), 1);
    EXPECT_EQ(refused->Fields("FRowNum").Value(), Variant(3));
    db.Execute("DELETE " + kTemp + " WHERE " + kDirection);
    auto rs = db.Execute("select FQty,FSecQty,FSecAdjQty,FMinus,FSecMinus from " + kTemp +
                         " where FRowNum = 1");
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(120.0));
    EXPECT_EQ(rs->Fields("FSecAdjQty").Value(), Variant(1.23));
    EXPECT_EQ(rs->Fields("FMinus").Value(), Variant(24.0));
    EXPECT_EQ(rs->Fields("FSecMinus").Value(), Variant(0.77));

    db.Execute(merge());
    EXPECT_TRUE(scalar(db, "select OBJECT_ID('" + kTemp + "')").isNull());
    rs = db.Execute("select FBatchNo,FQty,FCheckQty,FSecQtyAct,FMinus,FSelect,FNote,FChecker,"
                    "FAuxQty,FDateBackup from ICInvBackup order by FBatchNo");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(120.0)); // book quantity stays
    EXPECT_EQ(rs->Fields("FCheckQty").Value(), Variant(144.0));
    EXPECT_EQ(rs->Fields("FSecQtyAct").Value(), Variant(6.0));
    EXPECT_EQ(rs->Fields("FSelect").Value(), Variant(false));
    EXPECT_EQ(rs->Fields("FChecker").Value(), Variant(16));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("FBatchNo").Value(), Variant("B2"));
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(0.0));
    EXPECT_EQ(rs->Fields("FAuxQty").Value(), Variant(0.0));
    EXPECT_EQ(rs->Fields("FNote").Value(), Variant("imported"));
}

TEST_F(ImportTexts, PlaceCorrectionMovesToTheStocksOwnGroup)
{
    // Place 5 belongs to group 20; stock 2 holds group 21 with a namesake, place 6.
    db.Execute(createStaging() + "insert into " + kTemp +
               " (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FSelect,"
               "FAdj,FAdjQty,FStockPlaceID) values (5,'0',11,0,1,'','',2,0,0,0,5),"
               "(5,'0',11,0,1,'','',2,0,0,0,7),(5,'0',11,0,9,'','',1,0,0,0,5)");
    db.Execute(merge());
    auto rs = db.Execute("select FStockPlaceID from ICInvBackup where FItemID = 11 order by 1");
    std::set<long> places;
    for (; !rs->EOF(); rs->MoveNext())
        places.insert(host::CLng(rs->Fields(0L).Value()));
    EXPECT_EQ(places, (std::set<long>{5, 6, 7}));
}

TEST_F(ImportTexts, BaseDataQueries)
{
    auto rs = db.Execute("select FItemID,ltrim(rtrim(FNumber)),ltrim(rtrim(FName)) from t_icitem "
                         "order by fitemid");
    EXPECT_EQ(rs->Fields(1L).Value(), Variant("01.001"));
    rs = db.Execute("select t1.FSPID,ltrim(rtrim(t1.FNumber)),ltrim(rtrim(t1.FName)),"
                    "ltrim(rtrim(t2.FNumber)),ltrim(rtrim(t2.FName)) from t_stockplace t1, "
                    "t_stock t2 where t1.FSPGroupID=t2.FSPGroupID order by fspid");
    ASSERT_EQ(rs->RecordCount(), 3);
    rs->MoveLast();
    EXPECT_EQ(rs->Fields(3L).Value(), Variant("S2"));
    rs = db.Execute("select ISNULL(FSerialClassID,0),ltrim(rtrim(FNumber)),FName from t_icitem "
                    "where FISSNManage=1");
    EXPECT_EQ(rs->Fields(0L).Value(), Variant(0));
    rs = db.Execute("select FAuxClassID,ltrim(rtrim(FShortNumber)),FName  from t_icitem where "
                    "FAuxClassID > 0");
    EXPECT_EQ(rs->RecordCount(), 1);
    rs = db.Execute("select FItemclassid,ltrim(rtrim(FNumber)),FName from t_AuxItem where "
                    "fItemclassid > 0 ");
    EXPECT_EQ(rs->Fields(1L).Value(), Variant("RED"));
    EXPECT_EQ(db.Execute("select fbatchmanager,ltrim(rtrim(FNumber)),FName from t_icitem where "
                         "fbatchmanager = 1")
                  ->RecordCount(),
              1);
}

} // namespace
