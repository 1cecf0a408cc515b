#include "countwindowtest.h"

#include "dialogs/sheetdialogsstate.h"
#include "host/core/settingsstore.h"
#include "host/ui/form/twips.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "support/casename.h"

#include <QAction>
#include <QHeaderView>
#include <QTest>

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
    bool used; // a width a screen shows, taken (a sliver widened to a readable column);
               // anything else leaves the column as it was
};

class StoredWidth : public CountWindowTest, public ::testing::WithParamInterface<StoredWidthCase>
{};

// Widths and view flags come from a file the user may have edited by hand: what cannot be read,
// or is no width a screen can show, leaves the window as it would be without it, and never
// reaches the shared column template; nor does a column too narrow to read a number in.
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
    const double used = c.used ? std::max(std::stod(c.stored), host::ui::kReadableColumnTwips) : 0;
    {
        const auto input = open(4);
        EXPECT_FALSE(input->bShowtoolbar);
        EXPECT_FALSE(input->bShowStatBar);
        for (const int col : {7, 25}) {
            if (c.used) {
                EXPECT_EQ(input->vsCheck->ColWidth(col), used) << col;
                EXPECT_EQ(input->vsCheck->columnWidth(col - 1), host::ui::twipsToPixelsX(used))
                    << col;
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
        EXPECT_EQ(report->ldgCheck->columnWidth(1),
                  host::ui::twipsToPixelsX(c.used ? used : before));
        // The user drags the model column's border as far left as it goes.
        QHeaderView *header = report->ldgCheck->horizontalHeader();
        const QPoint border(header->sectionViewportPosition(4) + header->sectionSize(4) - 1,
                            header->height() / 2);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, border);
        QTest::mouseMove(header->viewport(), border - QPoint(200, 0));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, border - QPoint(200, 0));
        report->Unload();
    }
    EXPECT_EQ(number(templateWidth), c.used ? used : before);
    EXPECT_EQ(number("Select FColWidth From ICChatBillTitle Where FTypeID=1 And FInterID=5"),
              host::ui::kReadableColumnTwips);
    host::SettingsStore ini{std::string_view("StockCheck.ini")};
    EXPECT_EQ(host::Val(ini.read("ZARVOSTOCKPRICE", "ldgCheck1-2", "")), c.used ? used : before);
    EXPECT_EQ(host::Val(ini.read("ZARVOSTOCKPRICE", "ldgCheck1-5", "")),
              host::ui::kReadableColumnTwips);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredWidth,
                         ::testing::Values(StoredWidthCase{"a word", "wide", false},
                                           StoredWidthCase{"digits and letters", "12abc", false},
                                           StoredWidthCase{"negative", "-500", false},
                                           StoredWidthCase{"minus one", "-1", false},
                                           StoredWidthCase{"zero", "0", false},
                                           StoredWidthCase{"wider than any screen",
                                                           "99999999999999", false},
                                           StoredWidthCase{"a sliver", "15", true},
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
