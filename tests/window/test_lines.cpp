#include "commandwindowtest.h"

#include "host/core/settingsstore.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/spread/spreadgrid.h"
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

} // namespace
