#include "backuptest.h"

#include "host/core/objectfactory.h"
#include "host/db/recordset/recordset.h"
#include "services/modulestate.h"
#include "services/mparse.h"

namespace {

using ProcessStore = BackupTest;

std::vector<long> ids(const std::shared_ptr<host::Recordset> &rs)
{
    std::vector<long> out;
    for (; !rs->EOF(); rs->MoveNext())
        out.push_back(host::CLng(rs->Fields("FID").Value()));
    return out;
}

std::shared_ptr<host::HostObject> change(const std::string &name, const std::string &remark,
                                         const std::string &fid)
{
    auto d = std::make_shared<host::Dictionary>();
    d->SetValue("ProcID", name);
    d->SetValue("Remark", remark);
    d->SetValue("FID", fid);
    return d;
}

} // namespace

TEST_F(ProcessStore, ListOrderClosedProcessesAndOperatorName)
{
    addProcess(1, "P1", "2026-01-01");
    addProcess(2, "P2", "2026-01-02", 1);
    addProcess(3, "P3", "2026-01-03", 0, 2);
    addProcess(4, "P4", "2026-01-04", 0, 999); // operator without a user row: not listed

    ICBackupInv backup;
    // The flag reads inverted: true lists the oldest first.
    EXPECT_EQ(ids(backup.GetProcList(true, true)), (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(ids(backup.GetProcList(true, false)), (std::vector<long>{3, 2, 1}));
    EXPECT_EQ(ids(backup.GetProcList(false, false)), (std::vector<long>{3, 1}));

    auto rs = backup.GetProcList(true, true);
    EXPECT_EQ(host::CStr(rs->Fields("username").Value()), "admin");
    EXPECT_EQ(host::CStr(rs->Fields("FProcessID").Value()), "P1");
}

TEST_F(ProcessStore, SaveProcRenamesAndKeepsQuotes)
{
    addProcess(1, "P1", "2026-01-01");
    addProcess(2, "P2", "2026-01-02");
    host::Vector changes;
    changes.Add(change("Spring count", "Bob's aisle", "2"));
    changes.Add(change("First", "", "1"));

    ICBackupInv backup;
    EXPECT_TRUE(backup.SaveProc(changes));
    EXPECT_EQ(rows("select FID,FProcessID,FRemark from ICStockCheckProcess order by FID"),
              (std::vector<Row>{{1, "First", ""}, {2, "Spring count", "Bob's aisle"}}));
    EXPECT_TRUE(backup.SaveProc(host::Vector()));
}

TEST_F(ProcessStore, SaveProcReportsAFailureAndWhatWentWrong)
{
    struct Failure
    {
        std::shared_ptr<host::HostObject> change;
        std::string cause;
    };
    const Failure failures[] = {
        {change("New", "", "not a number"), "Type mismatch"},
        {change("New", std::string(256, 'r'), "1"),
         "String or binary data would be truncated in table 'ICStockCheckProcess', column "
         "'FRemark': it holds 255 bytes"},
    };
    addProcess(1, "P1", "2026-01-01");
    for (const auto &f : failures) {
        const size_t shown = messages().size();
        host::Vector changes;
        changes.Add(f.change);
        ICBackupInv backup;
        EXPECT_FALSE(backup.SaveProc(changes));
        EXPECT_EQ(host::CStr(scalar("select FProcessID from ICStockCheckProcess")), "P1");
        ASSERT_EQ(messages().size(), shown + 1);
        EXPECT_TRUE(messages().back().starts_with(
            "保存盘点方案失败，请刷新盘点方案确信修改的方案名称不存在！\n" + f.cause))
            << messages().back();
        EXPECT_TRUE(lastMessageIsInformation());
    }
}

TEST_F(ProcessStore, DeleteTakesTheLinesAndFreesSelectedBillEntries)
{
    addStock({kItemPiece, 1, 10, "", 3});
    addStock({kItemPiece, 2, 10, "", 4});
    ICBackupInv backup;
    ASSERT_TRUE(backUp(backup, params("1")));
    ASSERT_TRUE(backUp(backup, params("2")));
    addBill(50, 1, "2026-01-10", kItemPiece, 1, 1, 10, 0, 0);
    exec("update ICStockBillEntry set FSelectedProcID=1");

    EXPECT_TRUE(backup.DelProcAndBackupData(1));
    EXPECT_EQ(count("ICStockCheckProcess"), 1);
    EXPECT_EQ(count("ICInvBackup", "FInterID=1"), 0);
    EXPECT_EQ(count("ICInvBackup", "FInterID=2"), 1);
    EXPECT_EQ(count("ICStockBillEntry", "FSelectedProcID=0"), 1);
    // A process that does not exist: nothing to do, and no failure.
    EXPECT_TRUE(backup.DelProcAndBackupData(77));
}

TEST_F(ProcessStore, FailedDeleteKeepsProcessAndLines)
{
    addStock({kItemPiece, 1, 10, "", 3});
    ICBackupInv backup;
    ASSERT_TRUE(backUp(backup, params("1")));
    exec("drop table ICStockBillEntry");
    EXPECT_FALSE(backup.DelProcAndBackupData(1));
    EXPECT_EQ(count("ICStockCheckProcess"), 1);
    EXPECT_EQ(count("ICInvBackup"), 1);
    ASSERT_EQ(messages().size(), 1U);
    EXPECT_TRUE(messages()[0].starts_with("删除盘点方案失败，方案和它的盘点数据都没有改动。\n"))
        << messages()[0];
}

TEST_F(ProcessStore, BillsMadeFromAProcess)
{
    ICBackupInv backup;
    EXPECT_EQ(backup.GetStockBillByProcID(3), "");
    addBill(60, 1, "2026-01-10", kItemPiece, 1, 1, 10, 0, 0);
    exec("update ICStockBill set FProcID=3 where FInterID=60");
    EXPECT_EQ(backup.GetStockBillByProcID(3), "B60");
    addBill(61, 1, "2026-01-10", kItemPiece, 1, 1, 10, 0, 0);
    exec("update ICStockBill set FProcID=3 where FInterID=61");
    EXPECT_EQ(backup.GetStockBillByProcID(3), "B60,B61");
}

TEST_F(ProcessStore, StockBackedUpAndFinished)
{
    ICBackupInv backup;
    EXPECT_FALSE(backup.StockIsBackuped(1));
    EXPECT_TRUE(backup.StockIsFinished(1)); // no lines at all

    addStock({kItemPiece, 1, 10, "", 3});
    ASSERT_TRUE(backUp(backup, params("1")));
    EXPECT_TRUE(backup.StockIsBackuped(1));
    EXPECT_FALSE(backup.StockIsFinished(1));

    addBill(70, 40, "2026-01-10", kItemPiece, 1, 1, 10, 0, 0);
    exec("update ICInvBackup set FBillInterID=70");
    EXPECT_TRUE(backup.StockIsFinished(1));

    exec("drop table ICInvBackup");
    EXPECT_FALSE(backup.StockIsBackuped(1));
    EXPECT_FALSE(backup.StockIsFinished(1));
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].rfind(MParse::LoadLangString("是否该仓库已备份过出错。"), 0), 0u);
    EXPECT_EQ(shown[1].rfind(MParse::LoadLangString("是否该仓库已完成输出盘点单据."), 0), 0u);
    EXPECT_GT(shown[1].size(), MParse::LoadLangString("是否该仓库已完成输出盘点单据.").size());
}

TEST_F(ProcessStore, CreatingTheClassPutsANewConnectionInTheSlot)
{
    int created = 0;
    auto previous =
        host::registerObject("ZarvoConnection.AppConnection", [&created, conn = m_conn] {
            ++created;
            return conn;
        });
    {
        ICBackupInv backup;
    }
    host::registerObject("ZarvoConnection.AppConnection", previous);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(module().gAppConn, m_conn); // kept after the class is released
}
