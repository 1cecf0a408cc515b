#include "backuptest.h"

#include "backup/backupstate.h"
#include "host/core/datetime.h"
#include "services/mparse.h"

namespace {

using BackupPrechecks = BackupTest;

host::Dictionary withCutDate(host::Dictionary p, const std::string &cutDate)
{
    p.SetValue("isCutDate", true);
    p.SetValue("CutDate", host::Variant::fromDate(*host::parseDate(cutDate)));
    return p;
}

} // namespace

TEST_F(BackupPrechecks, MaximaAndReservations)
{
    ICBackupInv backup;
    ASSERT_TRUE(backup.GetStockBillMaxID());
    EXPECT_EQ(backupState().gMaxBillInterID, 0);
    EXPECT_EQ(backupState().gMaxMTOChangeID, 0);

    addBill(30, 1, "2026-01-10", kItemPiece, 1, 1, 10, 0, 0);
    exec("insert into t_MTOChange (FID,FBillNo,FClassTypeID,FDate) values (8,'M8',1107011,"
         "'2026-01-10')");
    const struct
    {
        long user;
        const char *table;
        long number;
    } reservations[] = {{5, "ICStockBill", 30},
                        {5, "ICStockBill", 31},
                        {0, "ICStockBill", 12},
                        {5, "t_MTOChange", 8},
                        {5, "t_MTOChange", 9}};
    for (const auto &r : reservations)
        exec("insert into IC_MaxNum (FUserID,FTableName,FNumber) values (" +
             std::to_string(r.user) + ",'" + r.table + "'," + std::to_string(r.number) + ")");

    ASSERT_TRUE(backup.GetStockBillMaxID());
    EXPECT_EQ(backupState().gMaxBillInterID, 30);
    EXPECT_EQ(backupState().gMaxMTOChangeID, 8);
    EXPECT_EQ(rows("select FTableName,FNumber from IC_MaxNum where FFlag=1 order by FTableName,"
                   "FNumber"),
              (std::vector<Row>{{"ICStockBill", 30}, {"t_MTOChange", 8}}));
}

TEST_F(BackupPrechecks, StockRecordCount)
{
    addStock({kItemPiece, 1, 10, "", 3});
    ICBackupInv backup;
    const std::string noData = MParse::LoadLangString("没有可用的数据，不能备份！");
    EXPECT_EQ(backup.CheckStockRecCount(params("1")), "");
    EXPECT_EQ(backup.CheckStockRecCount(params("2")), noData);
    EXPECT_EQ(backup.CheckStockRecCount(params("1", " and (t4.FNumber = 'ZZZ')")), noData);
    EXPECT_EQ(backup.CheckStockRecCount(params("2"), true), ""); // tested by the balance itself
    EXPECT_EQ(backup.CheckStockRecCount(host::Dictionary()), noData);
    EXPECT_EQ(backup.CheckStockRecCount(params("1", " and (")),
              MParse::LoadLangString("检查仓库是否有数据时出错。"));
}

TEST_F(BackupPrechecks, UnauditedBillsAreListedByStockAndPlace)
{
    addBill(1, 1, "2026-01-10", kItemPiece, 1, 1, 10, 0, 0, false);  // receipt into 1
    addBill(2, 24, "2026-01-11", kItemPiece, 1, 0, 0, 1, 11, false); // issue from 1
    addBill(3, 41, "2026-01-12", kItemPiece, 1, 2, 10, 3, 0, false); // transfer 3 -> 2
    addBill(4, 1, "2026-01-13", kItemPiece, 1, 3, 10, 0, 0);         // audited
    addBill(5, 1, "2026-01-14", kItemPiece, 1, 2, 11, 0, 0, false);  // cancelled
    exec("update ICStockBill set FCancellation=1 where FInterID=5");
    ICBackupInv backup;
    ASSERT_TRUE(backup.GetStockBillMaxID());
    addBill(6, 1, "2026-01-15", kItemPiece, 1, 2, 11, 0, 0, false); // after the snapshot

    const std::string head =
        MParse::LoadLangString("以下仓库(仓位)有未审核的单据，不能备份：") + "\r\n";
    auto line = [](const std::string &stock, const std::string &place) {
        return MParse::FormatLangString("[%1]仓库,[%2]仓位", {stock, place}) + "\r\n";
    };
    const std::string result = backup.CheckBillInterID(params("1,2"));
    EXPECT_EQ(result.rfind(head, 0), 0u);
    EXPECT_NE(result.find(line("Stock 1", "Shelf A")), std::string::npos);
    EXPECT_NE(result.find(line("Stock 1", "Shelf B")), std::string::npos);
    EXPECT_NE(result.find(line("Stock 2", "Shelf A")), std::string::npos);
    EXPECT_EQ(result.find("Stock 3"), std::string::npos);
    EXPECT_EQ(result.find(line("Stock 2", "Shelf B")), std::string::npos);

    EXPECT_EQ(backup.CheckBillInterID(params("3")), head + line("Stock 3", ""));
    // Bills dated after the cut-off date do not count.
    EXPECT_EQ(backup.CheckBillInterID(withCutDate(params("1"), "2026-01-10")),
              head + line("Stock 1", "Shelf A"));
    EXPECT_EQ(backup.CheckBillInterID(withCutDate(params("1"), "2026-01-09")), "");
}

TEST_F(BackupPrechecks, UnauditedPlanTrackingChanges)
{
    exec("insert into t_MTOChange (FID,FBillNo,FClassTypeID,FDate,FCheckerID) values "
         "(1,'M1',1107011,'2026-01-10',0)");
    exec("insert into t_MTOChangeEntry (FID,FEntryID,FItemID,FStockID,FSPID,FUnitID,"
         "FChangeBaseQty) values (1,1,102,2,11,1,5)");
    ICBackupInv backup;
    ASSERT_TRUE(backup.GetStockBillMaxID());
    EXPECT_NE(backup.CheckBillInterID(params("2"))
                  .find(MParse::FormatLangString("[%1]仓库,[%2]仓位", {"Stock 2", "Shelf B"})),
              std::string::npos);
    exec("update t_MTOChange set FCheckerID=16394");
    EXPECT_EQ(backup.CheckBillInterID(params("2")), "");
}

TEST_F(BackupPrechecks, UnauditedBillSearchFailureIsShownAndReturned)
{
    ICBackupInv backup;
    const std::string message =
        MParse::LoadLangString("查找该仓库中在本最大内码之前是否还有未审核的单据出错。");
    EXPECT_EQ(backup.CheckBillInterID(params("")), message);
    EXPECT_EQ(messages(), (std::vector<std::string>{message}));
}

TEST_F(BackupPrechecks, SyncPosBillRunsOnlyWhenSwitchedOn)
{
    ICBackupInv backup;
    EXPECT_EQ(backup.SyncPosBill(), "");
    exec("insert into t_SystemProfile (FCategory,FKey,FValue) values ('IC','ICBillPos','1')");
    EXPECT_EQ(backup.SyncPosBill(), "");
}
