#include "windowtest.h"

#include "backup/backupstate.h"
#include "backup/frmbackupinv.h"
#include "host/core/datetime.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/datepicker.h"
#include "host/ui/controls/listbox.h"
#include "host/ui/controls/optionbutton.h"
#include "host/ui/controls/tabcontrol.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "services/modulestate.h"

#include "host/ui/uitestutil.h"

#include <QDate>

namespace {

class BackupWindow : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (long stock = 1; stock <= 3; ++stock)
            exec("insert into t_item (FItemID,FItemClassID,FNumber,FName,FFullName) values (" +
                 std::to_string(stock) + ",5,'S0" + std::to_string(stock) + "','Stock " +
                 std::to_string(stock) + "','Stock " + std::to_string(stock) + "')");
        exec("update t_StockPlace set FShortNumber='s'+FNumber");
    }

    std::unique_ptr<frmBackupInv> open()
    {
        auto window = std::make_unique<frmBackupInv>();
        window->Load();
        window->show();
        return window;
    }

    // The user fills a condition row: the texts of the lists (empty for none), the value and
    // the connective, the way a change of each cell reaches the window.
    static void fillRow(frmBackupInv &w, int row, const QString &name, const QString &op,
                        const QString &value, const QString &logic)
    {
        w.vsProc->SetActiveCell(3, row);
        const QString texts[] = {name, op, value, logic};
        for (int col = 1; col <= 4; ++col) {
            w.vsProc->SetText(col, row, texts[col - 1]);
            w.vsProc_Change(col, row);
        }
    }
    static void selectStocks(frmBackupInv &w, std::initializer_list<int> indexes)
    {
        for (int i : indexes)
            w.StockList->setSelected(i, true);
    }
};

} // namespace

TEST_F(BackupWindow, StartsWithCurrentStockTodayAndOneConditionRow)
{
    const auto w = open();
    EXPECT_EQ(w->Caption(), QStringLiteral("备份仓库数据"));
    EXPECT_TRUE(w->optCurStock->Value());
    EXPECT_FALSE(w->dtpDate->isEnabled());
    EXPECT_EQ(w->dtpDate->Value(), QDate::currentDate());
    EXPECT_EQ(w->sstCheckStock->Tab(), 0);
    ASSERT_EQ(w->StockList->ListCount(), 3);
    EXPECT_EQ(w->StockList->List(1), QStringLiteral("Stock 2"));
    EXPECT_EQ(w->StockList->ItemData(2), 3);
    ASSERT_EQ(w->vsProc->MaxRows(), 1);
    EXPECT_EQ(w->vsProc->GetText(3, 0), QStringLiteral("比较值"));
    w->vsProc->setRow(1);
    w->vsProc->setCol(2);
    EXPECT_EQ(w->vsProc->TypeComboBoxList(),
              QStringLiteral("\t=\t<>\t>\t>=\t<\t<=\tlike\tnot like"));

    w->OptCutDate->setValue(true);
    EXPECT_TRUE(w->dtpDate->isEnabled());
    w->optCurStock->setValue(true);
    EXPECT_FALSE(w->dtpDate->isEnabled());
    EXPECT_TRUE(messages().empty());
}

TEST_F(BackupWindow, WithoutStocksItSaysSoAndStaysOpen)
{
    exec("delete from t_Stock");
    const auto w = open();
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"仓库基础资料尚未输入，请先输入仓库基础资料!"}));
    EXPECT_EQ(w->StockList->ListCount(), 0);
    w->cmdOK_Click();
    EXPECT_EQ(messages().back(), "请选择要盘点的仓库、仓位或物料!");
}

TEST_F(BackupWindow, ConditionRowsGrowAndShrink)
{
    const auto w = open();
    fillRow(*w, 1, "物料代码", "=", "A01", "and");
    ASSERT_EQ(w->vsProc->MaxRows(), 2);
    w->vsProc->setRow(2);
    w->vsProc->setCol(4);
    EXPECT_EQ(w->vsProc->TypeComboBoxList(), QStringLiteral("\tand\tor"));
    fillRow(*w, 2, "物料名称", "like", "Bo", "or");
    ASSERT_EQ(w->vsProc->MaxRows(), 3);

    // A full row that is not the active last row adds none.
    w->vsProc->SetActiveCell(1, 1);
    w->vsProc_Change(3, 2);
    EXPECT_EQ(w->vsProc->MaxRows(), 3);

    // Clearing a middle row drops the last row and leaves the cleared one in place.
    fillRow(*w, 2, "", "", "", "");
    EXPECT_EQ(w->vsProc->MaxRows(), 2);
    EXPECT_EQ(w->GetGridCell(2, 1, 2, 4), "");
    EXPECT_EQ(w->GetGridCell(1, 3), "A01");
}

TEST_F(BackupWindow, ValidationNamesWhatIsMissing)
{
    struct Case
    {
        const char *name;
        bool stock;
        std::vector<std::array<const char *, 4>> rows;
        const char *message;
        int tab;
    };
    const Case cases[] = {
        {"items without stock",
         false,
         {{"物料代码", "=", "A01", ""}},
         "已经选择了物料，请再选择要盘点的仓库!",
         0},
        {"places without stock",
         false,
         {{"仓位名称", "=", "x", ""}},
         "请选择要盘点的仓库、仓位或物料!",
         0},
        {"nothing chosen", false, {}, "请选择要盘点的仓库、仓位或物料!", 0},
        {"value without name", true, {{"", "=", "A01", ""}}, "第1行，[名称]列数据不完整！", 1},
        {"name without comparison",
         true,
         {{"物料名称", "", "", ""}},
         "第1行，[比较]列数据不完整！",
         1},
        {"rows 2 and 4 incomplete",
         true,
         {{"物料代码", "=", "A", "and"},
          {"物料代码", "=", "B", ""},
          {"物料代码", "=", "C", "or"},
          {"", "", "D", ""}},
         "第4行，[名称]列数据不完整！",
         1},
    };
    for (const auto &c : cases) {
        // The old script goes first: it puts back what was in force before it.
        m_modals.reset();
        m_modals = std::make_unique<host::ui::ScriptedModals>();
        const auto w = open();
        w->sstCheckStock->setTab(1 - c.tab);
        if (c.stock)
            selectStocks(*w, {0});
        int row = 1;
        for (const auto &cells : c.rows) {
            w->vsProc->setMaxRows(std::max(w->vsProc->MaxRows(), row));
            for (int col = 1; col <= 4; ++col)
                w->vsProc->SetText(col, row, QString::fromUtf8(cells[col - 1]));
            ++row;
        }
        EXPECT_FALSE(w->ValidateInput()) << c.name;
        EXPECT_EQ(messages(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(w->sstCheckStock->Tab(), c.tab) << c.name;
    }
}

TEST_F(BackupWindow, ParametersFromTheChoices)
{
    module().gUseShortNumber = true;
    const auto w = open();
    // The option is absent: short numbers are in use.
    selectStocks(*w, {0, 2, 1});
    fillRow(*w, 1, "物料代码", "like", "01", "and");
    fillRow(*w, 2, "仓位名称", "=", "A区", "or");
    w->OptCutDate->setValue(true);
    w->dtpDate->setValue(QDate(2026, 11, 15));
    ASSERT_TRUE(w->ValidateInput());
    ASSERT_EQ(w->vsProc->MaxRows(), 3);
    // Conditions after the first row without a name are not used.
    w->vsProc->setMaxRows(4);
    w->vsProc->SetText(1, 4, "物料名称");
    const auto p = w->BuildBackupParams();
    EXPECT_EQ(host::CStr(p->Value("Stock")), "1,2,3");
    EXPECT_EQ(host::CStr(p->Value("Filter")),
              " and (t4.FShortNumber like '%01%' and t5.FName = 'A区' )");
    EXPECT_EQ(host::CStr(p->Value("Date")), "2026-11-15");
    EXPECT_EQ(host::CLng(p->Value("Operater")), kOperator);

    w->optCurStock->setValue(true);
    EXPECT_EQ(host::CStr(w->BuildBackupParams()->Value("Date")), today());
}

TEST_F(BackupWindow, ConditionValuesKeepTheirQuotesInsideTheText)
{
    setOption("UseShortNumber", "0");
    const auto w = open();
    selectStocks(*w, {0});
    fillRow(*w, 1, "物料名称", "<>", "O'Neil", "");
    ASSERT_TRUE(w->ValidateInput());
    EXPECT_EQ(host::CStr(w->BuildBackupParams()->Value("Filter")), " and (t4.FName <> 'O''Neil')");
    fillRow(*w, 1, "物料代码", "=", "", "");
    ASSERT_TRUE(w->ValidateInput());
    // Full numbers in use; an empty value compares against an empty text.
    EXPECT_EQ(host::CStr(w->BuildBackupParams()->Value("Filter")), " and (t4.FNumber = '')");
}

TEST_F(BackupWindow, TrailingConnectiveIsDropped)
{
    const struct
    {
        const char *in;
        const char *out;
    } cases[] = {{"t4.FName = 'x' and ", "t4.FName = 'x' "},
                 {"t4.FName = 'x' or ", "t4.FName = 'x' "},
                 {"t4.FName = 'x' ", "t4.FName = 'x'"},
                 {"  ", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(frmBackupInv::TrimTrailingLogic(c.in), c.out) << c.in;
}

TEST_F(BackupWindow, OkBacksUpTheChosenStockAndCloses)
{
    addStock({kItemPiece, 1, 10, "L1", 5});
    addStock({kItemBox, 1, 11, "L1", 24});
    addStock({kItemPiece, 2, 10, "L1", 7});
    const auto w = open();
    selectStocks(*w, {0});
    w->sstCheckStock->setTab(1);
    fillRow(*w, 1, "仓位代码", "=", "P10", "");
    w->cmdOK_Click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"仓库备份已经完成!请按“确定”返回!"}));
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(rows("select FStockID,FItemID,FQty from ICInvBackup"),
              (std::vector<Row>{{1, kItemPiece, 5.0}}));
    EXPECT_EQ(rows("select FOperatorID,FBackupType from ICStockCheckProcess"),
              (std::vector<Row>{{kOperator, 1}}));
}

TEST_F(BackupWindow, PreChecksRefuseTheBackup)
{
    addStock({kItemPiece, 1, 10, "L1", 5});
    const auto w = open();
    selectStocks(*w, {0});
    w->OptCutDate->setValue(true);
    w->dtpDate->setValue(QDate(2024, 12, 31));
    w->cmdOK_Click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"截止日期不能小于系统启用日期！"}));

    // Another stock without book stock.
    w->optCurStock->setValue(true);
    w->StockList->setSelected(0, false);
    selectStocks(*w, {2});
    w->cmdOK_Click();
    EXPECT_EQ(messages().back(), "没有可用的数据，不能备份！");

    // Without a system start date nothing is said.
    exec("delete from t_SystemProfile where FKey='StartYear'");
    selectStocks(*w, {0});
    w->cmdOK_Click();
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(count("ICStockCheckProcess"), 0);
}

// From the keyboard: a cut-off date typed whole after tabbing in is taken whole, and after a
// refusal the user is back in the stock list.
TEST_F(BackupWindow, ADateTypedWholeIsTakenAndARefusalReturnsToTheList)
{
    addStock({kItemPiece, 1, 10, "L1", 5});
    const auto w = open();
    ASSERT_TRUE(showActive(*w));
    w->OptCutDate->setFocus();
    QTest::keyClick(w->OptCutDate, Qt::Key_Space);
    ASSERT_TRUE(w->dtpDate->isEnabled());
    for (const char *typed : {"2024-03-05", "2024-3-5", "20240305"}) {
        w->OptCutDate->setFocus();
        QTest::keyClick(w->OptCutDate, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), w->dtpDate);
        QTest::keyClicks(w->dtpDate, QString::fromLatin1(typed));
        EXPECT_EQ(w->dtpDate->Value().toString(Qt::ISODate), "2024-03-05") << typed;
    }
    // F4 and Alt+Down open the calendar, as they open a list: an arrow moves the day, Enter takes
    // it and the keys are back in the date box.
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_F4), Qt::ALT | Qt::Key_Down}) {
        QTest::keyClick(w->dtpDate, key.key(), key.keyboardModifiers());
        QWidget *calendar = QApplication::activePopupWidget();
        ASSERT_NE(calendar, nullptr) << key.key();
        QTest::keyClick(calendar->focusWidget() ? calendar->focusWidget() : calendar,
                        Qt::Key_Right);
        QTest::keyClick(calendar->focusWidget() ? calendar->focusWidget() : calendar,
                        Qt::Key_Return);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << key.key();
        ASSERT_TRUE(showActive(*w));
        EXPECT_EQ(QApplication::focusWidget(), w->dtpDate) << key.key();
    }
    EXPECT_EQ(w->dtpDate->Value().toString(Qt::ISODate), "2024-03-07");
    // Tab bar, list: a stock is chosen there, then OK is reached by Tab and pressed.
    QTest::keyClick(w->dtpDate, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w->StockList);
    QTest::keyClick(w->StockList, Qt::Key_Space);
    QTest::keyClick(w->StockList, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w->cmdOK);
    QTest::keyClick(w->cmdOK, Qt::Key_Space);
    EXPECT_EQ(messages(), (std::vector<std::string>{"截止日期不能小于系统启用日期！"}));
    EXPECT_EQ(QApplication::focusWidget(), w->StockList);
    EXPECT_TRUE(w->isVisible());
}

// Maxima that cannot be read refuse the backup with one message, at each attempt: the state of
// the read is cleared after every backup.
TEST_F(BackupWindow, UnreadableMaximaAreReportedOncePerBackup)
{
    addStock({kItemPiece, 1, 10, "L1", 5});
    exec("drop table t_MTOChange");
    const auto w = open();
    selectStocks(*w, {0});
    for (size_t attempt = 1; attempt <= 2; ++attempt) {
        w->cmdOK_Click();
        EXPECT_EQ(messages(),
                  std::vector<std::string>(attempt, "读取单据最大内码失败，不能备份！"));
        EXPECT_EQ(backupState().gSnapshotMaxima, BackupState::SnapshotMaxima::NotRead);
    }
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(count("ICStockCheckProcess"), 0);
}

TEST_F(BackupWindow, CutOffDateOnTheStartDatePasses)
{
    addStock({kItemPiece, 1, 10, "L1", 5});
    const auto w = open();
    selectStocks(*w, {0});
    w->OptCutDate->setValue(true);
    w->dtpDate->setValue(QDate(2025, 1, 1));
    host::Dictionary p;
    p.SetValue("Stock", "1");
    p.SetValue("Filter", "");
    EXPECT_TRUE(w->CheckBeforeBackup(p, true, host::makeDate(2025, 1, 1)));
    EXPECT_TRUE(host::CBool(p.Value("isCutDate")));
    EXPECT_EQ(host::CDate(p.Value("CutDate")), host::makeDate(2025, 1, 1));
}

TEST_F(BackupWindow, F7PicksItemsAndStockPlaces)
{
    const auto w = open();
    // F7 in the grid; its lookup opens once the key has been delivered.
    const auto pressF7 = [&w] {
        QTest::keyClick(w->vsProc, Qt::Key_F7);
        QApplication::processEvents();
    };
    // Nothing chosen in the first column: no lookup.
    w->vsProc->SetActiveCell(3, 1);
    pressF7();
    EXPECT_TRUE(m_modals->modalWindows().empty());

    const auto chooseFirst = [](host::ui::Form &form) {
        dynamic_cast<host::LookupWindow &>(form).choose(0);
    };
    const struct
    {
        const char *name;
        const char *picked;
    } cases[] = {
        {"物料代码", "sA01"}, {"物料名称", "Bolt"}, {"仓位代码", "sP10"}, {"仓位名称", "Shelf A"}};
    for (const auto &c : cases) {
        w->vsProc->SetText(1, 1, c.name);
        w->vsProc->SetText(3, 1, "");
        m_modals->whileShown(chooseFirst);
        pressF7();
        EXPECT_EQ(w->vsProc->GetText(3, 1), QString::fromUtf8(c.picked)) << c.name;
    }
    // A cancelled lookup changes nothing.
    m_modals->whileShown([](host::ui::Form &form) { form.Unload(); });
    pressF7();
    EXPECT_EQ(w->vsProc->GetText(3, 1), QStringLiteral("Shelf A"));
    EXPECT_TRUE(messages().empty());
}
