#include "windowtest.h"

#include "backup/frmbackuptype.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/optionbutton.h"
#include "services/pubvariant.h"

namespace {

class BackupType : public WindowTest
{
protected:
    // The dialog shown modally as the count sheet shows it, with what the user does in it.
    static std::pair<long, bool> ask(const std::function<void(FrmBackupType &)> &user)
    {
        FrmBackupType dialog;
        host::ui::ScriptedModals modals;
        modals.whileShown([&](host::ui::Form &form) { user(dynamic_cast<FrmBackupType &>(form)); });
        dialog.Show(1);
        return {dialog.BackupType(), dialog.Cancel()};
    }

    void addLine(long process, long maxBill)
    {
        exec("insert into ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,"
             "FMtoNo,FStockID,FStockPlaceID,FSelect,FAdj,FAdjQty,FMaxBillInterID) values (" +
             std::to_string(process) + ",'0',102,0,1,'','',1,10,0,0,0," + std::to_string(maxBill) +
             ")");
    }
};

} // namespace

TEST_F(BackupType, DialogAnswers)
{
    EXPECT_EQ(ask([](FrmBackupType &d) { d.cmdOK->click(); }), std::pair(1L, false));
    EXPECT_EQ(ask([](FrmBackupType &d) {
                  d.OptCutDate->click();
                  d.cmdOK->click();
              }),
              std::pair(2L, false));
    EXPECT_EQ(ask([](FrmBackupType &d) {
                  d.OptCutDate->click();
                  d.OpCurStock->click();
                  d.cmdOK->click();
              }),
              std::pair(1L, false));
    EXPECT_EQ(ask([](FrmBackupType &d) { d.cmdCancel->click(); }).second, true);
    // The close box only hides the dialog: its answer can still be read, and it is Cancel.
    FrmBackupType dialog;
    host::ui::ScriptedModals modals;
    modals.whileShown([](host::ui::Form &form) {
        auto &d = dynamic_cast<FrmBackupType &>(form);
        d.OptCutDate->click();
        d.close();
        EXPECT_FALSE(d.isVisible());
        EXPECT_TRUE(d.isLoaded());
    });
    dialog.Show(1);
    EXPECT_EQ(dialog.BackupType(), 2);
    EXPECT_TRUE(dialog.Cancel());
    EXPECT_EQ(dialog.Caption(), QStringLiteral("选择盘点类型"));
    EXPECT_EQ(dialog.cmdOK->Caption(), QStringLiteral("确定(&O)"));
}

TEST_F(BackupType, StoresTheTypeAndFillsAMissingBillMark)
{
    addProcess(1, "p1", "2026-12-01");
    addProcess(2, "p2", "2026-12-01");
    addProcess(3, "p3", "2026-12-01");
    exec("update ICStockCheckProcess set FMaxBillInterID=NULL where FID=1");
    exec("update ICStockCheckProcess set FMaxBillInterID=0 where FID=2");
    exec("update ICStockCheckProcess set FMaxBillInterID=40 where FID=3");
    addLine(2, 17);
    addLine(2, 25);
    addLine(3, 99);
    auto dict = std::make_shared<host::Dictionary>();
    dict->SetValue("2|CuteDate", "2026-12-01");
    for (long id : {1, 2, 3})
        EXPECT_TRUE(PubVariant::SetBackupType(id, id == 3 ? 2 : 1, dict));
    EXPECT_EQ(rows("select FID,FBackupType,FMaxBillInterID from ICStockCheckProcess order by FID"),
              (std::vector<Row>{{1, 1, host::Variant::null()}, {2, 1, 25}, {3, 2, 40}}));
    EXPECT_EQ(dict->Value("1|BackupType"), host::Variant(1));
    EXPECT_TRUE(dict->Value("1|MaxInterID").isNull());
    EXPECT_EQ(dict->Value("2|MaxInterID"), host::Variant(25));
    EXPECT_EQ(dict->Value("3|BackupType"), host::Variant(2));
    EXPECT_EQ(dict->Value("3|MaxInterID"), host::Variant(40));
    EXPECT_EQ(dict->Value("2|CuteDate"), host::Variant("2026-12-01"));

    // An unknown process changes no entry and still succeeds.
    EXPECT_TRUE(PubVariant::SetBackupType(9, 1, dict));
    EXPECT_FALSE(dict->Exists("9|BackupType"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(BackupType, FailureIsShownAndReported)
{
    addProcess(1, "p1", "2026-12-01");
    EXPECT_FALSE(PubVariant::SetBackupType(1, 2, nullptr));
    exec("drop table ICInvBackup");
    auto dict = std::make_shared<host::Dictionary>();
    EXPECT_FALSE(PubVariant::SetBackupType(1, 2, dict));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"设置盘点方案备份类型错误!", "设置盘点方案备份类型错误!"}));
    EXPECT_EQ(m_modals->messages().back().style, 0);
    // The type was written before the failing statement.
    EXPECT_EQ(host::CLng(scalar("select FBackupType from ICStockCheckProcess where FID=1")), 2);
    EXPECT_EQ(dict->Count(), 0);
}
