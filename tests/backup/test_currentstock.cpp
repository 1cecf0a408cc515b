#include "backuptest.h"

#include "services/mparse.h"

#include <map>
#include <tuple>

namespace {

using BackupCurrentStock = BackupTest;

struct LineKey
{
    long item, stock, place;
    std::string batch, mto;
    long aux;
    std::string kfDate;
    long kfPeriod;
    auto operator<=>(const LineKey &) const = default;
};

} // namespace

// The snapshot groups the book stock by its position and converts to the item's stock unit;
// the oracle here groups the same rows in plain C++.
TEST_F(BackupCurrentStock, LinesEqualTheGroupedBookStock)
{
    const std::vector<StockRow> stock = {
        {kItemBox, 1, 10, "L1", 24, 2.5},
        {kItemBox, 1, 10, "L1", 36, 1.5},                        // same position: summed
        {kItemBox, 1, 10, "L2", 12, 0},                          // another batch
        {kItemBox, 1, 11, "L1", 6, 3},                           // another place
        {kItemBox, 1, 10, "L1", 5, 0, "MTO-7"},                  // another plan-tracking number
        {kItemBox, 1, 10, "L1", 7, 0, "", 4},                    // another auxiliary property
        {kItemBox, 1, 10, "L1", 9, 0, "", 0, "2026-01-05", 180}, // shelf-life data
        {kItemPiece, 1, 0, "", 0.1},
        {kItemPiece, 1, 0, "", 0.2},
        {kItemPiece, 2, 10, "", 40},
        {kItemOther, 3, 10, "", 99}, // a stock not chosen
    };
    for (const auto &row : stock)
        addStock(row);

    ICBackupInv backup;
    ASSERT_TRUE(backUp(backup, params("1,2")));

    struct Sum
    {
        double qty = 0, secQty = 0;
    };
    std::map<LineKey, Sum> expected;
    for (const auto &r : stock) {
        if (r.stock == 3)
            continue;
        auto &sum =
            expected[{r.item, r.stock, r.place, r.batch, r.mto, r.aux, r.kfDate, r.kfPeriod}];
        sum.qty += r.qty;
        sum.secQty += r.secQty;
    }

    const auto lines =
        rows("select FItemID,FStockID,FStockPlaceID,FBatchNo,FMtoNo,FAuxPropID,FKFDate,FKFPeriod,"
             "FQty,FCheckQty,FQtyAct,FAuxQty,FAuxCheckQty,FAuxQtyAct,FUnitID,FSecUnitID,FSecQty,"
             "FSecCheckQty,FSecQtyAct,FAdjQty,FInterID,FMaxBillInterID from ICInvBackup");
    ASSERT_EQ(lines.size(), expected.size());
    for (const auto &l : lines) {
        const LineKey key{host::CLng(l[0]), host::CLng(l[1]), host::CLng(l[2]), host::CStr(l[3]),
                          host::CStr(l[4]), host::CLng(l[5]), host::CStr(l[6]), host::CLng(l[7])};
        SCOPED_TRACE(std::to_string(key.item) + "/" + key.batch + "/" + key.mto);
        ASSERT_EQ(expected.count(key), 1u);
        const Sum sum = expected.at(key);
        const bool box = key.item == kItemBox;
        const double coefficient = box ? 12 : 1;
        for (int column : {8, 9, 10})
            EXPECT_NEAR(host::CDbl(l[column]), sum.qty, 1e-9);
        for (int column : {11, 12, 13})
            EXPECT_NEAR(host::CDbl(l[column]), sum.qty / coefficient, 1e-9);
        EXPECT_EQ(host::CLng(l[14]), box ? 2 : 1);
        EXPECT_EQ(host::CLng(l[15]), box ? 3 : 0);
        EXPECT_NEAR(host::CDbl(l[16]), sum.secQty, 1e-9);
        // Counted and actual second quantities follow the book one only where it is not 0.
        EXPECT_NEAR(host::CDbl(l[17]), sum.secQty, 1e-9);
        EXPECT_NEAR(host::CDbl(l[18]), sum.secQty, 1e-9);
        EXPECT_EQ(host::CDbl(l[19]), 0);
        EXPECT_EQ(host::CLng(l[20]), 1);
    }

    const auto process = rows("select FID,FProcessID,FDate,FOperatorID,FStatus,FRemark,"
                              "FBackupType from ICStockCheckProcess");
    ASSERT_EQ(process.size(), 1u);
    EXPECT_EQ(host::CLng(process[0][0]), 1);
    EXPECT_EQ(host::CStr(process[0][1]).size(), 12u);
    EXPECT_EQ(host::CStr(process[0][2]).substr(0, 10), today());
    EXPECT_EQ(host::CLng(process[0][3]), kOperator);
    EXPECT_EQ(host::CLng(process[0][4]), 0);
    EXPECT_EQ(host::CStr(process[0][5]), "");
    EXPECT_EQ(host::CLng(process[0][6]), 1);
    EXPECT_EQ(count("ICInvBackupTemp"), 0);
}

TEST_F(BackupCurrentStock, SnapshotMaximaAreWrittenIntoProcessAndLines)
{
    addStock({kItemPiece, 1, 10, "", 5});
    addBill(41, 1, "2026-01-10", kItemPiece, 5, 1, 10, 0, 0);
    exec("insert into t_MTOChange (FID,FBillNo,FClassTypeID,FDate) values (17,'M17',1107011,"
         "'2026-01-10')");
    ICBackupInv backup;
    ASSERT_TRUE(backUp(backup, params("1")));
    EXPECT_EQ(host::CLng(scalar("select FMaxBillInterID from ICStockCheckProcess")), 41);
    EXPECT_EQ(host::CLng(scalar("select FMaxMTOChangeID from ICStockCheckProcess")), 17);
    EXPECT_EQ(host::CLng(scalar("select FMaxBillInterID from ICInvBackup")), 41);
}

TEST_F(BackupCurrentStock, FilterNarrowsItemsAndPlaces)
{
    addStock({kItemBox, 1, 10, "", 12});
    addStock({kItemPiece, 1, 10, "", 3});
    addStock({kItemPiece, 1, 11, "", 4});
    ICBackupInv backup;
    ASSERT_TRUE(backUp(backup, params("1", " and (t4.FNumber like '%02%' and t5.FName = "
                                           "'Shelf B')")));
    const auto lines = rows("select FItemID,FStockPlaceID,FQty from ICInvBackup");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(host::CLng(lines[0][0]), kItemPiece);
    EXPECT_EQ(host::CLng(lines[0][1]), 11);
}

TEST_F(BackupCurrentStock, LastCheckDateIsStampedOnCycleCountedItemsOnly)
{
    exec("update t_ICItemMaterial set FCheckCycle=30,FCheckCycUnit=11603 where FItemID=101");
    addStock({kItemBox, 1, 10, "", 12});
    addStock({kItemPiece, 1, 10, "", 3});
    ICBackupInv backup;
    ASSERT_TRUE(backUp(backup, params("1", "", "2026-02-03")));
    EXPECT_EQ(host::CStr(scalar("select convert(varchar(10),FLastCheckDate,120) from "
                                "t_ICItemMaterial where FItemID=101")),
              "2026-02-03");
    EXPECT_TRUE(scalar("select FLastCheckDate from t_ICItemMaterial where FItemID=102").isNull());
}

// A snapshot without lines succeeds but writes nothing: no process, no counter change.
TEST_F(BackupCurrentStock, EmptySnapshotWritesNothing)
{
    addStock({kItemPiece, 2, 10, "", 3});
    ICBackupInv backup;
    EXPECT_TRUE(backUp(backup, params("1")));
    EXPECT_EQ(count("ICStockCheckProcess"), 0);
    EXPECT_EQ(count("ICInvBackup"), 0);
    EXPECT_EQ(host::CLng(scalar("select FCurNo from icbillno")), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(BackupCurrentStock, QuotesInTheDateCannotBreakTheBatch)
{
    addStock({kItemPiece, 1, 10, "", 3});
    ICBackupInv backup;
    EXPECT_FALSE(backUp(backup, params("1", "", "2026-01-01' --")));
    EXPECT_EQ(count("ICStockCheckProcess"), 0);
}

TEST_F(BackupCurrentStock, RefusesWithoutFreshSnapshotMaxima)
{
    addStock({kItemPiece, 1, 10, "", 3});
    exec("drop table t_MTOChange");
    ICBackupInv backup;
    EXPECT_FALSE(backup.GetStockBillMaxID());
    EXPECT_FALSE(backup.BackUpData(params("1"), false, 0, false, true));
    EXPECT_EQ(count("ICStockCheckProcess"), 0);
    EXPECT_EQ(count("ICInvBackup"), 0);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              MParse::LoadLangString("读取单据最大内码失败，不能备份！")}));
    EXPECT_TRUE(lastMessageIsInformation());
}

// A backup runs only on maxima read for it: once a backup ended, the next must read them again.
TEST_F(BackupCurrentStock, MaximaServeOneBackup)
{
    addStock({kItemPiece, 1, 10, "", 3});
    ICBackupInv backup;
    {
        const BackupScope scope;
        ASSERT_TRUE(backup.GetStockBillMaxID());
        ASSERT_TRUE(backup.BackUpData(params("1"), false, 0, false, true));
    }
    EXPECT_FALSE(backup.BackUpData(params("1"), false, 0, false, true));
    EXPECT_EQ(count("ICStockCheckProcess"), 1);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].starts_with(MParse::LoadLangString("备份数据失败！")));
}

// 0.1 + 0.2 of one position must be stored as 0.3 exactly: a binary remainder would show as a
// phantom difference once a count of 0.3 is entered.
TEST_F(BackupCurrentStock, SummedQuantitiesKeepTheColumnScale)
{
    addStock({kItemPiece, 1, 0, "", 0.1});
    addStock({kItemPiece, 1, 0, "", 0.2});
    ICBackupInv backup;
    ASSERT_TRUE(backUp(backup, params("1")));
    EXPECT_EQ(count("ICInvBackup", "FQty=0.3"), 1);
}
