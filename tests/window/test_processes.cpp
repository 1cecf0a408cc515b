#include "countwindowtest.h"

#include "backup/backupstate.h"
#include "backup/frmbackuptype.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/label.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/modulestate.h"

#include <QAction>

#include <sqlite3.h>

namespace {

TEST_F(CountWindowTest, ChoosingTheProcessShownAgainReloadsNothing)
{
    backUp();
    const auto window = open(4);
    // The window swallows typed quotes.
    type(*window, 33, 1, "check'ed");
    ASSERT_TRUE(window->mModified);
    window->lstStock->setListIndex(window->lstStock->ListIndex());
    EXPECT_TRUE(m_modals->messageTexts().isEmpty());
    EXPECT_EQ(window->vsCheck->GetText(33, 1), QStringLiteral("checked"));
    EXPECT_TRUE(window->mModified);
}

TEST_F(CountWindowTest, CancelAtTheBackupTypeQuestionPutsTheChoiceBack)
{
    const long first = backUp();
    const long second = backUp();
    sql("Update ICStockCheckProcess Set FBackupType=0 Where FID=" + std::to_string(second));
    module().gCurInterID = first;
    const auto window = open(4);
    ASSERT_EQ(window->lstStock->ListCount(), 2);
    // Oldest first; the current process stays chosen.
    ASSERT_EQ(window->lstStock->ItemData(0), first);
    ASSERT_EQ(window->lstStock->ItemData(1), second);
    ASSERT_EQ(window->lstStock->ListIndex(), 0);
    m_modals->whileShown(
        [](host::ui::Form &form) { dynamic_cast<FrmBackupType &>(form).cmdCancel_Click(); });
    window->lstStock->setListIndex(1);
    EXPECT_EQ(window->lstStock->ListIndex(), 0);
    EXPECT_EQ(module().gCurInterID, first);
    // With a type chosen the process is shown.
    m_modals->whileShown([](host::ui::Form &form) {
        auto &dialog = dynamic_cast<FrmBackupType &>(form);
        dialog.OptCutDate_Click();
        dialog.cmdOK_Click();
    });
    window->lstStock->setListIndex(1);
    EXPECT_EQ(module().gCurInterID, second);
    EXPECT_EQ(
        number("Select FBackupType From ICStockCheckProcess Where FID=" + std::to_string(second)),
        2);
}

TEST_F(CountWindowTest, ALargeProcessIsWarnedAboutOncePerListing)
{
    const long id = backUp();
    // 10,001 copies of one line.
    const std::string copy =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
        std::to_string(10001) +
        ") INSERT INTO ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,"
        "FStockID,FStockPlaceID,FKFDate,FKFPeriod,FQty,FDateBackup,FMaxBillInterID) SELECT "
        "FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,'W'||i,FMtoNo,FStockID,FStockPlaceID,FKFDate,"
        "FKFPeriod,FQty,FDateBackup,FMaxBillInterID FROM n, (SELECT * FROM ICInvBackup WHERE "
        "FInterID=" +
        std::to_string(id) + " LIMIT 1)";
    ASSERT_EQ(sqlite3_exec(m_db->embedded()->handle(), copy.c_str(), nullptr, nullptr, nullptr),
              SQLITE_OK);
    const QString warning = QStringLiteral("方案数据已超过一万条，数据操作可能比较慢");
    const auto window = open(1);
    EXPECT_EQ(m_modals->messageTexts(), QStringList{warning});
    window->mnuView_Refresh_Click();
    window->mnuVSelectData_Checked_Click();
    window->mnuVSelectData_All_Click();
    EXPECT_EQ(m_modals->messageTexts().size(), 1);
    // A new listing warns again at the next load.
    window->mnuShowCloseProc_Click();
    window->mnuView_Refresh_Click();
    EXPECT_EQ(m_modals->messageTexts(), (QStringList{warning, warning}));
}

TEST_F(CountWindowTest, CommandsComeBackWhenALaterListingFindsProcesses)
{
    const auto window = open(4);
    EXPECT_EQ(window->lstStock->ListCount(), 0);
    EXPECT_FALSE(window->mnuAddItem->isEnabled());
    EXPECT_FALSE(window->barlist->Tools("Import").Enabled());
    backUp();
    window->mnuShowCloseProc_Click();
    EXPECT_EQ(window->lstStock->ListCount(), 1);
    for (QAction *item :
         {window->mnuAddItem, window->mnuSubItem, window->mnuFileOut, window->mnuFileIn})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    for (const char *tool : {"AddItem", "SubItem", "Export", "Import"})
        EXPECT_TRUE(window->barlist->Tools(tool).Enabled()) << tool;
}

TEST_F(CountWindowTest, AnEmptyResultClearsTheSnapshotLabelAndMaxima)
{
    const long id = backUp();
    sql("Update ICStockCheckProcess Set FMaxMTOChangeID=7 Where FID=" + std::to_string(id));
    const auto window = open(4);
    EXPECT_FALSE(window->labCheckDate->Caption().isEmpty());
    EXPECT_EQ(backupState().gMaxMTOChangeID, 7);
    sql("Delete From ICInvBackup Where FInterID=" + std::to_string(id));
    window->mnuView_Refresh_Click();
    EXPECT_EQ(window->vsCheck->MaxRows(), 0);
    EXPECT_TRUE(window->labCheckDate->Caption().isEmpty());
    EXPECT_EQ(backupState().gMaxBillInterID, 0);
    EXPECT_EQ(backupState().gMaxMTOChangeID, 0);
}

} // namespace
