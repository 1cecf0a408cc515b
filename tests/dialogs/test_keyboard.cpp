// A count from the keyboard: the lookups, the add-line window, the find dialog and the dialogs
// of the count-sheet window, driven by key events into the real windows.
#include "dialogsdb.h"

#include "countsheet/countsheetstate.h"
#include "dialogs/frmadditem.h"
#include "dialogs/frmfind.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/lookup/glview.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/datepicker.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/uitestutil.h"
#include "services/modulestate.h"
#include "support/casename.h"
#include "window/countwindowtest.h"

#include <QAction>
#include <QBrush>
#include <QTest>
#include <QWindow>

#include <map>
#include <variant>

namespace {

// A key, or a text typed key by key, into the widget that has the focus.
using Keystroke = std::variant<Qt::Key, const char *>;

void press(const std::vector<Keystroke> &keys)
{
    for (const Keystroke &key : keys) {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        if (const auto *k = std::get_if<Qt::Key>(&key)) {
            QTest::keyClick(focus, *k);
            continue;
        }
        // Characters beyond ASCII have no key of their own; they arrive as typed text.
        for (const QChar ch : QString::fromUtf8(std::get<const char *>(key))) {
            if (ch.unicode() < 0x80)
                QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                    QString(ch), Qt::NoModifier);
        }
    }
}

struct LookupCase
{
    const char *name;
    std::vector<Keystroke> keys;
    const char *chosen; // the code picked, or nullptr when nothing was
};

class LookupKeys : public DialogsDbTest, public ::testing::WithParamInterface<LookupCase>
{};

TEST_P(LookupKeys, PickAnItemWithoutTheMouse)
{
    const LookupCase &c = GetParam();
    bool closed = false;
    m_modals.whileShown([&](host::ui::Form &form) {
        ASSERT_TRUE(showActive(form));
        press(c.keys);
        closed = !form.isVisible();
    });
    const auto view = host::CreateObjectAs<host::GLView>(host::GLView::ProgId);
    host::Dictionary options;
    options.SetValue("BeShortNumber", false);
    std::string search;
    std::string filter = " FErpClsID Not in(6,8)";
    const auto result = view->ItemLookUp(4, search, filter, options);
    EXPECT_TRUE(closed);
    ASSERT_EQ(result->ReturnObject != nullptr, c.chosen != nullptr);
    if (c.chosen) {
        EXPECT_EQ(result->ReturnObject->Number(), c.chosen);
    }
}

const LookupCase kLookupCases[] = {
    {"Enter picks the current row", {Qt::Key_Return}, "01.001"},
    {"arrows move", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Enter}, "01.002"},
    {"typing narrows", {"油漆", Qt::Key_Return}, "01.002"},
    {"typing in the list narrows it too", {Qt::Key_Tab, "003", Qt::Key_Return}, "01.003"},
    {"Escape closes", {Qt::Key_Down, Qt::Key_Escape}, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Keys, LookupKeys, ::testing::ValuesIn(kLookupCases),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

// The add-line window walked with Enter, Tab or Shift+Tab: each key lands in the next control
// that takes an entry, past the boxes and cells the item does not use, and Enter past the
// lookup buttons too (F7 does their work).
struct WalkCase
{
    const char *name;
    const char *item;
    const char *from;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::vector<std::string> stops;
};

class AddLineWalk : public DialogsDbTest, public ::testing::WithParamInterface<WalkCase>
{
protected:
    static std::map<QWidget *, std::string> controlNames(const frmAddItem &w)
    {
        return {{w.txtNumber, "txtNumber"},
                {w.cmdItem, "cmdItem"},
                {w.txtUnitName, "txtUnitName"},
                {w.txtSecUnitName, "txtSecUnitName"},
                {w.grdSecQty, "grdSecQty"},
                {w.grdAdjQty, "grdAdjQty"},
                {w.txtAuxPropName, "txtAuxPropName"},
                {w.cmdAuxProp, "cmdAuxProp"},
                {w.txtStockNumber, "txtStockNumber"},
                {w.cmdStockNumber, "cmdStockNumber"},
                {w.txtSPNumber, "txtSPNumber"},
                {w.cmdSPNumber, "cmdSPNumber"},
                {w.dtpKFDate, "dtpKFDate"},
                {w.grdKFPeriod, "grdKFPeriod"},
                {w.txtBatchNo, "txtBatchNo"},
                {w.cmdBatchNo, "cmdBatchNo"},
                {w.txtNote, "txtNote"},
                {w.grdQty, "grdQty"},
                {w.cmdADD, "cmdADD"}};
    }
};

TEST_P(AddLineWalk, KeysStopOnlyWhereTheItemTakesAnEntry)
{
    const WalkCase &c = GetParam();
    frmAddItem window;
    window.Load();
    ASSERT_TRUE(showActive(window));
    window.txtNumber->setFocus();
    press({c.item, Qt::Key_Return});
    ASSERT_EQ(window.itemId() > 0, true) << "the typed code was checked on the way";
    // A cell the keys pass over looks locked, though the item was typed and not picked.
    const bool secondUnit = !window.txtSecUnitName->Text().isEmpty();
    const QVariant look = window.grdSecQty->model()->index(0, 0).data(Qt::BackgroundRole);
    EXPECT_EQ(look.value<QBrush>().color(),
              QApplication::palette().color(secondUnit ? QPalette::Base : QPalette::ToolTipBase));
    const auto names = controlNames(window);
    for (const auto &[control, name] : names) {
        if (name == c.from)
            control->setFocus();
    }
    std::vector<std::string> stops;
    for (std::size_t i = 0; i < c.stops.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
        const auto it = names.find(QApplication::focusWidget());
        stops.push_back(it == names.end() ? "(another control)" : it->second);
    }
    EXPECT_EQ(stops, c.stops);
}

const WalkCase kWalks[] = {
    {"Enter past what a plain item does not use",
     "01.001",
     "txtNumber",
     Qt::Key_Return,
     Qt::NoModifier,
     {"txtUnitName", "grdAdjQty", "txtStockNumber", "txtSPNumber", "txtNote", "grdQty", "cmdADD"}},
    {"Enter through the date of a shelf-life item",
     "01.002",
     "txtSPNumber",
     Qt::Key_Return,
     Qt::NoModifier,
     {"dtpKFDate", "grdKFPeriod", "txtBatchNo", "txtNote", "grdQty"}},
    {"Tab leaves the quantity cells as a box",
     "01.002",
     "txtUnitName",
     Qt::Key_Tab,
     Qt::NoModifier,
     {"grdSecQty", "grdAdjQty", "txtAuxPropName", "cmdAuxProp", "txtStockNumber"}},
    {"Shift+Tab walks back",
     "01.001",
     "grdQty",
     Qt::Key_Backtab,
     Qt::ShiftModifier,
     {"txtNote", "cmdSPNumber", "txtSPNumber", "cmdStockNumber", "txtStockNumber", "grdAdjQty",
      "txtUnitName", "cmdItem"}},
};

INSTANTIATE_TEST_SUITE_P(Keys, AddLineWalk, ::testing::ValuesIn(kWalks),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

// The counted quantity is a number cell with the item's decimals, and what was typed stays
// while the item does.
TEST_F(DialogsDbTest, TheCountedQuantityTakesNumbersAndKeepsThemWhileTheItemStays)
{
    frmAddItem window;
    window.Load();
    ASSERT_TRUE(showActive(window));
    auto counted = [&window] { return window.grdQty->GetText(1, 1); };
    window.txtNumber->setFocus();
    press({"01.001", Qt::Key_Return});
    ASSERT_EQ(window.itemId(), 1);
    window.grdQty->setFocus();
    // Item 1 keeps 2 decimals.
    for (const char *refused : {"1.234", "12abc", "1e99"}) {
        typeIntoGrid(*window.grdQty, QString::fromLatin1(refused));
        EXPECT_EQ(counted(), "0") << refused;
        window.grdQty->setFocus();
    }
    typeIntoGrid(*window.grdQty, QStringLiteral("3.25"));
    EXPECT_EQ(counted(), "3.25");
    // Back over the code and on again: the same item is set up anew, the count stays.
    window.grdQty->setFocus();
    while (QApplication::focusWidget() != window.txtNumber)
        press({Qt::Key_Backtab});
    press({Qt::Key_Return});
    EXPECT_EQ(window.itemId(), 1);
    EXPECT_EQ(counted(), "3.25");
    // Another item starts from nothing.
    window.txtNumber->setFocus();
    window.txtNumber->selectAll();
    press({"01.003", Qt::Key_Tab});
    EXPECT_EQ(window.itemId(), 3);
    EXPECT_EQ(counted(), "0");
}

// What a user sees of a dialog opened from the count-sheet window: it opens over the window
// that opened it and belongs to it, and Escape closes it as its Cancel would.
struct DialogCase
{
    const char *name;
    long mode;
    QAction *frmMain::*command;
};

class WindowDialogs : public CountWindowTest, public ::testing::WithParamInterface<DialogCase>
{};

TEST_P(WindowDialogs, OpenOverTheWindowAndCloseWithEscape)
{
    const DialogCase &c = GetParam();
    const long id = backUp();
    const auto window = open(c.mode);
    if (c.command == &frmMain::mnuFSave) {
        // A line the database no longer holds is refused and listed.
        sql("Delete From ICInvBackup Where FInterID=" + std::to_string(id) +
            " And FItemID=" + window->vsCheck->GetText(1, 1).toStdString() +
            " And FStockID=" + window->vsCheck->GetText(42, 1).toStdString());
        type(*window, 24, 1, "3");
    }
    countSheetState().gFilterCancelled = false;
    bool shown = false, owned = false, over = false, closed = false;
    m_modals->whileShown([&](host::ui::Form &form) {
        shown = true;
        // A window manager keeps a dialog over the window it belongs to.
        owned = form.windowHandle() &&
                form.windowHandle()->transientParent() == window->windowHandle() &&
                form.windowType() == Qt::Dialog;
        over = window->frameGeometry().contains(form.frameGeometry().center()) &&
               form.screen()->availableGeometry().contains(form.frameGeometry());
        ASSERT_TRUE(showActive(form));
        press({Qt::Key_Escape});
        closed = !form.isVisible();
    });
    (window.get()->*c.command)->trigger();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(over);
    EXPECT_TRUE(closed);
    // Escape is the filter's Cancel, which the window reads.
    EXPECT_EQ(countSheetState().gFilterCancelled, c.command == &frmMain::mnuEdit_Filter);
}

const DialogCase kDialogs[] = {
    {"filter", 4, &frmMain::mnuEdit_Filter},    {"find", 4, &frmMain::mnuEdit_Find},
    {"add line", 4, &frmMain::mnuAddItem},      {"column chooser", 1, &frmMain::mnuVViewHide},
    {"save error list", 4, &frmMain::mnuFSave},
};

INSTANTIATE_TEST_SUITE_P(Dialogs, WindowDialogs, ::testing::ValuesIn(kDialogs),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

TEST_F(CountWindowTest, FocusStartsInTheGridOfTheModeNotInTheProcessList)
{
    backUp();
    backUp();
    for (const long mode : {1L, 4L}) {
        const auto window = open(mode);
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << mode;
        if (mode == 4) {
            EXPECT_EQ(focus, window->vsCheck) << "input mode counts in the entry grid";
            EXPECT_EQ(window->vsCheck->ActiveRow(), 1);
            EXPECT_EQ(window->vsCheck->ActiveCol(), 24) << "the first cell that takes a count";
        } else {
            EXPECT_EQ(focus, window->ldgCheck);
        }
        const long process = module().gCurInterID;
        press({Qt::Key_Down});
        EXPECT_EQ(module().gCurInterID, process) << "the arrow stays in the sheet";
        window->Unload();
    }
}

// The find dialog of the input-mode window, opened as Edit/Find opens it.
class FindDialog : public CountWindowTest
{
protected:
    // Runs steps in the open dialog; the row of the column with that caption is passed.
    void inFind(const QString &caption, const std::function<void(frmFind &, int row)> &steps)
    {
        backUp();
        m_window = open(4);
        m_modals->whileShown([&](host::ui::Form &form) {
            auto &find = static_cast<frmFind &>(form);
            ASSERT_TRUE(showActive(find));
            int row = 0;
            for (int r = 1; r <= find.vspSearch->MaxRows(); ++r)
                if (find.vspSearch->GetText(1, r) == caption)
                    row = r;
            ASSERT_GT(row, 0) << caption.toStdString();
            find.vspSearch->setFocus();
            find.vspSearch->SetActiveCell(2, row);
            steps(find, row);
        });
        m_window->mnuEdit_Find->trigger();
    }

    std::unique_ptr<frmMain> m_window;
};

TEST_F(FindDialog, F7OpensTheLookupWhileTheCellIsBeingEdited)
{
    QString picked, cell;
    inFind(QStringLiteral("物料代码"), [&](frmFind &find, int row) {
        m_modals->whileShown([&](host::ui::Form &form) {
            auto &lookup = static_cast<host::LookupWindow &>(form);
            QTest::keyClick(lookup.focusWidget(), Qt::Key_Down);
            picked = lookup.visibleCode(1);
            QTest::keyClick(lookup.focusWidget(), Qt::Key_Return);
        });
        press({"zz"});
        ASSERT_NE(QApplication::focusWidget(), find.vspSearch) << "the cell's editor is open";
        press({Qt::Key_F7});
        cell = find.vspSearch->GetText(2, row);
    });
    ASSERT_FALSE(picked.isEmpty());
    // The cell takes the picked item's code by the sheet's numbering, whichever the list shows.
    auto isCode = [](const QString &code) {
        return "(FNumber='" + code.toStdString() + "' Or FShortNumber='" + code.toStdString() +
               "')";
    };
    EXPECT_EQ(
        number("Select Count(*) From t_ICItem Where " + isCode(cell) + " And " + isCode(picked)),
        1);
}

// F3 opens Find in its first search cell; F7 there opens a lookup that belongs to Find and is
// kept over it, and Find stays in sight behind it.
TEST_F(FindDialog, OpensInItsFirstSearchCellAndItsLookupBelongsToIt)
{
    backUp();
    m_window = open(4);
    ASSERT_TRUE(showActive(*m_window));
    bool inFirstCell = false, owned = false, findShown = false;
    m_modals->whileShown([&](host::ui::Form &form) {
        auto &find = static_cast<frmFind &>(form);
        ASSERT_TRUE(showActive(find));
        inFirstCell = QApplication::focusWidget() == find.vspSearch &&
                      find.vspSearch->ActiveRow() == 1 && find.vspSearch->ActiveCol() == 2;
        m_modals->whileShown([&](host::ui::Form &lookup) {
            owned = lookup.windowHandle() &&
                    lookup.windowHandle()->transientParent() == find.windowHandle() &&
                    lookup.windowType() == Qt::Dialog;
            findShown = find.isVisible() && !lookup.frameGeometry().contains(find.frameGeometry());
        });
        for (int row = 1; row <= find.vspSearch->MaxRows(); ++row) {
            if (find.vspSearch->GetText(1, row) == QStringLiteral("物料代码"))
                break;
            press({Qt::Key_Down});
        }
        press({Qt::Key_F7});
    });
    press({Qt::Key_F3});
    EXPECT_TRUE(inFirstCell);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(findShown);
    EXPECT_TRUE(m_modals->allAnswersUsed());
}

TEST_F(FindDialog, EscapeInACellBeingEditedEndsTheEditNotTheDialog)
{
    bool openAfterFirst = false, openAfterSecond = true;
    inFind(QStringLiteral("物料名称"), [&](frmFind &find, int) {
        press({"bolt", Qt::Key_Escape});
        openAfterFirst = find.isVisible();
        press({Qt::Key_Escape});
        openAfterSecond = find.isVisible();
    });
    EXPECT_TRUE(openAfterFirst);
    EXPECT_FALSE(openAfterSecond);
}

struct NumberCase
{
    const char *name;
    const char *caption;
    const char *typed;
    const char *searched;
    const char *told; // the first message shown, or nullptr
    // The question at the end of the search is answered by Escape, which closes the dialog.
    bool closes = false;
};

class FindNumbers : public FindDialog, public ::testing::WithParamInterface<NumberCase>
{};

// A value refused is said once, stays in its cell and the keys with it; a search closed at its
// last question gives the keys back to the sheet.
TEST_P(FindNumbers, NumberColumnsTakeNumbersOnlyAndSayWhyAValueIsRefused)
{
    const NumberCase &c = GetParam();
    QString searched = QStringLiteral("(not searched)");
    QString kept;
    bool inCell = false, open = false;
    if (c.closes)
        m_modals->answer(host::ui::Msg::Cancel);
    inFind(QString::fromUtf8(c.caption), [&](frmFind &find, int row) {
        press({c.typed, Qt::Key_Return});
        QTest::mouseClick(find.cmdOk, Qt::LeftButton);
        searched = QString::fromStdString(
            sheetDialogsState().gQueryColumns[static_cast<std::size_t>(row - 1)].SearchValue);
        kept = find.vspSearch->GetText(2, row);
        inCell = QApplication::focusWidget() == find.vspSearch &&
                 find.vspSearch->ActiveRow() == row && find.vspSearch->ActiveCol() == 2;
        open = find.isVisible();
    });
    EXPECT_EQ(searched, QString::fromUtf8(c.searched));
    const auto &shown = m_modals->messages();
    if (c.told) {
        ASSERT_EQ(shown.size(), 1U);
        EXPECT_EQ(shown.front().text, QString::fromUtf8(c.told));
    } else {
        EXPECT_TRUE(shown.empty() || !shown.front().text.contains(QString::fromUtf8(c.typed)));
    }
    if (c.told && !c.closes) {
        EXPECT_EQ(kept, QString::fromUtf8(c.typed));
        EXPECT_TRUE(inCell);
        EXPECT_TRUE(open);
    }
    if (c.closes) {
        EXPECT_FALSE(open);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == m_window.get(); }));
        EXPECT_EQ(QApplication::focusWidget(), m_window->vsCheck);
    }
}

const NumberCase kNumbers[] = {
    {"whole number", "保质期(天)", "180", "180", nullptr},
    {"whole number with a condition", "保质期(天)", "180 OR FQty>0", "",
     "[保质期(天)]只能按整数搜索（不带负号和小数点），“180 OR FQty>0”不是这样的数，没有采用。"},
    {"number with a condition", "账存数量", "5 OR 1=1", "",
     "[账存数量]只能按数字搜索，“5 OR 1=1”不是数字，没有采用。"},
    {"number no line holds, the search closed", "账存数量", "987654", "987654",
     "你已搜索完全部记录，但没有找到相应的内容!是否重新搜索?", true},
};

INSTANTIATE_TEST_SUITE_P(Values, FindNumbers, ::testing::ValuesIn(kNumbers),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

} // namespace
