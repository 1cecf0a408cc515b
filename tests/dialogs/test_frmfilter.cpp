#include "dialogtest.h"

#include "countsheet/countsheetwindows.h"
#include "dialogs/dialogsinstall.h"
#include "dialogs/frmfilter.h"
#include "host/core/dictionary.h"
#include "host/ui/spreadgrid.h"
#include "host/ui/tabcontrol.h"
#include "support/casename.h"

namespace {

class FilterDialog : public DialogTest
{
protected:
    // Shows the dialog of check mode on a tab, runs what the user does, and returns when it
    // has closed.
    void open(long tab, const std::function<void(frmFilter &)> &user)
    {
        installCountSheetDialogs();
        m_modals.whileShown([&](host::ui::Form &form) { user(static_cast<frmFilter &>(form)); });
        countSheetWindows().showFilter(1, tab);
    }

    // A condition row as the user fills it: field, comparison, value, logic.
    static void condition(frmFilter &d, int row, const QString &field, const QString &op,
                          const QString &value, const QString &logic)
    {
        type(*d.vsFilter, 1, row, field);
        d.vsFilter_ComboSelChange(1, row);
        type(*d.vsFilter, 2, row, op);
        d.vsFilter_ComboSelChange(2, row);
        if (!value.isEmpty())
            type(*d.vsFilter, 3, row, value);
        if (!logic.isEmpty())
            type(*d.vsFilter, 4, row, logic);
    }

    static void sortRow(frmFilter &d, int row, const QString &field, const QString &order)
    {
        type(*d.vsSortBy, 1, row, field);
        type(*d.vsSortBy, 2, row, order);
        d.vsSortBy_ComboSelChange(2, row);
    }

    std::string entry(const char *key) const
    {
        return host::CStr(module().gFilterDict->Value(key));
    }
};

TEST_F(FilterDialog, OkLeavesTheConditionsAndOrderWithQuotesDoubled)
{
    module().gFilterCancelled = true;
    open(0, [](frmFilter &d) {
        EXPECT_EQ(d.SSTab1->Tab(), 0);
        condition(d, 1, "物料名称", "=", "O'Brien", "and");
        EXPECT_EQ(d.vsFilter->MaxRows(), 2) << "a complete row gets a successor";
        condition(d, 2, "盘盈数量", ">", "5", "");
        sortRow(d, 1, "物料代码", "升序");
        sortRow(d, 2, "基本单位账存数量", "降序");
        d.cmdOK_Click();
    });
    EXPECT_FALSE(module().gFilterCancelled);
    EXPECT_EQ(entry("Filter"), "FName = 'O''Brien' and IsNull(FCUUnitOverQty,0) > 5");
    EXPECT_EQ(entry("SortBy"), "FItemShortNumber Asc ,FQty Desc ");
    EXPECT_TRUE(messages().empty());
}

TEST_F(FilterDialog, CancelClearsTheEarlierChoices)
{
    module().gFilterDict = std::make_shared<host::Dictionary>();
    module().gFilterDict->SetValue("Filter", std::string("FQty > 1"));
    open(0, [](frmFilter &d) { d.cmdCancel_Click(); });
    EXPECT_TRUE(module().gFilterCancelled);
    EXPECT_EQ(entry("Filter"), "");
    EXPECT_EQ(entry("SortBy"), "");
}

struct RefusalCase
{
    const char *name;
    std::function<void(frmFilter &)> fill;
    const char *message;
    int tab;
};

class FilterRefusal : public FilterDialog, public ::testing::WithParamInterface<RefusalCase>
{};

TEST_P(FilterRefusal, NamesTheRowAndStaysOpen)
{
    open(0, [](frmFilter &d) {
        GetParam().fill(d);
        d.cmdOK_Click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.SSTab1->Tab(), GetParam().tab);
        d.cmdCancel_Click();
    });
    ASSERT_EQ(messages().size(), 1U);
    EXPECT_EQ(messages()[0], GetParam().message);
}

const RefusalCase kRefusals[] = {
    {"comparison without a name", [](frmFilter &d) { DialogTest::type(*d.vsFilter, 2, 1, "="); },
     "第1行，[名称]列数据不完整！", 0},
    {"name without a comparison",
     [](frmFilter &d) { DialogTest::type(*d.vsFilter, 1, 1, "物料名称"); },
     "第1行，[比较]列数据不完整！", 0},
    {"the later of two incomplete rows is named",
     [](frmFilter &d) {
         DialogTest::type(*d.vsFilter, 1, 1, "物料名称");
         DialogTest::type(*d.vsFilter, 2, 1, "=");
         DialogTest::type(*d.vsFilter, 3, 1, "x");
         DialogTest::type(*d.vsFilter, 4, 1, "and");
         DialogTest::type(*d.vsFilter, 1, 1, "");
         DialogTest::type(*d.vsFilter, 2, 2, "<>");
     },
     "第2行，[名称]列数据不完整！", 0},
    {"sort field without an order",
     [](frmFilter &d) {
         d.SSTab1->setTab(0);
         DialogTest::type(*d.vsSortBy, 1, 1, "物料名称");
     },
     "第1行排序类型不能为空!", 1},
    {"sort order without a field",
     [](frmFilter &d) { DialogTest::type(*d.vsSortBy, 2, 1, "降序"); }, "第1行排序字段不能为空!",
     1},
};

INSTANTIATE_TEST_SUITE_P(Rows, FilterRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

} // namespace
