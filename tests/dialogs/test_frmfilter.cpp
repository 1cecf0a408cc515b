#include "dialogtest.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/countsheetwindows.h"
#include "countsheet/maindo.h"
#include "dialogs/dialogsinstall.h"
#include "dialogs/frmfilter.h"
#include "host/core/dictionary.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/tabcontrol.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/uitestutil.h"
#include "support/casename.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>

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
        return host::CStr(countSheetState().gFilterDict->Value(key));
    }
};

TEST_F(FilterDialog, OkLeavesTheConditionsAndOrderWithQuotesDoubled)
{
    countSheetState().gFilterCancelled = true;
    open(0, [](frmFilter &d) {
        EXPECT_EQ(d.SSTab1->Tab(), 0);
        condition(d, 1, "物料名称", "=", "O'Brien", "并且");
        EXPECT_EQ(d.vsFilter->MaxRows(), 2) << "a complete row gets a successor";
        condition(d, 2, "盘盈数量", ">", "5", "");
        sortRow(d, 1, "物料代码", "升序");
        sortRow(d, 2, "基本单位账存数量", "降序");
        d.cmdOK_Click();
    });
    EXPECT_FALSE(countSheetState().gFilterCancelled);
    EXPECT_EQ(entry("Filter"), "FName = 'O''Brien' and IsNull(FCUUnitOverQty,0) > 5");
    EXPECT_EQ(entry("SortBy"), "FItemShortNumber Asc ,FQty Desc ");
    EXPECT_TRUE(messages().empty());
}

TEST_F(FilterDialog, CancelClearsTheEarlierChoices)
{
    countSheetState().gFilterDict = std::make_shared<host::Dictionary>();
    countSheetState().gFilterDict->SetValue("Filter", std::string("FQty > 1"));
    open(0, [](frmFilter &d) { d.cmdCancel_Click(); });
    EXPECT_TRUE(countSheetState().gFilterCancelled);
    EXPECT_EQ(entry("Filter"), "");
    EXPECT_EQ(entry("SortBy"), "");
}

// What a user does in a cell of the condition grid: a double click opens its editor, the keys
// typed pick a choice of a list or write a text; Enter ends it.
void enter(host::ui::SpreadGrid &grid, int col, int row, const QString &text)
{
    const QPoint at = grid.visualRect(grid.model()->index(row - 1, col - 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
    QWidget *editor = QApplication::focusWidget();
    ASSERT_TRUE(editor && editor != &grid) << "no editor in " << col << "," << row;
    for (const QChar c : text) {
        // Chinese characters come as a key event with a text, as an input method sends them.
        if (c.unicode() < 128)
            QTest::keyClick(editor, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        ASSERT_EQ(combo->currentText(), text);
    }
    QTest::keyClick(editor, Qt::Key_Return);
}

// A value its number cell refuses keeps the editor open and OK (by its access key) waiting, and
// the line beside the buttons says what the cell takes until a value is taken.
TEST_F(FilterDialog, ARefusedNumberIsToldBesideTheButtons)
{
    open(0, [](frmFilter &d) {
        QApplication::setActiveWindow(&d);
        const QString hint = d.lblInfo->Caption();
        EXPECT_FALSE(hint.isEmpty());
        // The hint speaks of the conditions' values; the sort tab has none to pick.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        EXPECT_EQ(d.SSTab1->Tab(), 1);
        EXPECT_EQ(d.lblInfo->Caption(), QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(d.lblInfo->Caption(), hint);
        enter(*d.vsFilter, 1, 1, QStringLiteral("账存数量"));
        enter(*d.vsFilter, 2, 1, QStringLiteral(">"));
        // The value cell opens its editor as it is entered.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *editor = QApplication::focusWidget();
        ASSERT_NE(editor, d.vsFilter);
        const QString refused = QStringLiteral("999999999999999");
        QTest::keyClicks(editor, refused);
        QTest::keyClick(editor, Qt::Key_Y, Qt::AltModifier);
        // The key clicks the button as a short press, which it answers on release.
        QTest::qWait(300);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.lblInfo->Caption().startsWith(d.vsFilter->GetText(3, 0)))
            << d.lblInfo->Caption().toStdString();
        for (int i = 0; i < refused.size(); ++i)
            QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, QStringLiteral("5"));
        QTest::keyClick(editor, Qt::Key_Y, Qt::AltModifier);
        QTest::qWait(300);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.lblInfo->Caption(), hint);
    });
    EXPECT_EQ(entry("Filter"), "FCUUnitQty > 5");
    EXPECT_TRUE(messages().empty());
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
        QApplication::setActiveWindow(&d);
        GetParam().fill(d);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
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
         DialogTest::type(*d.vsFilter, 4, 1, "并且");
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
    // A value typed before its field was chosen stays as typed; read as a number it is infinite.
    {"a number too large to compare",
     [](frmFilter &d) {
         enter(*d.vsFilter, 3, 1, QStringLiteral("1e999"));
         enter(*d.vsFilter, 1, 1, QStringLiteral("账存数量"));
         enter(*d.vsFilter, 2, 1, QStringLiteral(">"));
     },
     "第1行，[比较值]列的数字太大，无法比较！", 0},
};

INSTANTIATE_TEST_SUITE_P(Rows, FilterRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

struct HostileCase
{
    const char *description;
    int colType; // of the template's note column: outside the four types the dialog knows
    const char *op;
    const char *filter;
    long listed; // lines the sheet then lists: those with another note for "<>"
};

void PrintTo(const HostileCase &c, std::ostream *os)
{
    *os << c.description;
}

class HostileValue : public FilterDialog, public ::testing::WithParamInterface<HostileCase>
{};

// A value typed into a condition is a value in the count-sheet query, whatever the column's
// type: SQL typed there neither runs nor breaks the query.
TEST_P(HostileValue, ReachesTheQueryQuotedAndTheCountStaysWhole)
{
    const HostileCase &c = GetParam();
    sql("update ICChatBillTitle set FColType=" + std::to_string(c.colType) +
        " where FColName='FNote'");
    const long lines = count("select * from ICInvBackup");
    open(0, [&c](frmFilter &d) {
        QApplication::setActiveWindow(&d);
        enter(*d.vsFilter, 1, 1, QStringLiteral("备注"));
        enter(*d.vsFilter, 2, 1, QString::fromUtf8(c.op));
        enter(*d.vsFilter, 3, 1,
              QStringLiteral("1 Delete ICInvBackup Select 1 FStockName,1 FSPName,1 FName"));
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_FALSE(countSheetState().gFilterCancelled);
    EXPECT_EQ(entry("Filter"), c.filter);

    MainDo sheet;
    const auto rs = sheet.GetRsMain(1, {}, 0, countSheetState().gFilterDict.get());
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), c.listed);
    EXPECT_EQ(count("select * from ICInvBackup"), lines);
    EXPECT_TRUE(messages().empty());
}

const HostileCase kHostile[] = {
    {"type 4 compared", 4, "=",
     "FNote = '1 Delete ICInvBackup Select 1 FStockName,1 FSPName,1 FName'", 0},
    {"type 9 matched", 9, "包含",
     "FNote like '%1 Delete ICInvBackup Select 1 FStockName,1 FSPName,1 FName%'", 0},
    {"type -1 compared", -1, "<>",
     "FNote <> '1 Delete ICInvBackup Select 1 FStockName,1 FSPName,1 FName'", 1},
};

INSTANTIATE_TEST_SUITE_P(Types, HostileValue, ::testing::ValuesIn(kHostile),
                         [](const auto &c) { return caseName(c.index, c.param.description); });

} // namespace
