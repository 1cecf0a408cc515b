// The select-bills window on a real database: the bills listed for the line in focus, marking
// whole bills, and the calculation that records the marks and leaves the sums.
#include "dialogsdb.h"

#include "countsheet/countline.h"
#include "countsheet/countlinegrid.h"
#include "countsheet/countsheetstate.h"
#include "dialogs/billselectsql.h"
#include "dialogs/currentline.h"
#include "dialogs/frmselect.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/core/dictionary.h"
#include "host/core/settingsstore.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/form/twips.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/uitestutil.h"
#include "services/modulestate.h"
#include "support/casename.h"
#include "window/countwindowtest.h"

#include <QAbstractItemModel>

namespace {

class SelectBills : public DialogsDbTest
{
protected:
    void SetUp() override
    {
        DialogsDbTest::SetUp();
        ModuleState &m = module();
        m.gMtoPlanMode = 1;
        sheetDialogsState().gCurItemID = 1;
        sheetDialogsState().gCurStockID = 1;
        sheetDialogsState().gCurSPID = 1;
        sheetDialogsState().gCurItemNumber = "01.001";
        sheetDialogsState().gCurStockName = "原料仓";
        sheetDialogsState().gCurQty = 24;
        sheetDialogsState().gCurCheckQty = 24;
        sheetDialogsState().gCurQtyDecimal = 2;
        processes->SetValue("1|BackupType", 1L);
        processes->SetValue("1|CuteDate", "2026-12-02");
        processes->SetValue("1|MaxInterID", 100L);
        processes->SetValue("1|MaxMTOChangeID", 3L);
    }

    // Opens the window for process 1; what it lists, one "bill:direction:mark" per row.
    std::vector<std::string> open()
    {
        window = std::make_unique<frmSelect>();
        window->setProcID(1);
        window->setDicupInfo(processes);
        QObject::connect(window.get(), &frmSelect::CalFactQty, [this] { ++calculations; });
        window->Load();
        std::vector<std::string> rows;
        auto &grid = *window->ldgSelect;
        for (int r = 3; r <= grid.Face().Rows(); ++r)
            rows.push_back(grid.Cell(r, 6).Text().toStdString() + ":" +
                           grid.Cell(r, 4).Text().toStdString() + ":" +
                           grid.Cell(r, 2).Text().toStdString());
        return rows;
    }
    void clickMark(int row)
    {
        auto &grid = *window->ldgSelect;
        grid.setRow(row);
        emit grid.clicked(grid.model()->index(row - 3, 1));
    }
    std::string marks()
    {
        return value("select count(*) from ICStockBillEntry where FSelectedProcID=1") + "/" +
               value("select count(*) from t_MTOChangeEntry where FSelectedProcID=1");
    }

    std::shared_ptr<host::Dictionary> processes = std::make_shared<host::Dictionary>();
    std::unique_ptr<frmSelect> window;
    int calculations = 0;
};

TEST_F(SelectBills, ListsWhatWasPostedAfterTheSnapshotForTheLine)
{
    // Not the bill or change before the snapshot, nor the cancelled bill.
    EXPECT_EQ(open(),
              (std::vector<std::string>{"WIN101:1:", "WIN101:1:", "XOUT102:0:", "MTO004:1:"}));
    EXPECT_EQ(window->ldgSelect->Cell(3, 17).Text(), "10.00");
    EXPECT_EQ(window->ldgSelect->Cell(3, 5).Text(), "外购入库");
    EXPECT_EQ(window->ldgSelect->Cell(6, 5).Text(), "计划跟踪号调整");
    EXPECT_EQ(window->staBar->Panels(3).Text(), "与物料01.001相关的单据");
    EXPECT_TRUE(m_modals.messages().empty());

    // A cut-off process takes what is dated after its cut-off date.
    processes->SetValue("1|BackupType", 2L);
    EXPECT_EQ(open(), (std::vector<std::string>{"XOUT102:0:", "MTO004:1:"}));
    // Another line of the process has no bills; a quote in its batch does no harm.
    sheetDialogsState().gCurBatchNo = "B'1";
    EXPECT_TRUE(open().empty());
    EXPECT_FALSE(window->mnuVCalulate->isEnabled());
    EXPECT_TRUE(m_modals.messages().empty());
}

// A width the user's settings hold too narrow to read a number in opens, and is kept, readable.
TEST_F(SelectBills, AStoredSliverIsWidenedToAReadableColumn)
{
    auto &ini = countSheetState().gIni;
    ini = std::make_shared<host::SettingsStore>(std::string_view("StockCheck.ini"));
    ini->write("ldgSelect", "Col5", 15.0);
    open();
    ASSERT_TRUE(showActive(*window));
    EXPECT_EQ(window->ldgSelect->Col(5).Width(), host::ui::kReadableColumnTwips);
    window->ldgSelect->Col(5).setWidth(15);
    window->Unload();
    EXPECT_EQ(host::Val(ini->read("ldgSelect", "Col5", "")), host::ui::kReadableColumnTwips);
    ini.reset();
}

// A bill is marked by a click in the selection column, or from the keyboard by Space on it,
// and Calculate is the menu command or its key.
struct MarkCase
{
    const char *name;
    bool keys;
};

class MarkBills : public SelectBills, public ::testing::WithParamInterface<MarkCase>
{
protected:
    void mark(int row)
    {
        if (!GetParam().keys) {
            clickMark(row);
            return;
        }
        auto &grid = *window->ldgSelect;
        ASSERT_EQ(QApplication::focusWidget(), &grid);
        // From the first line the arrows reach the row, then Space marks it.
        QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
        for (int r = 3; r < row; ++r)
            QTest::keyClick(&grid, Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_Space);
    }
    void calculate()
    {
        if (GetParam().keys)
            QTest::keyClick(window->ldgSelect, Qt::Key_F4);
        else
            window->mnuVCalulate->trigger();
    }
    std::vector<std::string> openShown()
    {
        auto rows = open();
        EXPECT_TRUE(showActive(*window));
        return rows;
    }
};

TEST_P(MarkBills, MarkingMarksTheWholeBillAndCalculateRecordsIt)
{
    openShown();
    mark(4);
    mark(5);
    EXPECT_EQ(window->ldgSelect->Cell(3, 2).Text(), "Y");
    calculate();
    EXPECT_EQ(calculations, 1);
    EXPECT_TRUE(window->CalcateOK());
    EXPECT_EQ(marks(), "3/0");
    // Receipts of 10 and 2 and an issue of 4, seen from the snapshot.
    EXPECT_DOUBLE_EQ(sheetDialogsState().gCurDiffQty, -8);

    // Marked lines show as marked next time; unmarking frees them.
    EXPECT_EQ(openShown()[0], "WIN101:1:Y");
    mark(3);
    calculate();
    EXPECT_TRUE(window->CalcateOK());
    EXPECT_EQ(marks(), "1/0");
    EXPECT_DOUBLE_EQ(sheetDialogsState().gCurDiffQty, 4);
}

INSTANTIATE_TEST_SUITE_P(Ways, MarkBills,
                         ::testing::Values(MarkCase{"a click", false},
                                           MarkCase{"Space and F4", true}),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

TEST_F(SelectBills, SumsAreTheListedQuantitiesToTheirLastDigit)
{
    // The line keeps no decimals: the list shows 24 and 14, the bill holds 23.56 and 13.9.
    sheetDialogsState().gCurQtyDecimal = 0;
    sql("Update ICStockBillEntry Set FQty=23.56,FSecQty=13.9 Where FInterID=101 And FEntryID=1");
    open();
    EXPECT_EQ(window->ldgSelect->Cell(3, 17).Text(), "24");
    EXPECT_EQ(window->ldgSelect->Cell(3, 19).Text(), "14");
    clickMark(3);
    window->mnuVCalulate_Click();
    EXPECT_TRUE(window->CalcateOK());
    EXPECT_DOUBLE_EQ(sheetDialogsState().gCurDiffQty, -25.56);
    EXPECT_DOUBLE_EQ(sheetDialogsState().gCurSecDiffQty, -13.9);
}

struct RefusalCase
{
    const char *description;
    double bookQty;
    int markRow;
    bool accepted;
};

class NegativeBook : public SelectBills, public ::testing::WithParamInterface<RefusalCase>
{};

TEST_P(NegativeBook, ActualBelowANegativeBookQuantityIsRefused)
{
    const RefusalCase &c = GetParam();
    sheetDialogsState().gCurQty = c.bookQty;
    sheetDialogsState().gCurCheckQty = 0;
    open();
    clickMark(c.markRow);
    window->mnuVCalulate_Click();
    EXPECT_EQ(calculations, 1);
    EXPECT_EQ(window->CalcateOK(), c.accepted);
    EXPECT_EQ(marks(), c.accepted ? (c.markRow == 5 ? "1/0" : "2/0") : "0/0");
    EXPECT_EQ(m_modals.messageTexts().isEmpty(), c.accepted);
}

const RefusalCase kRefusals[] = {
    {"issue on a negative book", -5, 5, true},
    {"receipt below a negative book", -5, 3, false},
    {"receipt on a positive book", 5, 3, true},
};
INSTANTIATE_TEST_SUITE_P(Books, NegativeBook, ::testing::ValuesIn(kRefusals),
                         [](const auto &param) {
                             return caseName(param.index, param.param.description);
                         });

TEST_F(SelectBills, WithoutProcessInformationNothingIsListed)
{
    processes = std::make_shared<host::Dictionary>();
    EXPECT_TRUE(open().empty());
    EXPECT_EQ(m_modals.messageTexts(), QStringList{QStringLiteral("没有设置盘点方案信息!")});
}

TEST_F(SelectBills, MarksOfAPlanTrackingChangeGoToItsTable)
{
    EXPECT_EQ(markBillEntrySQL(4, 1, 1, kPlanTrackingChangeType).substr(0, 22),
              "Update t_MTOChangeEntr");
    open();
    clickMark(6);
    window->mnuVCalulate_Click();
    EXPECT_EQ(marks(), "0/1");
    EXPECT_DOUBLE_EQ(sheetDialogsState().gCurDiffQty, -3);
}

struct LineCase
{
    const char *what;
    double secQty; // of a receipt of 5 in the base unit
    bool taken;
    bool deletedMeanwhile = false; // by another user, after the window read the sheet
};

// A receipt of 5 into a line whose second unit was counted as booked: the line takes the bill
// when its second-unit quantity points the same way.
const LineCase kLineCases[] = {
    {"second unit received too", 2, true},
    {"second unit issued", -3, false},
    {"line deleted by another user", 2, false, true},
};

class BillsIntoTheLine : public CountWindowTest, public ::testing::WithParamInterface<LineCase>
{};

TEST_P(BillsIntoTheLine, MarksAreWrittenWithTheLineOrNotAtAll)
{
    namespace C = EntryCol;
    const LineCase &c = GetParam();
    const std::string id = std::to_string(backUp());
    sql("Update ICStockCheckProcess Set FBackupType=1 Where FID=" + id);
    const auto window = open(4);
    const int row = findRow(*window, [&](int r) {
        const CountLine line = readCountLine(*window->vsCheck, r);
        return line.hasSecondUnit() && line.qty > 0 && line.secQty > 0;
    });
    const CountLine before = readCountLine(*window->vsCheck, row);
    const std::string key = lineKey(*window, row);
    postBill(*window, row, true, 5, c.secQty);
    if (c.deletedMeanwhile)
        sql("Delete From ICInvBackup" + key);

    ASSERT_EQ(selectAllBills(*window, row), 1);
    EXPECT_EQ(number("Select Count(*) From ICStockBillEntry Where FSelectedProcID=" + id),
              c.taken ? 1 : 0);
    const CountLine after = readCountLine(*window->vsCheck, row);
    if (c.taken) {
        EXPECT_TRUE(m_modals->messageTexts().isEmpty());
        EXPECT_EQ(number("Select FQtyAct From ICInvBackup" + key), before.checkQty - 5);
        EXPECT_EQ(number("Select FSecQtyAct From ICInvBackup" + key),
                  before.secCheckQty - c.secQty);
        EXPECT_EQ(after.qtyAct, before.checkQty - 5);
        EXPECT_EQ(after.diffQty, -5);
    } else if (c.deletedMeanwhile) {
        ASSERT_EQ(m_modals->messageTexts().size(), 1);
        EXPECT_TRUE(m_modals->messageTexts()[0].endsWith(
            "数据库中没有此盘点数据，盘点数据未能成功保存，请刷新后再试！"))
            << m_modals->messageTexts()[0].toStdString();
        EXPECT_EQ(after.qtyAct, before.qtyAct);
    } else {
        EXPECT_EQ(m_modals->messageTexts(),
                  QStringList{"基本单位与辅助计量单位盘盈盘亏方向不一致，盘点数据未能成功保存，"
                              "请检查数据！"});
        EXPECT_EQ(number("Select FQtyAct From ICInvBackup" + key), before.qtyAct);
        EXPECT_EQ(number("Select FSecQtyAct From ICInvBackup" + key), before.secQtyAct);
        EXPECT_EQ(after.qtyAct, before.qtyAct);
        EXPECT_EQ(after.diffQty, before.diffQty);
    }
    EXPECT_EQ(std::count(window->mRowChanged.begin(), window->mRowChanged.end(), true), 0);
    // The keys stay in the count cell the user was in, and what they type goes there.
    EXPECT_EQ(window->vsCheck->ActiveRow(), row);
    EXPECT_EQ(window->vsCheck->ActiveCol(), C::CUUnitCheckQty);
    ASSERT_TRUE(showActive(*window));
    typeIntoGrid(*window->vsCheck, QStringLiteral("7"));
    EXPECT_EQ(cell(*window, C::CUUnitCheckQty, row), 7);
}

INSTANTIATE_TEST_SUITE_P(Bills, BillsIntoTheLine, ::testing::ValuesIn(kLineCases),
                         [](const auto &param) { return caseName(param.index, param.param.what); });

TEST(CurrentLine, GridCellsBecomeTheCurrentLineValues)
{
    namespace C = EntryCol;
    resetModuleState();
    host::ui::SpreadGrid grid;
    grid.setMaxCols(C::kCount);
    grid.setMaxRows(2);
    grid.setCol(C::Qty);
    grid.setRow(1);
    grid.setCellType(host::ui::CellType::Float);
    grid.setTypeFloatDecimalPlaces(3);
    const std::map<int, const char *> cells = {
        {C::ItemID, "12"},     {C::StockName, "原料仓"},  {C::ItemNumber, "01.001"},
        {C::BatchNo, " L01 "}, {C::KFDate, "2026/05/01"}, {C::KFPeriod, ""},
        {C::Qty, "-5.5"},      {C::CheckQty, "3"},        {C::SecQty, "2"},
        {C::StockPlaceID, ""}, {C::AuxPropID, "7.6"},     {C::StockID, "abc"}};
    for (const auto &[col, text] : cells)
        grid.SetText(col, 1, QString::fromUtf8(text));
    copyCurrentLine(grid, 1);
    const SheetDialogsState &dialogs = sheetDialogsState();
    EXPECT_EQ(dialogs.gCurItemID, 12);
    EXPECT_EQ(dialogs.gCurStockName, "原料仓");
    EXPECT_EQ(dialogs.gCurItemNumber, "01.001");
    EXPECT_EQ(dialogs.gCurBatchNo, "L01");
    EXPECT_EQ(dialogs.gCurKFDate, "2026-05-01");
    EXPECT_EQ(dialogs.gCurKFPeriod, 0);
    EXPECT_EQ(dialogs.gCurQtyDecimal, 3);
    EXPECT_DOUBLE_EQ(dialogs.gCurQty, -5.5);
    EXPECT_DOUBLE_EQ(dialogs.gCurCheckQty, 3);
    EXPECT_DOUBLE_EQ(dialogs.gCurSecQty, 2);
    EXPECT_EQ(dialogs.gCurSPID, 0);
    EXPECT_EQ(dialogs.gCurAuxPropID, 8);
    EXPECT_EQ(dialogs.gCurStockID, 0);
    copyCurrentLine(grid, 2);
    EXPECT_EQ(dialogs.gCurItemID, 0);
    EXPECT_EQ(dialogs.gCurKFDate, "");
}

} // namespace
