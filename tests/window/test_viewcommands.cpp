#include "countwindowtest.h"

#include "dialogs/sheetdialogsstate.h"
#include "host/core/settingsstore.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "support/casename.h"

#include <QAction>

namespace {

struct DeletedItemsCase
{
    const char *name;
    long answer;
    bool saveFails;
    bool saved;    // the typed count reached the database
    bool switched; // the sheet now shows disabled items
};

class DeletedItemsSwitch : public CountWindowTest,
                           public ::testing::WithParamInterface<DeletedItemsCase>
{};

// Switching disabled items in or out loads the sheet afresh: a typed count is offered for
// saving first, and a save that fails leaves both the count and the switch as they were.
TEST_P(DeletedItemsSwitch, AsksToSaveTypedCountsBeforeReloading)
{
    const DeletedItemsCase &c = GetParam();
    const long id = backUp();
    const auto window = open(4);
    type(*window, 24, 1, "4321");
    if (c.saveFails)
        sql("Select * Into ICInvBackupAway From ICInvBackup Drop Table ICInvBackup");
    m_modals->answer(c.answer);
    window->mnuViewShowDeleted->trigger();
    if (c.saveFails)
        sql("Select * Into ICInvBackup From ICInvBackupAway");

    ASSERT_FALSE(m_modals->messageTexts().isEmpty());
    EXPECT_EQ(m_modals->messageTexts().first(), QStringLiteral("盘点数据已经修改，是否保存？"));
    EXPECT_EQ(number("Select Count(*) From ICInvBackup Where FAuxCheckQty=4321 And FInterID=" +
                     std::to_string(id)),
              c.saved ? 1 : 0);
    EXPECT_EQ(window->mnuViewShowDeleted->isChecked(), c.switched);
    EXPECT_EQ(window->bShowDeleted, c.switched);
    // What is on screen is either the typed count still waiting or the sheet as stored.
    EXPECT_EQ(window->mModified, c.saveFails);
    EXPECT_EQ(cell(*window, 24, 1) == 4321, c.saved || c.saveFails);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DeletedItemsSwitch,
    ::testing::Values(
        DeletedItemsCase{"yes saves then switches", host::ui::Msg::Yes, false, true, true},
        DeletedItemsCase{"no drops the count and switches", host::ui::Msg::No, false, false, true},
        DeletedItemsCase{"a failed save keeps both", host::ui::Msg::Yes, true, false, false}),
    [](const auto &c) { return caseName(c.index, c.param.name); });

struct StoredWidthCase
{
    const char *name;
    const char *stored;
    bool used; // a width a screen shows, taken; anything else leaves the column as it was
};

class StoredWidth : public CountWindowTest, public ::testing::WithParamInterface<StoredWidthCase>
{};

// Widths and view flags come from a file the user may have edited by hand: what cannot be read,
// or is no width a screen can show, leaves the window as it would be without it, and never
// reaches the shared column template.
TEST_P(StoredWidth, IsUsedOnlyWhenAScreenShowsItAndSparesTheTemplate)
{
    const StoredWidthCase &c = GetParam();
    backUp();
    const std::string templateWidth =
        "Select FColWidth From ICChatBillTitle Where FTypeID=1 And FInterID=2";
    const double before = number(templateWidth);
    {
        host::SettingsStore ini{std::string_view("StockCheck.ini")};
        ini.write("ZarvoStockCheck", "bShowtoolbar", "maybe");
        ini.write("ZarvoStockCheck", "bShowStatBar", "");
        for (const char *key : {"Col7", "Col25", "ldgCheck1-2"})
            ini.write("ZARVOSTOCKPRICE", key, c.stored);
        ini.sync();
    }
    const double used = c.used ? std::stod(c.stored) : 0;
    {
        const auto input = open(4);
        EXPECT_FALSE(input->bShowtoolbar);
        EXPECT_FALSE(input->bShowStatBar);
        for (const int col : {7, 25}) {
            if (c.used) {
                EXPECT_EQ(input->vsCheck->ColWidth(col), used) << col;
            } else {
                EXPECT_GT(input->vsCheck->columnWidth(col - 1), 20) << col;
                EXPECT_LT(input->vsCheck->columnWidth(col - 1), 200) << col;
            }
        }
        EXPECT_EQ(input->vsCheck->ColWidth(36), 0);
        input->Unload();
    }
    {
        const auto report = open(1);
        EXPECT_EQ(report->ldgCheck->Col(2).Width(), c.used ? used : before);
        report->Unload();
    }
    EXPECT_EQ(number(templateWidth), c.used ? used : before);
    host::SettingsStore ini{std::string_view("StockCheck.ini")};
    EXPECT_EQ(host::Val(ini.read("ZARVOSTOCKPRICE", "ldgCheck1-2", "")), c.used ? used : before);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredWidth,
                         ::testing::Values(StoredWidthCase{"a word", "wide", false},
                                           StoredWidthCase{"digits and letters", "12abc", false},
                                           StoredWidthCase{"negative", "-500", false},
                                           StoredWidthCase{"minus one", "-1", false},
                                           StoredWidthCase{"zero", "0", false},
                                           StoredWidthCase{"wider than any screen",
                                                           "99999999999999", false},
                                           StoredWidthCase{"a width", "1515", true}),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

class NullCaption : public CountWindowTest, public ::testing::WithParamInterface<long>
{};

TEST_P(NullCaption, InTheColumnTemplateStillOpensTheWindow)
{
    backUp();
    const long mode = GetParam();
    sql("Update ICChatBillTitle Set FColCaption=Null Where FInterID=5 And FTypeID=" +
        std::to_string(mode));
    const auto window = open(mode);
    EXPECT_TRUE(window->isVisible());
    // The searchable columns end quietly at the unreadable one.
    const std::vector<QueryColumn> &columns = sheetDialogsState().gQueryColumns;
    ASSERT_GT(columns.size(), 5U);
    EXPECT_FALSE(columns[2].Caption.empty());
    EXPECT_TRUE(columns.back().Caption.empty());
    EXPECT_EQ(columns[0].SortOrder, 0);
    window->Unload();
    EXPECT_FALSE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Modes, NullCaption, ::testing::Values(1L, 4L));

} // namespace
