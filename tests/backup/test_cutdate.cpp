#include "backuptest.h"

#include "services/modulestate.h"
#include "services/mparse.h"

namespace {

class CutDateBackup : public BackupTest
{
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        // The host's current stock period: March 2026.
        module().gProcDict = std::make_shared<host::Dictionary>();
        module().gProcDict->SetValue("CurYear", 2026);
        module().gProcDict->SetValue("CurPeriod", 3);
    }

    void addBalance(long year, long period, long item, long stock, long place, double qty,
                    const std::string &stockInDate)
    {
        exec("insert into ICInvBal (FYear,FPeriod,FItemID,FStockID,FStockPlaceID,FBegQty,"
             "FSecBegQty,FStockInDate) values (" +
             std::to_string(year) + "," + std::to_string(period) + "," + std::to_string(item) +
             "," + std::to_string(stock) + "," + std::to_string(place) + "," +
             host::numberToText(qty) + ",0," +
             (stockInDate.empty() ? std::string("NULL") : "'" + stockInDate + "'") + ")");
    }

    // Book quantity of the count line, or -1 when there is none.
    double lineQty(long item, long stock, long place)
    {
        const auto v = scalar("select FQty from ICInvBackup where FItemID=" + std::to_string(item) +
                              " and FStockID=" + std::to_string(stock) +
                              " and FStockPlaceID=" + std::to_string(place) + " and FMtoNo=''");
        return v.isEmpty() ? -1 : host::CDbl(v);
    }

    bool backUpAt(const std::string &cutOff, const std::string &stock = "1,2")
    {
        ICBackupInv backup;
        return backUp(backup, params(stock, "", cutOff), true, cutOff);
    }
};

} // namespace

TEST_F(CutDateBackup, EarlierPeriodStartsFromItsOpeningBalance)
{
    addBalance(2026, 2, kItemPiece, 1, 10, 100, "2026-01-20");
    addBalance(2026, 2, kItemPiece, 1, 11, 60, "2026-02-20"); // stocked in after the cut-off
    addBalance(2026, 2, kItemPiece, 2, 11, 30, "");           // no stock-in date
    addBalance(2026, 2, kItemOther, 1, 10, 5, "2026-01-20");  // sums to 0: dropped
    addBalance(2026, 2, kItemOther, 1, 10, -5, "2026-01-20");
    addBalance(2026, 3, kItemPiece, 1, 10, 500, "2026-01-20"); // another period
    addBalance(2026, 2, kItemBox, 1, 10, 24, "2026-01-20");

    addBill(1, 1, "2026-02-15", kItemPiece, 7, 1, 10, 0, 0);          // on the cut-off day
    addBill(2, 1, "2026-02-16", kItemPiece, 1000, 1, 10, 0, 0);       // after it
    addBill(3, 21, "2026-02-10", kItemPiece, 3, 1, 10, 0, 0);         // issue on the receiving side
    addBill(4, 41, "2026-02-12", kItemPiece, 4, 2, 10, 1, 10);        // transfer 1 -> 2
    addBill(5, 1, "2026-01-25", kItemPiece, 200, 1, 10, 0, 0);        // before the period
    addBill(6, 1, "2026-02-11", kItemPiece, 300, 1, 10, 0, 0, false); // not audited
    addBill(7, 1, "2026-02-11", kItemPiece, 8, 1, 10, 0, 0, false);   // posted when saved
    exec("update ICStockBill set FUpStockWhenSave=1 where FInterID=7");
    // Issue of type 24 names the sending stock with the receiving place column.
    exec("insert into ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID) values "
         "(8,'B8',24,'2026-02-05',16394)");
    exec("insert into ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,FQty,FSCStockID,"
         "FDCSPID) values (8,1,102,1,2,1,10)");
    // Plan-tracking change within the place: out of '' into 'M1'.
    exec("insert into t_MTOChange (FID,FBillNo,FClassTypeID,FDate,FCheckerID) values "
         "(1,'M1',1107011,'2026-02-14',16394)");
    exec("insert into t_MTOChangeEntry (FID,FEntryID,FItemID,FStockID,FSPID,FFromMtoNo,"
         "FToMtoNo,FUnitID,FChangeBaseQty) values (1,1,102,1,10,'','M1',1,6)");
    // Receipts and issues that cancel out still make a line.
    addBill(9, 1, "2026-02-02", kItemOther, 5, 1, 11, 0, 0);
    addBill(10, 29, "2026-02-03", kItemOther, 5, 1, 11, 0, 0);

    ASSERT_TRUE(backUpAt("2026-02-15"));

    EXPECT_DOUBLE_EQ(lineQty(kItemPiece, 1, 10), 100 + 7 - 3 - 4 + 8 - 2 - 6);
    EXPECT_DOUBLE_EQ(host::CDbl(scalar("select FQty from ICInvBackup where FMtoNo='M1'")), 6);
    EXPECT_DOUBLE_EQ(lineQty(kItemPiece, 2, 10), 4);
    EXPECT_EQ(lineQty(kItemPiece, 1, 11), -1);
    EXPECT_EQ(lineQty(kItemPiece, 2, 11), -1);
    EXPECT_DOUBLE_EQ(lineQty(kItemOther, 1, 11), 0);
    EXPECT_EQ(lineQty(kItemOther, 1, 10), -1);
    EXPECT_DOUBLE_EQ(lineQty(kItemBox, 1, 10), 24);
    EXPECT_DOUBLE_EQ(host::CDbl(scalar("select FAuxQty from ICInvBackup where FItemID=101")), 2);
    EXPECT_EQ(host::CLng(scalar("select FUnitID from ICInvBackup where FItemID=101")), 2);

    const auto process = rows("select FBackupType,convert(varchar(10),FDate,120) from "
                              "ICStockCheckProcess");
    ASSERT_EQ(process.size(), 1u);
    EXPECT_EQ(host::CLng(process[0][0]), 2);
    EXPECT_EQ(host::CStr(process[0][1]), "2026-02-15");
    EXPECT_EQ(host::CStr(scalar("select distinct convert(varchar(10),FDateBackup,120) from "
                                "ICInvBackup")),
              "2026-02-15");
    EXPECT_EQ(count("ICInvBackupTemp"), 0);
}

// From the current period on, the current period's opening balance is the base.
TEST_F(CutDateBackup, CurrentOrLaterPeriodStartsFromTheCurrentPeriod)
{
    addBalance(2026, 3, kItemPiece, 1, 10, 50, "2026-02-01");
    addBalance(2026, 5, kItemPiece, 1, 10, 9000, "2026-02-01");
    addBill(1, 1, "2026-02-15", kItemPiece, 7, 1, 10, 0, 0);
    addBill(2, 1, "2026-03-10", kItemPiece, 5, 1, 10, 0, 0);
    addBill(3, 1, "2026-05-10", kItemPiece, 1, 1, 10, 0, 0);

    ASSERT_TRUE(backUpAt("2026-03-10"));
    EXPECT_DOUBLE_EQ(lineQty(kItemPiece, 1, 10), 55);

    exec("delete from ICInvBackup");
    ASSERT_TRUE(backUpAt("2026-05-10"));
    EXPECT_DOUBLE_EQ(lineQty(kItemPiece, 1, 10), 56);
}

// Started on its own, without the process list's dictionary, the backup takes the host's
// current period from its options.
TEST_F(CutDateBackup, WithoutTheProcessListTheHostOptionsGiveThePeriod)
{
    module().gProcDict.reset();
    exec("delete from t_SystemProfile where FKey in ('CurrentYear','CurrentPeriod')");
    exec("insert into t_SystemProfile (FCategory,FKey,FValue) values ('IC','CurrentYear','2026')");
    exec("insert into t_SystemProfile (FCategory,FKey,FValue) values ('IC','CurrentPeriod','3')");
    addBalance(2026, 3, kItemPiece, 1, 10, 50, "2026-02-01");
    addBill(2, 1, "2026-03-10", kItemPiece, 5, 1, 10, 0, 0);
    ASSERT_TRUE(backUpAt("2026-03-10"));
    EXPECT_DOUBLE_EQ(lineQty(kItemPiece, 1, 10), 55);
}

TEST_F(CutDateBackup, NothingToBackUpOrNoPeriodWritesNoProcess)
{
    EXPECT_FALSE(backUpAt("2026-02-15"));
    addBalance(2026, 2, kItemPiece, 1, 10, 100, "2026-01-20");
    EXPECT_FALSE(backUpAt("2031-01-01"));
    EXPECT_EQ(count("ICStockCheckProcess"), 0);
    EXPECT_EQ(count("ICInvBackup"), 0);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  MParse::LoadLangString("没有可用的数据，不能备份！"),
                  MParse::LoadLangString("截止日期超出已定义的会计期间范围，不能备份！")}));
    EXPECT_TRUE(lastMessageIsInformation());
}

// The last-check stamp of a cut-off backup goes by the items in the work table.
TEST_F(CutDateBackup, StampsCycleCountedItems)
{
    exec("update t_ICItemMaterial set FCheckCycle=7,FCheckCycUnit=11603 where FItemID=102");
    addBalance(2026, 2, kItemPiece, 1, 10, 100, "2026-01-20");
    ASSERT_TRUE(backUpAt("2026-02-15"));
    EXPECT_EQ(host::CStr(scalar("select convert(varchar(10),FLastCheckDate,120) from "
                                "t_ICItemMaterial where FItemID=102")),
              "2026-02-15");
}
