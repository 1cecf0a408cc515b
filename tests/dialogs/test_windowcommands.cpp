// The count-sheet window's add-line and select-bills commands, through the real dialogs.
#include "window/countwindowtest.h"

#include "dialogs/frmadditem.h"
#include "dialogs/frmselect.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"

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

} // namespace
