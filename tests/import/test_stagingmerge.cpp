// The import's own statements on its staged rows: the direction check completes them from the
// count lines and takes out those whose differences point different ways, and the merge moves a
// place onto its stock's own group, updates the lines the rows match and adds the rest.
#include "importfixture.h"

#include "import/directioncheck.h"
#include "import/mergesql.h"
#include "import/stagingrow.h"
#include "import/stagingtable.h"
#include "import/tempinsertsql.h"

#include <vector>

namespace {

using MergeSql = std::string (*)(const std::string &tableName);

// The server's merge, and the embedded database's that writes no key column that stays.
class StagingMergeTest : public ImportDatabaseTest, public ::testing::WithParamInterface<MergeSql>
{
protected:
    static constexpr long kNamesakePlace = 9602; // "P1 一号位" of another group
    static constexpr long kForeignPlace = 9603;  // a place of that group only

    void SetUp() override
    {
        ImportDatabaseTest::SetUp();
        db->Execute("insert into t_SPGroup (FSPGroupID,FNumber,FName) values (96,'96','别的组')");
        db->Execute("insert into t_StockPlace (FSPID,FSPGroupID,FNumber,FShortNumber,FName) "
                    "values (9602,96,'P1','SP1','一号位'),(9603,96,'P3','SP3','三号位')");
        run.tableName = StagingTable::name(16, host::makeDate({2026, 12, 7, 10, 15, 0}));
        run.backupTime = "2026-12-07 10:15:00";
        run.maxBillInterID = kMaxBill;
        db->Execute(StagingTable::createSql(run.tableName));
    }

    struct Staged
    {
        long item;
        long place;
        std::string batch;
        double checkQty; // in the counting unit: 12 pieces for item 9006, 1 for the others
        double secCheckQty;
        double secAdjQty;
        std::string mtoNo = {};
    };

    void stage(const std::vector<Staged> &rows)
    {
        long rowNum = 0;
        for (const auto &s : rows) {
            const bool twoUnits = s.item == kTwoUnitItem;
            StagingRow row;
            row.itemId = s.item;
            row.unitId = twoUnits ? 102L : 100L;
            row.coefficientByUnit = twoUnits ? 12 : 1;
            row.stockId = kStock;
            row.placeId = s.place;
            row.auxPropId = 0L;
            row.secUnitId = twoUnits ? 105L : 0L;
            row.batchNo = s.batch;
            row.mtoNo = s.mtoNo;
            row.kfDate = "";
            row.checkQty = s.checkQty;
            row.secCheckQty = s.secCheckQty;
            row.secQtyAct = s.secCheckQty;
            row.secAdjQty = s.secAdjQty;
            row.note = "imported";
            row.rowNum = ++rowNum;
            db->Execute(PubVariant::GetTempInsertSQL(run, row));
        }
    }

    StagingRun run;
};

TEST_P(StagingMergeTest, CheckedRowsReachTheirLinesAndPlaces)
{
    // Item 9001's line holds 10, item 9006's 10 pieces and 5 in its second unit; item 9003's
    // line has its batch and plan-tracking number written in small letters.
    db->Execute("insert into ICInvBackup (FInterID,FItemID,FUnitID,FBatchNo,FMtoNo,FStockID,FQty,"
                "FStockPlaceID,FKFDate) values (900,9003,100,'x5','mto-a',9501,2,9601,'')");
    stage({{kTwoUnitItem, kPlace, "", 1, 7, 1.23456},
           {kPlainItem, kPlace, "", 9, 0, 0},
           {kPlainItem, kPlace, "B9", 0, 1, 0}, // no base difference, a second-unit one
           {kBatchItem, kPlace, "B1", 4, 0, 0},
           {kShelfLifeItem, kNamesakePlace, "", 2, 0, 0},
           {kSerialItem, kForeignPlace, "", 3, 0, 0},
           {kAuxItem, kPlace, "X5", 3, 0, 0, "MTO-A"}});

    const auto refused = PubVariant::CheckTempUnitDirection(run.tableName);
    ASSERT_TRUE(refused);
    ASSERT_EQ(refused->RecordCount(), 1);
    EXPECT_EQ(host::CLng(refused->Fields("FRowNum").Value()), 3);
    db->Execute(GetParam()(run.tableName) + PubVariant::GetInsertFromTempSQL(run.tableName));

    const struct
    {
        long item;
        const char *column;
        double expected;
    } lines[] = {
        {kTwoUnitItem, "FQty", 10}, // the book quantity stays
        {kTwoUnitItem, "FCheckQty", 12},
        {kTwoUnitItem, "FAuxCheckQty", 1},
        {kTwoUnitItem, "FSecQtyAct", 7},
        {kTwoUnitItem, "FSecAdjQty", 1.23}, // to the item's two decimals
        {kTwoUnitItem, "FMinus", 2},
        {kTwoUnitItem, "FSecMinus", 0.77},
        {kPlainItem, "FCheckQty", 9},
        {kPlainItem, "FMinus", -1},
        {kPlainItem, "FChecker", kOperator},
        {kBatchItem, "FQty", 0},
        {kBatchItem, "FAuxQty", 0},
        {kBatchItem, "FCheckQty", 4},
        {kShelfLifeItem, "FStockPlaceID", kPlace},
        {kSerialItem, "FStockPlaceID", kForeignPlace},
        {kAuxItem, "FQty", 2},
        {kAuxItem, "FMinus", 1},
    };
    for (const auto &line : lines) {
        EXPECT_NEAR(host::CDbl(lineValue(line.item, line.column)), line.expected, 1e-9)
            << line.item << " " << line.column;
    }
    EXPECT_EQ(countLines(kPlainItem), 1);
    EXPECT_EQ(countLines(kAuxItem), 1);
    EXPECT_EQ(host::CStr(lineValue(kBatchItem, "FNote")), "imported");
    // Every key text as the sheet spells it.
    EXPECT_EQ(host::CStr(lineValue(kAuxItem, "FBatchNo")), "X5");
    EXPECT_EQ(host::CStr(lineValue(kAuxItem, "FMtoNo")), "MTO-A");
    EXPECT_EQ(stagingTables(), 0);
}

INSTANTIATE_TEST_SUITE_P(Merges, StagingMergeTest,
                         ::testing::Values(&PubVariant::GetUpdateFromTempSQL,
                                           &PubVariant::GetUpdateKeepingKeysFromTempSQL),
                         [](const auto &param) {
                             return std::string(param.index == 0 ? "Server" : "Embedded");
                         });

} // namespace
