#include "commandwindowtest.h"

#include "countsheet/countsheetstate.h"
#include "dialogs/dialogtest.h"
#include "dialogs/frmfilter.h"
#include "dialogs/frmfind.h"
#include "host/core/settingsstore.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/listbox.h"
#include "host/ui/controls/optionbutton.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "window/frmmain.h"
#include "window/frmsetcolume.h"

namespace {

class FindFilterSort : public CommandWindowTest
{
protected:
    // Item names of the entry grid, top to bottom.
    static QStringList names(frmMain &window)
    {
        QStringList list;
        for (int r = 1; r < window.vsCheck->MaxRows(); ++r)
            list << window.vsCheck->GetText(7, r);
        return list;
    }

    // The one item that three lines count, renamed to hold a quote.
    void nameThreeLines()
    {
        auto rs = sql("Select FItemID From ICInvBackup Where FInterID=" + std::to_string(m_proc) +
                      " Group By FItemID Having Count(*)=3");
        ASSERT_GT(rs->RecordCount(), 0) << "the demo company counts an item in three lines";
        rs->MoveFirst();
        sql("Update t_ICItemBase Set FName='O''Brien 螺栓' Where FItemID=" +
            host::CStr(rs->Fields(0L).Value()));
    }
};

TEST_F(FindFilterSort, SortReloadsInTheChosenOrder)
{
    const auto window = openWindow(4);
    m_modals.whileShown([](host::ui::Form &form) {
        auto &d = static_cast<frmFilter &>(form);
        DialogTest::type(*d.vsSortBy, 1, 1, "物料名称");
        d.vsSortBy_ComboSelChange(1, 1);
        DialogTest::type(*d.vsSortBy, 2, 1, "降序");
        d.vsSortBy_ComboSelChange(2, 1);
        d.cmdOK_Click();
    });
    window->mnuEdit_Sort->trigger();
    const QStringList shown = names(*window);
    ASSERT_GT(shown.size(), 3);
    QStringList sorted = shown;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    EXPECT_EQ(shown.first(), sorted.first());
    EXPECT_EQ(shown.last(), sorted.last());
}

TEST_F(FindFilterSort, FilterWithAQuoteReloadsOnlyItsLines)
{
    nameThreeLines();
    const auto window = openWindow(4);
    m_modals.whileShown([](host::ui::Form &form) {
        auto &d = static_cast<frmFilter &>(form);
        DialogTest::type(*d.vsFilter, 1, 1, "物料名称");
        d.vsFilter_ComboSelChange(1, 1);
        DialogTest::type(*d.vsFilter, 2, 1, "=");
        d.vsFilter_ComboSelChange(2, 1);
        DialogTest::type(*d.vsFilter, 3, 1, "O'Brien 螺栓");
        d.cmdOK_Click();
    });
    window->mnuEdit_Filter->trigger();
    EXPECT_EQ(names(*window), QStringList(3, QStringLiteral("O'Brien 螺栓")));
    EXPECT_TRUE(messages().empty());
}

TEST_F(FindFilterSort, FindStepsThroughThreeMatchesThenAsksToStartAgain)
{
    nameThreeLines();
    const auto window = openWindow(4);
    std::vector<int> found;
    m_modals.whileShown([&](host::ui::Form &form) {
        auto &d = static_cast<frmFind &>(form);
        int nameRow = 0;
        for (int r = 1; r <= d.vspSearch->MaxRows(); ++r)
            if (d.vspSearch->GetText(1, r) == QStringLiteral("物料名称"))
                nameRow = r;
        ASSERT_GT(nameRow, 0);
        DialogTest::type(*d.vspSearch, 2, nameRow, "O'Brien");
        d.optBlur->setValue(true);
        for (int i = 0; i < 5; ++i) {
            d.cmdOK_Click();
            found.push_back(window->vsCheck->ActiveRow());
        }
        d.cmdCancel_Click();
    });
    m_modals.answer(host::ui::Msg::OK);
    window->mnuEdit_Find->trigger();

    ASSERT_EQ(found.size(), 5U);
    for (int i : {0, 1, 2})
        EXPECT_EQ(window->vsCheck->GetText(7, found[i]), "O'Brien 螺栓") << i;
    EXPECT_LT(found[0], found[1]);
    EXPECT_LT(found[1], found[2]);
    EXPECT_EQ(found[4], found[0]) << "after the end the find starts again";
    ASSERT_EQ(messages().size(), 1U);
    EXPECT_EQ(messages()[0], "你已搜索完全部记录，但没有找到相应的内容!是否重新搜索?");
}

TEST_F(FindFilterSort, HiddenLedgerColumnStaysHiddenAfterARestart)
{
    // Opens the chooser and sets the mark of a ledger column; 0 picks the second listed.
    auto choose = [this](frmMain &window, int &col, bool shown) {
        m_modals.whileShown([&col, shown](host::ui::Form &form) {
            auto &chooser = static_cast<frmSetColume &>(form);
            for (int i = 0; i < chooser.ColList->ListCount(); ++i)
                if (col == 0 ? i == 1 : chooser.ColList->ItemData(i) == col) {
                    col = static_cast<int>(chooser.ColList->ItemData(i));
                    chooser.ColList->setSelected(i, shown);
                }
            chooser.Command_Click(0);
        });
        window.mnuVViewHide->trigger();
    };
    // A new window after the settings were written to their file and read afresh.
    auto restart = [this] {
        countSheetState().gIni->sync();
        countSheetState().gIni.reset();
        return openWindow(1);
    };
    int col = 0;
    {
        const auto window = openWindow(1);
        choose(*window, col, false);
        ASSERT_GT(col, 1);
        EXPECT_TRUE(window->ldgCheck->Col(col).Switch(16));
    }
    {
        const auto window = restart();
        EXPECT_TRUE(window->ldgCheck->Col(col).Switch(16));
        choose(*window, col, true);
    }
    const auto window = restart();
    EXPECT_FALSE(window->ldgCheck->Col(col).Switch(16));
}

} // namespace
