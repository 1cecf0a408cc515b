#include "commandwindowtest.h"

#include "host/core/settingsstore.h"
#include "host/db/recordset.h"
#include "host/ui/comboboxcontrol.h"
#include "host/ui/spreadgrid.h"
#include "services/modulestate.h"
#include "window/frmmain.h"

namespace {

class LineCommands : public CommandWindowTest
{
protected:
    long lines()
    {
        return count("Select * From ICInvBackup Where FInterID=" + std::to_string(m_proc));
    }

    // The first grid row whose book quantity is (or is not) zero.
    static int rowWithBook(frmMain &window, bool zero)
    {
        for (int r = 1; r < window.vsCheck->MaxRows(); ++r)
            if ((window.vsCheck->GetText(17, r).toDouble() == 0) == zero)
                return r;
        return 0;
    }
};

TEST_F(LineCommands, DeleteRefusesBookStockAndRemovesALineWithout)
{
    sql("Update ICInvBackup Set FQty=0,FAuxQty=0 Where FInterID=" + std::to_string(m_proc) +
        " And FItemID=(Select Max(FItemID) From ICInvBackup Where FInterID=" +
        std::to_string(m_proc) + ")");
    const long before = lines();
    const auto window = openWindow(4);
    const int shown = window->vsCheck->MaxRows();

    const int stocked = rowWithBook(*window, false);
    ASSERT_GT(stocked, 0);
    window->vsCheck->SetActiveCell(6, stocked);
    m_modals.answer(host::ui::Msg::Yes);
    window->mnuSubItem->trigger();
    EXPECT_EQ(lines(), before);
    ASSERT_EQ(messages().size(), 2U);
    EXPECT_EQ(messages()[1], "不能删除有账存余额的物料");

    const int empty = rowWithBook(*window, true);
    ASSERT_GT(empty, 0);
    window->vsCheck->SetActiveCell(6, empty);
    m_modals.answer(host::ui::Msg::No);
    window->mnuSubItem->trigger();
    EXPECT_EQ(lines(), before) << "No keeps the line";

    m_modals.answer(host::ui::Msg::Yes);
    window->mnuSubItem->trigger();
    EXPECT_EQ(lines(), before - 1);
    EXPECT_EQ(window->vsCheck->MaxRows(), shown - 1) << "the sheet is read again";
}

TEST_F(LineCommands, DeleteOnTheTotalsRowAsksNothing)
{
    const long before = lines();
    const auto window = openWindow(4);
    window->vsCheck->SetActiveCell(6, window->vsCheck->MaxRows());
    window->mnuSubItem->trigger();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(lines(), before);
}

TEST_F(LineCommands, AlertSwitchAndClosedProcessesAreStored)
{
    sql("Update ICStockCheckProcess Set FStatus=1 Where FID<>" + std::to_string(m_proc));
    const auto window = openWindow(4);
    auto alert = [this] {
        return host::CStr(sql("Select FValue From t_SystemProfile Where FCategory='IC' And "
                              "FKey='AlertSameCheckStockRecord'")
                              ->Fields(0L)
                              .Value());
    };
    const bool was = window->mnuAlertSame->isChecked();
    window->mnuAlertSame->trigger();
    EXPECT_EQ(alert(), was ? "0" : "1");
    window->mnuAlertSame->trigger();
    EXPECT_EQ(alert(), was ? "1" : "0");

    const int open = window->lstStock->count();
    window->mnuShowCloseProc->trigger();
    EXPECT_EQ(host::CStr(module().gIni->read("ZARVOSTOCKPRICE", "ldgCheck_ShowCloseProc", "")),
              "1");
    EXPECT_EQ(window->lstStock->count(), count("Select * From ICStockCheckProcess"));
    EXPECT_LE(open, window->lstStock->count());
}

} // namespace
