// The bill-selection query: stock bills and plan-tracking changes posted after a snapshot that
// move the stock of one count line, as one UNION ALL statement.
#include "hostschema.h"

#include "host/core/datetime.h"

#include <gtest/gtest.h>

using host::Variant;
using testdb::crlf;

namespace {

struct Part
{
    std::string inOrOut;
    std::string typeCondition;
    std::string stockCondition;
    std::string placeJoin;
    std::string placeCondition;
};

std::string billPart(const Part &p, const std::string &billCondition)
{
    return crlf({"Select u1.FInterID,CASE WHEN ISNULL(v1.FSelectedProcID,0) = 0 THEN 0 ELSE 1 END "
                 "AS FCheckSelect,u1.FDate,",
                 p.inOrOut,
                 "x1.FName AS FName,u1.FBillNo,t11.FName,t1.FNumber AS FNumber,t1.FName,"
                 "t1.FModel,t12.FName,v1.FBatchNo,v1.FMtoNo,v1.FKFDate,v1.FKFPeriod,t3.FName,"
                 "v1.FQty,t13.FName,v1.FSecQty,v1.FEntryID,u1.FROB,u1.FTranType AS FTranTypeID",
                 "From ICStockBill u1 inner join ICStockBillEntry v1 on u1.FInterID=v1.FInterID",
                 "inner join ICTransactionType x1 on u1.FTranType=x1.FID ",
                 "inner join t_ICItem t1 on v1.FItemID=t1.FItemID",
                 "inner join t_MeasureUnit t3 on t1.FUnitID=t3.FItemID",
                 "left join t_MeasureUnit t13 on t1.FSecUnitID=t13.FItemID",
                 "left join t_AuxItem t12 on v1.FAuxPropID=t12.FItemID",
                 p.placeJoin,
                 p.stockCondition + "1",
                 "AND v1.FItemID=10",
                 "AND (u1.FCheckerID<0 OR u1.FCheckerID>0 or u1.FUpStockWhenSave=1) AND "
                 "u1.FCancellation = 0 ",
                 "AND v1.FBatchNo='B1'",
                 "AND v1.FMtoNo=''",
                 billCondition,
                 p.placeCondition + "5",
                 "AND v1.FAuxPropID=0",
                 "AND v1.FKFPeriod=0",
                 "AND convert(datetime,v1.FKFDate) IS NULL ",
                 p.typeCondition,
                 "AND (ISNULL(v1.FSelectedProcID,0) = 0 OR ISNULL(v1.FSelectedProcID,0) = 5)"});
}

std::string changePart(const std::string &inOrOut, const std::string &mtoColumn,
                       const std::string &changeCondition)
{
    return crlf({"Select u1.FID AS FInterID,CASE WHEN ISNULL(v1.FSelectedProcID,0) = 0 THEN 0 "
                 "ELSE 1 END AS FCheckSelect,u1.FDate,",
                 inOrOut,
                 "x1.FName_CHS AS FName,u1.FBillNo,t11.FName,t1.FNumber AS FNumber,t1.FName,"
                 "t1.FModel,t12.FName,v1.FBatchNo,v1." +
                     mtoColumn +
                     ",v1.FKFDate,v1.FKFPeriod,t3.FName,v1.FChangeBaseQty,t13.FName,"
                     "v1.FChangeSecQty,v1.FEntryID,0 AS FROB,u1.FClassTypeID AS FTranTypeID",
                 "From t_MTOChange u1 inner join t_MTOChangeEntry v1 on u1.FID=v1.FID",
                 "inner join ICClassType x1 on u1.FClassTypeID=x1.FID ",
                 "inner join t_ICItem t1 on v1.FItemID=t1.FItemID",
                 "inner join t_MeasureUnit t3 on t1.FUnitID=t3.FItemID",
                 "left join t_MeasureUnit t13 on t1.FSecUnitID=t13.FItemID",
                 "left join t_AuxItem t12 on v1.FAuxPropID=t12.FItemID",
                 "left join t_StockPlace t11 on v1.FSPID=t11.FSPID",
                 changeCondition,
                 "AND v1.FItemID=10",
                 "AND u1.FClassTypeID = 1107011 ",
                 "AND (u1.FCheckerID<0 OR u1.FCheckerID>0 or u1.FUpStockWhenSave=1) ",
                 "AND v1.FStockID=1",
                 "AND v1.FBatchNo='B1'",
                 "AND v1." + mtoColumn + "=''",
                 "AND v1.FSPID=5",
                 "AND v1.FAuxPropID=0",
                 "AND v1.FKFPeriod=0",
                 "AND convert(datetime,v1.FKFDate) IS NULL ",
                 "AND (ISNULL(v1.FSelectedProcID,0) = 0 OR ISNULL(v1.FSelectedProcID,0) = 5)"});
}

std::string selectBills(const std::string &billCondition, const std::string &changeCondition,
                        bool planMode)
{
    const Part a{"case when u1.FTranType in(1,2,5,10,40,41) then 1 else 0 end as FInOrOut,",
                 "AND u1.FTranType in(1,2,5,10,40,41,43,21,28,29)",
                 "Where v1.FDCStockID=", "left join t_StockPlace t11 on v1.FDCSPID=t11.FSPID",
                 "AND v1.FDCSPID="};
    const Part b{"FInOrOut=0,", "AND u1.FTranType=24",
                 "Where v1.FSCStockID=", "left join t_StockPlace t11 on v1.FDCSPID=t11.FSPID",
                 "AND v1.FDCSPID="};
    const Part c{"FInOrOut=0,", "AND u1.FTranType=41",
                 "Where v1.FSCStockID=", "left join t_StockPlace t11 on v1.FSCSPID=t11.FSPID",
                 "AND v1.FSCSPID="};
    std::string sql = billPart(a, billCondition) + "Union All\r\n" + billPart(b, billCondition) +
                      "Union All\r\n" + billPart(c, billCondition);
    if (planMode)
        sql += "Union All\r\n" + changePart("1 AS FInOrOut,", "FToMtoNo", changeCondition) +
               "Union All\r\n" + changePart("0 AS FInOrOut,", "FFromMtoNo", changeCondition);
    return sql + " Order By u1.FDate,u1.FBillNo";
}

class BillSelect : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        testdb::createHostTables(db);
        db.Execute(R"(
INSERT INTO t_MeasureUnit (FMeasureUnitID,FItemID,FName,FCoefficient) VALUES (1,1,'Piece',1)
INSERT INTO t_ICItem (FItemID,FNumber,FShortNumber,FName,FModel,FUnitID) VALUES (10,'01.001','001','Bolt','M6',1)
INSERT INTO t_StockPlace (FSPID,FNumber,FName) VALUES (5,'A1','Shelf A')
INSERT INTO ICTransactionType (FID,FName) VALUES (1,'Receipt'),(24,'Issue'),(41,'Transfer')
INSERT INTO ICClassType (FID,FName_CHS) VALUES (1107011,'Change')
INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID,FUpStockWhenSave,FCancellation) VALUES
  (99,'R099',1,'2026-12-01',16,0,0),(101,'R101',1,'2026-12-02',16,0,0),
  (102,'I102',24,'2026-12-03',NULL,1,0),(103,'T103',41,'2026-12-04',-1,0,0),
  (104,'R104',1,'2026-12-05',16,0,1),(105,'R105',1,'2026-12-05',16,0,0),
  (106,'R106',1,'2026-12-06',16,0,0),(107,'R107',1,'2026-12-06',NULL,0,0)
INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FDCStockID,FSCStockID,FDCSPID,FSCSPID,
  FBatchNo,FQty,FSelectedProcID) VALUES
  (99,1,10,1,NULL,5,NULL,'B1',1,NULL),(101,1,10,1,NULL,5,NULL,'B1',2,NULL),
  (102,1,10,NULL,1,5,NULL,'B1',3,0),(103,1,10,1,1,5,5,'B1',4,NULL),
  (104,1,10,1,NULL,5,NULL,'B1',5,NULL),(105,1,10,1,NULL,5,NULL,'B1',6,9),
  (106,1,10,1,NULL,5,NULL,'B1',7,5),(107,1,10,1,NULL,5,NULL,'B1',8,NULL)
INSERT INTO t_MTOChange (FID,FBillNo,FClassTypeID,FDate,FCheckerID) VALUES
  (3,'M003',1107011,'2026-12-01',16),(4,'M004',1107011,'2026-12-07',16)
INSERT INTO t_MTOChangeEntry (FID,FEntryID,FItemID,FStockID,FSPID,FBatchNo,FFromMtoNo,FToMtoNo,
  FChangeBaseQty) VALUES (3,1,10,1,5,'B1','P1','',1),(4,1,10,1,5,'B1','P1','',9)
)");
    }
    host::AppConnection db;
};

TEST_F(BillSelect, CurrentStockProcessListsBillsAboveTheMaxima)
{
    auto rs = db.Execute(selectBills("AND u1.FInterID > 100", "Where u1.FID > 3", true));
    ASSERT_EQ(rs->FieldCount(), 22);
    std::vector<std::string> bills;
    for (; !rs->EOF(); rs->MoveNext())
        bills.push_back(host::CStr(rs->Fields(5L).Value()) + ":" +
                        host::CStr(rs->Fields("FInOrOut").Value()) +
                        host::CStr(rs->Fields("FCheckSelect").Value()));
    const std::vector<std::string> expected = {"R101:10", "I102:00", "T103:10",
                                               "T103:00", "R106:11", "M004:10"};
    EXPECT_EQ(bills, expected);
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields(2L).Value(), Variant::fromDate(host::makeDate(2026, 12, 2)));
    EXPECT_EQ(rs->Fields(4L).Value(), Variant("Receipt"));
    EXPECT_EQ(rs->Fields(6L).Value(), Variant("Shelf A"));
    EXPECT_EQ(rs->Fields(16L).Value(), Variant(2.0));
    EXPECT_EQ(rs->Fields("FTranTypeID").Value(), Variant(1));
}

TEST_F(BillSelect, CutOffProcessListsBillsDatedAfterTheCutOff)
{
    const std::string dateCondition = "AND u1.FDate > '2026-12-04'";
    auto rs = db.Execute(selectBills(dateCondition, "WHERE u1.FID > 0 " + dateCondition, true));
    std::vector<long> ids;
    for (; !rs->EOF(); rs->MoveNext())
        ids.push_back(host::CLng(rs->Fields("FInterID").Value()));
    EXPECT_EQ(ids, (std::vector<long>{106, 4}));
    // Without plan-tracking mode only the bills are listed.
    EXPECT_EQ(db.Execute(selectBills(dateCondition, "", false))->RecordCount(), 1);
}

} // namespace
