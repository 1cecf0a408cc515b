#include "dialogs/dialogtest.h"

#include "countsheet/countsheetstate.h"
#include "host/props/shareprops.h"
#include "host/ui/controls/commandbuttonarray.h"
#include "host/ui/controls/listbox.h"
#include "host/ui/ledger/ledgergrid.h"
#include "services/modulestate.h"
#include "window/frmsetcolume.h"

namespace {

using host::ui::LedgerGrid;

class ColumnChooser : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        countSheetState().gShowType = 1;
    }

    // A ledger whose header rows hold these captions, column by column.
    void setHeader(const QStringList &top, const QStringList &bottom = {})
    {
        m_ledger.Face().setCols(static_cast<int>(top.size()));
        m_ledger.Face().setFixedRows(bottom.isEmpty() ? 1 : 2);
        for (int c = 1; c <= top.size(); ++c) {
            m_ledger.Cell(1, c).setText(top.at(c - 1));
            if (!bottom.isEmpty())
                m_ledger.Cell(2, c).setText(bottom.at(c - 1));
        }
    }

    bool hidden(int col) { return m_ledger.Col(col).Switch(LedgerGrid::HiddenSwitch); }

    // Opens the chooser on the ledger and runs what the user does in it.
    void choose(const std::function<void(frmSetColume &)> &user)
    {
        frmSetColume chooser;
        chooser.setLedger(&m_ledger);
        m_modals.whileShown([&](host::ui::Form &form) { user(static_cast<frmSetColume &>(form)); });
        chooser.Show(1);
    }

    static QStringList entries(const frmSetColume &chooser)
    {
        QStringList list;
        for (int i = 0; i < chooser.ColList->ListCount(); ++i)
            list << chooser.ColList->List(i) + (chooser.ColList->Selected(i) ? "+" : "-");
        return list;
    }

    LedgerGrid m_ledger;
};

TEST_F(ColumnChooser, RefusesToHideEveryColumn)
{
    setHeader({"仓库", "物料代码"});
    choose([](frmSetColume &c) {
        c.ColList->setSelected(0, false);
        c.ColList->setSelected(1, false);
        c.Command_Click(0);
        EXPECT_FALSE(c.isVisible()) << "OK closes even after the refusal";
    });
    EXPECT_FALSE(hidden(1));
    EXPECT_FALSE(hidden(2));
    ASSERT_EQ(messages().size(), 1U);
    EXPECT_EQ(messages()[0], "不能将全部列都隐藏，请至少保留一列");
}

TEST_F(ColumnChooser, ATemplateThatCannotBeReadIsReportedAndNothingOffered)
{
    setHeader({"仓库", "物料代码"});
    sql("DROP TABLE ICChatBillTitle");
    choose([](frmSetColume &c) { EXPECT_EQ(c.ColList->ListCount(), 0); });
    ASSERT_EQ(messages().size(), 1U);
    EXPECT_TRUE(
        messages()[0].starts_with("读取栏目设置时出错：Invalid object name 'ICChatBillTitle'."))
        << messages()[0];
}

TEST_F(ColumnChooser, TwoHeaderRowsJoinGroupAndColumnCaptions)
{
    // The plan-tracking column is not visible in the check-mode template, so it is not offered.
    setHeader({"数量", "", "备注", "计划", "仓库"}, {"账存", "实存", "", "跟踪号", ""});
    choose([](frmSetColume &c) {
        EXPECT_EQ(entries(c), QStringList({"数量账存+", "数量实存+", "备注+", "仓库+"}));
    });
}

struct CaptionCase
{
    const char *language;
    QString planTracking;
    QString stock;
};

void PrintTo(const CaptionCase &c, std::ostream *os)
{
    *os << c.language;
}

class ColumnChooserInLanguage : public ColumnChooser,
                                public ::testing::WithParamInterface<CaptionCase>
{};

// The ledger shows the template's captions of the user's language; a column the template keeps
// out of sight stays out of the list in every language.
TEST_P(ColumnChooserInLanguage, OffersWhatTheTemplateShowsInTheUsersLanguage)
{
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   std::string("UserID=16394;LANGUAGE=") + GetParam().language +
                                       ";");
    module().gLanguage.clear();
    setHeader({GetParam().planTracking, GetParam().stock}, {"", ""});
    choose([](frmSetColume &c) { EXPECT_EQ(entries(c), QStringList({GetParam().stock + "+"})); });
}

INSTANTIATE_TEST_SUITE_P(Languages, ColumnChooserInLanguage,
                         ::testing::Values(CaptionCase{"CHS", "计划跟踪号", "仓库"},
                                           CaptionCase{"CHT", "計畫追蹤號", "倉庫"},
                                           CaptionCase{"EN", "Plan-tracking number", "Stock"}),
                         [](const ::testing::TestParamInfo<CaptionCase> &param) {
                             return std::string(param.param.language);
                         });

} // namespace
