#include "countwindowtest.h"

#include "countsheet/countline.h"
#include "host/core/settingsstore.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "support/casename.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {

using Item = QAction *frmMain::*;

struct ModeCase
{
    long mode;
    QString caption;
    std::vector<Item> shown;
    std::vector<Item> hidden;
    QStringList toolsShown;
    QStringList toolsHidden;
};

const ModeCase kModes[] = {
    {1,
     "物料盘点报告单",
     {&frmMain::mnuFOutBill, &frmMain::mnuFOutLossBill, &frmMain::mnuFPrint, &frmMain::mnuFileOut,
      &frmMain::mnuVViewHide, &frmMain::mnuVSelectData},
     {&frmMain::mnuFSave, &frmMain::mnuFileIn, &frmMain::mnuAddItem, &frmMain::mnuSubItem,
      &frmMain::mnuVSelectBill, &frmMain::mnuAlertSame, &frmMain::mnuEdit_DeleteRow},
     {"OutProBill", "OutLossBill", "Show", "PrintPreview", "Print", "Find", "Exit"},
     {"SelectBill", "Save", "Delete", "AddItem", "SubItem", "Export", "Import"}},
    {3,
     "打印物料盘点表",
     {&frmMain::mnuFPrint, &frmMain::mnuFPrintPreview, &frmMain::mnuVViewHide,
      &frmMain::mnuVSelectData},
     {&frmMain::mnuFSave, &frmMain::mnuFOutBill, &frmMain::mnuFileOut, &frmMain::mnuFileIn,
      &frmMain::mnuAddItem, &frmMain::mnuVSelectBill, &frmMain::mnuFSpace},
     {"PrintPreview", "Print", "Sort", "Exit"},
     {"SelectBill", "Save", "OutProBill", "OutLossBill", "Export", "Import", "Show"}},
    {4,
     "录入盘点数据",
     {&frmMain::mnuFSave, &frmMain::mnuFileOut, &frmMain::mnuFileIn, &frmMain::mnuAddItem,
      &frmMain::mnuSubItem, &frmMain::mnuVSelectBill, &frmMain::mnuAlertSame},
     {&frmMain::mnuFOutBill, &frmMain::mnuFPrint, &frmMain::mnuVViewHide, &frmMain::mnuVSelectData,
      &frmMain::mnuFStep},
     {"SelectBill", "Save", "AddItem", "SubItem", "Export", "Import", "Filter", "Exit"},
     {"Delete", "OutProBill", "OutLossBill", "Show", "PrintPreview", "Print"}},
};

class ModeTest : public CountWindowTest, public ::testing::WithParamInterface<ModeCase>
{};

TEST_P(ModeTest, OffersTheMenusToolsAndGridOfItsMode)
{
    const ModeCase &c = GetParam();
    backUp();
    const auto window = open(c.mode);
    EXPECT_EQ(window->Caption(), c.caption);
    for (Item item : c.shown)
        EXPECT_TRUE((window.get()->*item)->isVisible())
            << (window.get()->*item)->text().toStdString();
    for (Item item : c.hidden)
        EXPECT_FALSE((window.get()->*item)->isVisible())
            << (window.get()->*item)->text().toStdString();
    for (const QString &key : c.toolsShown)
        EXPECT_TRUE(window->barlist->Tools(key).Visible()) << key.toStdString();
    for (const QString &key : c.toolsHidden)
        EXPECT_FALSE(window->barlist->Tools(key).Visible()) << key.toStdString();
    EXPECT_EQ(window->vsCheck->isVisible(), c.mode == 4);
    EXPECT_EQ(window->ldgCheck->isVisible(), c.mode != 4);
    // The bill selection waits for a line with an item: input mode starts on the first line.
    EXPECT_EQ(window->barlist->Tools("SelectBill").Enabled(), c.mode == 4);
    // Print mode starts in the book-data view; loading the first process shows all lines.
    EXPECT_EQ(window->mnuVSelectData_Checked->text(),
              c.mode == 3 ? QStringLiteral("账存数据") : QStringLiteral("盘点数据(&P)"));
    EXPECT_TRUE(window->mnuVSelectData_All->isChecked());
    EXPECT_TRUE(window->barlist->Tools("AllData").Checked());
    EXPECT_EQ(window->mDataView, 0);
    EXPECT_EQ(window->WindowState() == 2, c.mode == 4);
}

// Where a user sees a cell of the grid, in the grid's coordinates: the part of it that the grid,
// or a view laid over it, shows uncovered within the grid's viewport; empty when none does.
QRect seenPart(QTableView &grid, int row, int col)
{
    const QModelIndex index = grid.model()->index(row, col);
    QList<QTableView *> views = grid.findChildren<QTableView *>();
    views.prepend(&grid);
    const QRect port(grid.viewport()->mapTo(&grid, QPoint()), grid.viewport()->size());
    for (QTableView *view : views) {
        if (!view->isVisible())
            continue;
        const QRect cell = view->visualRect(index).intersected(view->viewport()->rect());
        if (cell.isEmpty())
            continue;
        const QRect shown(view->viewport()->mapTo(&grid, cell.topLeft()), cell.size());
        int left = shown.right() + 1;
        int right = shown.left() - 1;
        for (int x = shown.left(); x <= shown.right(); ++x) {
            const QPoint at(x, shown.center().y());
            if (port.contains(at) && grid.childAt(at) == view->viewport()) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (left <= right)
            return {QPoint(left, shown.top()), QPoint(right, shown.bottom())};
    }
    return {};
}

bool seenWhole(QTableView &grid, int row, int col)
{
    return seenPart(grid, row, col).width() ==
           grid.visualRect(grid.model()->index(row, col)).width();
}

// Whatever the horizontal scroll, a user sees which line they are on: its stock, stock place,
// item code and name, and in input mode what sets apart lines of one item in one stock (model,
// auxiliary property, batch, plan-tracking number, production date and shelf life), stay at the
// left, under the scroll bar and the keys alike, on the screens users have. No column shows cut
// beside them, Home shows the columns that follow them, and no cell the keys reach or a user
// types in hides beneath them.
TEST_P(ModeTest, KeepsTheLinesStockAndItemInViewWhateverTheHorizontalScroll)
{
    const ModeCase &c = GetParam();
    backUp();
    // Qt's columns count from 0: the entry grid's stock is its column 3, the ledger's its 1.
    const std::vector<int> line = c.mode == 4 ? std::vector<int>{2, 4, 5, 6, 7, 9, 10, 11, 12, 13}
                                              : std::vector<int>{0, 1, 2, 3};
    for (const QSize screen : {QSize(1280, 800), QSize(1024, 768)}) {
        const auto window = open(c.mode);
        window->setWindowState(0);
        window->resize(screen);
        QTableView &grid = c.mode == 4 ? static_cast<QTableView &>(*window->vsCheck)
                                       : static_cast<QTableView &>(*window->ldgCheck);
        const std::string at = std::to_string(screen.width()) + " wide, ";
        grid.setFocus();
        if (!grid.currentIndex().isValid())
            QTest::keyClick(&grid, Qt::Key_Down);
        ASSERT_TRUE(grid.currentIndex().isValid());
        const auto lineSeen = [&](const char *when) {
            for (const int col : line)
                EXPECT_TRUE(grid.isColumnHidden(col) ||
                            seenWhole(grid, grid.currentIndex().row(), col))
                    << at << when << ", column " << col;
        };
        // The current cell, and every column cut at the edge of those that say which line a
        // row is.
        const auto currentSeen = [&](const char *when) {
            const QModelIndex current = grid.currentIndex();
            EXPECT_TRUE(seenWhole(grid, current.row(), current.column()))
                << at << when << ", column " << current.column();
            for (int col = line.back() + 1; col < grid.model()->columnCount(); ++col) {
                const QRect seen = seenPart(grid, current.row(), col);
                const QRect cell = grid.visualRect(grid.model()->index(current.row(), col));
                EXPECT_FALSE(!seen.isEmpty() &&
                             seen.left() > grid.viewport()->mapTo(&grid, cell.topLeft()).x())
                    << at << when << ", column " << col << " cut";
            }
        };
        lineSeen("as the window opens");
        currentSeen("as the window opens");

        grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        lineSeen("scrolled to the far right");
        if (c.mode == 4) {
            // The count cell, scrolled beneath the line's columns, comes back to be typed in.
            QTest::keyClicks(&grid, QStringLiteral("7"));
            QWidget *editor = QApplication::focusWidget();
            ASSERT_NE(editor, &grid);
            const QPoint left = editor->mapTo(&grid, QPoint(1, editor->height() / 2));
            EXPECT_EQ(grid.childAt(left), editor) << at << "the editor shows whole";
            QTest::keyClick(editor, Qt::Key_Escape);
        }
        QTest::keyClick(&grid, Qt::Key_PageDown);
        lineSeen("a page further down");
        currentSeen("a page further down");
        for (const auto key : {Qt::Key_Left, Qt::Key_Right}) {
            for (int i = 0; i < grid.model()->columnCount(); ++i) {
                QTest::keyClick(&grid, key);
                currentSeen(key == Qt::Key_Left ? "moving left" : "moving right");
            }
            lineSeen(key == Qt::Key_Left ? "at the first column" : "at the last column");
        }
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        currentSeen("at the last cell");
        QTest::keyClick(&grid, Qt::Key_Home);
        currentSeen("at Home");
        int next = line.back() + 1;
        while (grid.isColumnHidden(next))
            ++next;
        EXPECT_TRUE(seenWhole(grid, grid.currentIndex().row(), next)) << at << "at Home";
        if (screen.width() < 1280)
            continue;
        // The frozen columns keep the widths the grid gives them.
        if (c.mode == 4)
            window->vsCheck->setColWidth(EntryCol::ItemName, 1800);
        else
            window->ldgCheck->Col(4).setWidth(1800);
        lineSeen("with a wider item name");
    }
}

TEST_P(ModeTest, AsksToSaveOnClosingOnlyInInputMode)
{
    const ModeCase &c = GetParam();
    backUp();
    const auto window = open(c.mode);
    window->mModified = true;
    m_modals->answer(host::ui::Msg::No);
    window->Unload();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_modals->messageTexts().size(), c.mode == 4 ? 1U : 0U)
        << m_modals->messageTexts().join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeTest, ::testing::ValuesIn(kModes),
                         [](const ::testing::TestParamInfo<ModeCase> &param) {
                             return caseName(param.index,
                                             "mode " + std::to_string(param.param.mode));
                         });

TEST_F(CountWindowTest, ViewSettingsWidthsAndHiddenColumnsComeBackPerMode)
{
    backUp();
    {
        const auto report = open(1);
        report->mnuToolBar_Click();
        report->mnuStatusBar_Click();
        report->ldgCheck->Col(3).setSwitch(host::ui::LedgerGrid::HiddenSwitch, true);
        report->ldgCheck->Col(1).setSwitch(host::ui::LedgerGrid::HiddenSwitch, true);
        report->ldgCheck->Col(2).setWidth(2345);
        report->Unload();
    }
    {
        const auto input = open(4);
        EXPECT_FALSE(input->bShowtoolbar);
        EXPECT_FALSE(input->mnuStatusBar->isChecked());
        EXPECT_FALSE(input->staBar->isVisible());
        input->vsCheck->setColWidth(7, 3210);
        input->mnuToolBar_Click();
        input->Unload();
    }
    const auto report = open(1);
    EXPECT_TRUE(report->bShowtoolbar);
    EXPECT_TRUE(report->ldgCheck->Col(3).Switch(host::ui::LedgerGrid::HiddenSwitch));
    EXPECT_EQ(report->ldgCheck->Col(2).Width(), 2345);
    // The stock column shows at every opening, even when it was hidden before.
    EXPECT_FALSE(report->ldgCheck->Col(1).Switch(host::ui::LedgerGrid::HiddenSwitch));
    report->Unload();
    const auto print = open(3);
    EXPECT_FALSE(print->ldgCheck->Col(3).Switch(host::ui::LedgerGrid::HiddenSwitch));
    EXPECT_NE(print->ldgCheck->Col(2).Width(), 2345);
    print->Unload();
    const auto input = open(4);
    EXPECT_EQ(input->vsCheck->ColWidth(7), 3210);
    // Technical columns stay at width 0 whatever was stored.
    EXPECT_EQ(input->vsCheck->ColWidth(36), 0);
}

} // namespace
