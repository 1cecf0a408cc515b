// The count-sheet window's add-line and select-bills commands, through the real dialogs.
#include "window/countwindowtest.h"

#include "countsheet/countline.h"
#include "countsheet/countlinegrid.h"
#include "dialogs/frmadditem.h"
#include "dialogs/frmselect.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "support/casename.h"

#include <QAbstractItemModel>

namespace {

class DialogCommands : public CountWindowTest
{
protected:
    std::string text(const std::string &query)
    {
        auto rs = sql(query);
        rs->MoveFirst();
        return host::CStr(rs->Fields(0L).Value());
    }
};

TEST_F(DialogCommands, AMarkedBillGoesIntoTheLineAtOnce)
{
    const long id = backUp();
    sql("Update ICStockCheckProcess Set FBackupType=1 Where FID=" + std::to_string(id));
    const auto window = open(4);
    const int row = 1;
    auto cellText = [&](int col) { return window->vsCheck->GetText(col, row).toStdString(); };
    const std::string key =
        " Where FInterID=" + std::to_string(id) + " And FItemID=" + cellText(1) +
        " And FStockID=" + cellText(42) +
        " And FStockPlaceID=" + std::to_string(std::atol(cellText(35).c_str())) +
        " And FBatchNo='" + cellText(11) +
        "' And FAuxPropID=" + std::to_string(std::atol(cellText(41).c_str()));
    const double counted = number("Select FCheckQty From ICInvBackup" + key);
    // A receipt of 5 posted after the snapshot into the line's stock and place.
    const long bill = static_cast<long>(number("Select Max(FInterID) From ICStockBill")) + 1000;
    sql("IF NOT EXISTS (Select * From ICTransactionType Where FID=1) Insert Into "
        "ICTransactionType (FID,FName) Values (1,'外购入库')");
    sql("Insert Into ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID) Values (" +
        std::to_string(bill) + ",'WIN-T',1,GETDATE(),16)");
    sql("Insert Into ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,FDCStockID,FDCSPID,"
        "FBatchNo,FMtoNo,FAuxPropID,FKFPeriod,FKFDate,FQty) Select " +
        std::to_string(bill) +
        ",1,FItemID,FUnitID,FStockID,FStockPlaceID,FBatchNo,FMtoNo,FAuxPropID,FKFPeriod,"
        "CASE WHEN FKFDate='' THEN NULL ELSE FKFDate END,5 From ICInvBackup" +
        key);
    window->vsCheck->SetActiveCell(19, row);
    int listed = 0;
    m_modals->whileShown([&](host::ui::Form &form) {
        auto &select = dynamic_cast<frmSelect &>(form);
        auto &grid = *select.ldgSelect;
        listed = grid.Face().Rows() - 2;
        grid.setRow(3);
        emit grid.clicked(grid.model()->index(0, 1));
        select.mnuVCalulate_Click();
    });
    window->mnuVSelectBill_Click();
    ASSERT_EQ(listed, 1);
    EXPECT_EQ(number("Select FQtyAct From ICInvBackup" + key), counted - 5);
    EXPECT_EQ(number("Select FCheckQty From ICInvBackup" + key), counted);
    EXPECT_EQ(
        text("Select FSelectedProcID From ICStockBillEntry Where FInterID=" + std::to_string(bill)),
        std::to_string(id));
    EXPECT_TRUE(m_modals->messageTexts().isEmpty())
        << m_modals->messageTexts().join("\n").toStdString();
}

TEST_F(DialogCommands, AddItemSavesTheLineAndTheSheetShowsIt)
{
    const long id = backUp();
    // The demo company shows and matches codes by their number.
    const std::string item = text("Select FNumber From t_ICItem Where FDeleted=0 And "
                                  "FBatchManager=0 And FISKFPeriod=0 And FAuxClassID=0 And "
                                  "FErpClsID Not In (6,8) Order By FNumber");
    const std::string stock = text("Select FNumber From t_Stock Where FIsStockMgr=0 And "
                                   "FDeleted=0 Order By FNumber");
    const std::string key = " From ICInvBackup Where FInterID=" + std::to_string(id) +
                            " And FItemID=(Select FItemID From t_ICItem Where FNumber='" + item +
                            "') And FStockID=(Select FItemID From t_Stock Where "
                            "FNumber='" +
                            stock + "') And FBatchNo='' And FAuxPropID=0";
    const double before = number("Select IsNull(Sum(FAuxCheckQty),0)" + key);
    const auto window = open(4);
    m_modals->whileShown([&](host::ui::Form &form) {
        auto &add = dynamic_cast<frmAddItem &>(form);
        bool cancel = false;
        add.txtNumber->setText(QString::fromStdString(item));
        add.txtNumber_Validate(cancel);
        add.txtStockNumber->setText(QString::fromStdString(stock));
        add.txtStockNumber_Validate(cancel);
        add.grdQty->setCol(1);
        add.grdQty->setRow(1);
        add.grdQty->setValue(QStringLiteral("3"));
        add.cmdOK_Click();
    });
    window->mnuAddItem_Click();
    // The demo company asks before adding to a line it has; the default answer goes on.
    for (const QString &message : m_modals->messageTexts())
        EXPECT_EQ(message, QStringLiteral("已有相同记录，保存后将会累加盘点数量，是否继续？"));
    EXPECT_EQ(number("Select Sum(FAuxCheckQty)" + key), before + 3);
    const long lines = static_cast<long>(
        number("Select Count(*) From ICInvBackup Where FInterID=" + std::to_string(id) +
               " And FItemID In (Select FItemID From t_ICItem "
               "Where FDeleted<>1)"));
    EXPECT_EQ(window->vsCheck->MaxRows() - 1, lines);
}

// A book stock line's date as the host or another program may have stored it, which the backup
// copies into the count line: every text SQL Server reads as the date the sheet shows.
struct StoredDate
{
    const char *what;
    const char *text;
    int period;
};

const StoredDate kStoredDates[] = {
    {"none", "", 0},
    {"none with a period", "", 180},
    {"none padded", "   ", 0},
    {"first day written out", "1900-01-01", 0},
    {"first day with a period", "1900-01-01", 180},
    {"plain day", "2024-01-05", 180},
    {"padded day", " 2024-01-05  ", 180},
    {"midnight to the minute", "2026-11-15 00:00", 180},
    {"midnight to the second", "2024-01-05 00:00:00", 180},
    {"digits only", "20240105", 180},
    {"slashes", "2024/1/5", 365},
};

class StoredDateLine : public DialogCommands, public ::testing::WithParamInterface<StoredDate>
{};

TEST_P(StoredDateLine, IsSavedTakesItsBillsAndIsRemoved)
{
    const StoredDate &c = GetParam();
    // An item of one book stock line, without a second unit.
    const auto item = static_cast<long>(
        number("Select Min(FItemID) From (Select n.FItemID From ICInventory n Join t_ICItem i On "
               "i.FItemID=n.FItemID Where i.FSecUnitID=0 And i.FDeleted=0 Group By n.FItemID "
               "Having Count(*)=1 And Sum(n.FQty)>0) x"));
    sql("Update ICInventory Set FKFDate='" + std::string(c.text) +
        "',FKFPeriod=" + std::to_string(c.period) + " Where FItemID=" + std::to_string(item));
    const std::string id = std::to_string(backUp());
    sql("Update ICStockCheckProcess Set FBackupType=1 Where FID=" + id);
    const std::string line =
        " From ICInvBackup Where FInterID=" + id + " And FItemID=" + std::to_string(item);
    ASSERT_EQ(text("Select FKFDate" + line), c.text);
    // No book stock, so that the line may be removed.
    sql("Update ICInvBackup Set FQty=0,FAuxQty=0,FCheckQty=0,FAuxCheckQty=0,FQtyAct=0,"
        "FAuxQtyAct=0,FMinus=0" +
        line);
    const auto window = open(4);
    const int row =
        findRow(*window, [&](int r) { return readCountLine(*window->vsCheck, r).itemId == item; });

    type(*window, EntryCol::CUUnitCheckQty, row, "7");
    window->mnuFSave->trigger();
    EXPECT_EQ(number("Select FAuxCheckQty" + line), 7);
    EXPECT_FALSE(window->mModified);

    postBill(*window, row, true, 5, 0);
    EXPECT_EQ(selectAllBills(*window, row), 1);
    EXPECT_EQ(number("Select FQtyAct" + line), number("Select FCheckQty" + line) - 5);
    EXPECT_EQ(number("Select Count(*) From ICStockBillEntry Where FSelectedProcID=" + id), 1);

    m_modals->answer(host::ui::Msg::Yes);
    window->mnuSubItem->trigger();
    EXPECT_EQ(number("Select Count(*)" + line), 0);
    EXPECT_EQ(m_modals->messageTexts(), QStringList{"是否真的要删除此项物料？"});
}

INSTANTIATE_TEST_SUITE_P(Forms, StoredDateLine, ::testing::ValuesIn(kStoredDates),
                         [](const auto &param) { return caseName(param.index, param.param.what); });

} // namespace
