// A count from the keyboard: the lookups, the add-line window, the find dialog and the dialogs
// of the count-sheet window, driven by key events into the real windows.
#include "dialogsdb.h"

#include "backup/frmbackupinv.h"
#include "countsheet/countline.h"
#include "countsheet/countsheetstate.h"
#include "dialogs/frmadditem.h"
#include "dialogs/frmfilter.h"
#include "dialogs/frmfind.h"
#include "dialogs/frmselect.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/lookup/glview.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/datepicker.h"
#include "host/ui/controls/tabcontrol.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "host/ui/uitestutil.h"
#include "services/modulestate.h"
#include "support/casename.h"
#include "window/countwindowtest.h"

#include <QAction>
#include <QBrush>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QWindow>

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace {

// A key, or a text typed key by key, into the widget that has the focus; between keys the
// window runs what a key started, as the event loop does.
using Keystroke = std::variant<QKeyCombination, const char *>;

void press(const std::vector<Keystroke> &keys)
{
    for (const Keystroke &key : keys) {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        if (const auto *k = std::get_if<QKeyCombination>(&key)) {
            QTest::keyClick(focus, k->key(), k->keyboardModifiers());
            QApplication::processEvents();
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

// The counted quantity is a number cell with two decimals more than the item keeps, and what
// was typed stays while the item does. A text a quantity cell refuses stays in its editor and a
// message says what the cell takes: neither Enter nor OK goes on with the value the cell kept.
TEST_F(DialogsDbTest, TheCountedQuantityTakesNumbersAndKeepsThemWhileTheItemStays)
{
    frmAddItem window;
    window.Load();
    ASSERT_TRUE(showActive(window));
    auto counted = [&window] { return window.grdQty->GetText(1, 1); };
    window.txtNumber->setFocus();
    press({"01.001", Qt::Key_Return});
    ASSERT_EQ(window.itemId(), 1);
    const long lines = count("select * from ICInvBackup");
    struct Entry
    {
        host::ui::SpreadGrid *frmAddItem::*cell;
        const char *typed;
        const char *message; // nullptr: taken
    };
    // Item 1 keeps 2 decimals.
    const Entry entries[] = {
        {&frmAddItem::grdQty, "1.23456", "盘点数量最多 4 位小数"},
        {&frmAddItem::grdQty, "7a.5b", "盘点数量只能输入数字"},
        {&frmAddItem::grdQty, "1e99", "盘点数量只能输入数字"},
        {&frmAddItem::grdAdjQty, "1.234", "调整数量最多 2 位小数"},
        {&frmAddItem::grdQty, "1.234", nullptr},
    };
    for (const Entry &entry : entries) {
        host::ui::SpreadGrid &cell = *(window.*entry.cell);
        const std::size_t told = m_modals.messages().size();
        cell.setFocus();
        press({entry.typed, Qt::Key_Return});
        QApplication::processEvents();
        if (!entry.message) {
            EXPECT_EQ(cell.GetText(1, 1), entry.typed);
            EXPECT_EQ(m_modals.messages().size(), told);
            continue;
        }
        ASSERT_EQ(m_modals.messages().size(), told + 1) << entry.typed;
        EXPECT_EQ(m_modals.messages().back().text, QString::fromUtf8(entry.message));
        QTest::mouseClick(window.cmdOk, Qt::LeftButton);
        QApplication::processEvents();
        const auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_TRUE(editor && cell.isAncestorOf(editor)) << entry.typed;
        EXPECT_EQ(editor->text(), entry.typed);
        EXPECT_EQ(count("select * from ICInvBackup"), lines);
        press({Qt::Key_Escape});
        EXPECT_EQ(cell.GetText(1, 1), "0");
    }
    // Back over the code and on again: the same item is set up anew, the count stays.
    window.grdQty->setFocus();
    while (QApplication::focusWidget() != window.txtNumber)
        press({Qt::Key_Backtab});
    press({Qt::Key_Return});
    EXPECT_EQ(window.itemId(), 1);
    EXPECT_EQ(counted(), "1.234");
    // Another item starts from nothing.
    window.txtNumber->setFocus();
    window.txtNumber->selectAll();
    press({"01.003", Qt::Key_Tab});
    EXPECT_EQ(window.itemId(), 3);
    EXPECT_EQ(counted(), "0");
}

// What a user sees of a dialog opened from the count-sheet window: it opens over the window
// that opened it and belongs to it, and Escape closes it as its Cancel would. Cancel, pressed by
// its access key, closes it even while a cell's editor holds a text the cell refuses.
struct DialogCase
{
    const char *name;
    long mode;
    QAction *frmMain::*command;
    std::vector<Keystroke> keys = {Qt::Key_Escape};
    // A text the keys leave waiting in the editor that has the focus, its dialog still open,
    // which Cancel's access key then closes.
    const char *waiting = nullptr;
};

class WindowDialogs : public CountWindowTest, public ::testing::WithParamInterface<DialogCase>
{};

TEST_P(WindowDialogs, OpenOverTheWindowAndCloseWithEscapeOrCancel)
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
    QString waiting;
    m_modals->whileShown([&](host::ui::Form &form) {
        shown = true;
        // A window manager keeps a dialog over the window it belongs to.
        owned = form.windowHandle() &&
                form.windowHandle()->transientParent() == window->windowHandle() &&
                form.windowType() == Qt::Dialog;
        over = window->frameGeometry().contains(form.frameGeometry().center()) &&
               form.screen()->availableGeometry().contains(form.frameGeometry());
        ASSERT_TRUE(showActive(form));
        press(c.keys);
        if (c.waiting) {
            // A button's access key clicks it once the short press is over.
            QTest::qWait(300);
            const auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            waiting = editor && form.isAncestorOf(editor) ? editor->text() : QString();
            if (form.isVisible())
                press({Qt::ALT | Qt::Key_C});
        }
        closed = QTest::qWaitFor([&form] { return !form.isVisible(); });
    });
    (window.get()->*c.command)->trigger();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(over);
    EXPECT_TRUE(closed);
    if (c.waiting) {
        EXPECT_EQ(waiting, QString::fromUtf8(c.waiting));
    }
    // Escape is the filter's Cancel, which the window reads.
    EXPECT_EQ(countSheetState().gFilterCancelled, c.command == &frmMain::mnuEdit_Filter);
}

// Cancel's access key takes no focus, so each text stays in the editor of a cell that refuses it:
// a quantity condition's value, and a counted quantity, beyond their cells' limits.
const std::vector<Keystroke> kRefusedValue = {"账存数量",  Qt::Key_Tab,       ">",
                                              Qt::Key_Tab, "999999999999999", Qt::ALT | Qt::Key_C};
const std::vector<Keystroke> kRefusedCount = {"01.01.001",       Qt::Key_Return,
                                              Qt::Key_Return,    Qt::Key_Return,
                                              "999999999999999", Qt::ALT | Qt::Key_E};

// The filter's value refused, its sort tab asked for by keys, then OK: the tab stays, the value
// waits in its editor and the filter does not run.
std::vector<Keystroke> refusedValueThen(QKeyCombination tabKey)
{
    return {"账存数量", Qt::Key_Tab,        ">", Qt::Key_Tab, "999999999999999",
            tabKey,     Qt::ALT | Qt::Key_Y};
}

const DialogCase kDialogs[] = {
    {"filter", 4, &frmMain::mnuEdit_Filter},
    {"find", 4, &frmMain::mnuEdit_Find},
    {"add line", 4, &frmMain::mnuAddItem},
    {"column chooser", 1, &frmMain::mnuVViewHide},
    {"save error list", 4, &frmMain::mnuFSave},
    {"filter cancelled over a refused value", 4, &frmMain::mnuEdit_Filter, kRefusedValue},
    {"add line cancelled over a refused count", 4, &frmMain::mnuAddItem, kRefusedCount},
    {"filter keeping a refused value from Ctrl+Tab", 4, &frmMain::mnuEdit_Filter,
     refusedValueThen(Qt::CTRL | Qt::Key_Tab), "999999999999999"},
    {"filter keeping a refused value from the sort tab's access key", 4, &frmMain::mnuEdit_Filter,
     refusedValueThen(Qt::ALT | Qt::Key_S), "999999999999999"},
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

// A key that opens a window, pressed in the open editor of a grid's cell (in Select bills, whose
// list has no editor, in the list; in the add-line window also in a box): the window opens,
// however it is closed the program goes on, and what was typed stays in the cell, is asked
// about first, or gives way to what the lookup picked.
enum class Grid
{
    Entry,
    Find,
    Filter,
    AddLineQuantity,
    AddLineItem,
    Backup,
    SelectBills
};

enum class Close
{
    Escape,
    Enter,
    Button // the window's OK by its access key, or its close box when it has none
};

enum class Typed
{
    Kept,
    Asked,
    Picked,
    None
};

struct CellKeyCase
{
    std::string name;
    Grid grid;
    QKeyCombination key;
    const char *opens; // the class of the window the key opens
    Close close;
    Typed typed;
    Qt::Key okKey = Qt::Key_unknown; // with Alt; none closes with the close box
    // The closing key typed ahead, while the program is busy for that many milliseconds after
    // the key and the window is still to come; below 0 it is pressed in the window.
    int ahead = -1;
};

class CellKeys : public CountWindowTest, public ::testing::WithParamInterface<CellKeyCase>
{
protected:
    // Picks the list item at that place (from 1) in a list cell, as Alt+Down, the arrows and
    // Enter pick it.
    static void pick(host::ui::SpreadGrid &grid, int col, int row, int item)
    {
        grid.setFocus();
        grid.SetActiveCell(col, row);
        QTest::keyClick(&grid, Qt::Key_Down, Qt::AltModifier);
        ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the cell's list is open";
        for (int i = 0; i < item; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        // Offscreen, the closed list leaves no window active.
        ASSERT_TRUE(showActive(*grid.window()));
    }

    // Presses the key where the focus is and closes the window it opens as the case says;
    // the class of that window, empty when none opened.
    QString pressAndClose(const CellKeyCase &c)
    {
        QString opened;
        m_modals->whileShown([&](host::ui::Form &form) {
            opened = QString::fromLatin1(form.metaObject()->className());
            ASSERT_TRUE(showActive(form));
            QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
            if (c.ahead >= 0) {
                EXPECT_TRUE(QTest::qWaitFor([&form] { return !form.isVisible(); })) << "closed";
                return;
            }
            switch (c.close) {
            case Close::Escape:
                QTest::keyClick(focus, Qt::Key_Escape);
                break;
            case Close::Enter:
                QTest::keyClick(focus, Qt::Key_Return);
                break;
            case Close::Button:
                if (c.okKey == Qt::Key_unknown)
                    form.close();
                else
                    QTest::keyClick(focus, c.okKey, Qt::AltModifier);
                break;
            }
            // A button's access key clicks it after showing it pressed.
            EXPECT_TRUE(QTest::qWaitFor([&form] { return !form.isVisible(); })) << "closed";
        });
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus, c.key.key(), c.key.keyboardModifiers());
        if (c.ahead >= 0) {
            // Nothing runs meanwhile; the closing key comes as a typed key does, to the window
            // that has the keys.
            QThread::msleep(static_cast<unsigned long>(c.ahead));
            for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                qt_handleKeyEvent(focus->window()->windowHandle(), type, Qt::Key_Escape, {});
        }
        // What the key starts runs once the event loop has it again.
        QApplication::processEvents();
        return opened;
    }

    // Types into the grid's cell, presses the key and closes its window; the cell's text
    // afterwards.
    QString typeAndPress(host::ui::SpreadGrid &grid, int col, int row, const QString &text)
    {
        typeWithoutEnter(grid, col, row, text);
        m_opened = pressAndClose(GetParam());
        return grid.GetText(col, row);
    }

    // Runs the steps in the dialog the window's command opens.
    void inDialog(frmMain &window, QAction *frmMain::*command,
                  const std::function<void(host::ui::Form &)> &steps)
    {
        m_modals->whileShown([&](host::ui::Form &form) {
            ASSERT_TRUE(showActive(form));
            steps(form);
            m_dialogStayed = form.isVisible();
        });
        (window.*command)->trigger();
    }

    QString m_opened;
    bool m_dialogStayed = true;
};

TEST_P(CellKeys, OpenTheirWindowAndKeepWhatWasTyped)
{
    const CellKeyCase &c = GetParam();
    backUp();
    sql("Update ICStockCheckProcess Set FBackupType=1");
    const auto window = open(4);
    frmMain &w = *window;
    const QString typed = c.grid == Grid::Entry || c.grid == Grid::AddLineQuantity
                              ? QStringLiteral("4802")
                              : QStringLiteral("zz");
    if (c.typed == Typed::Asked)
        m_modals->answer(host::ui::Msg::No);
    QString after;
    switch (c.grid) {
    case Grid::Entry:
        after = typeAndPress(*w.vsCheck, EntryCol::CUUnitCheckQty, 1, typed);
        break;
    case Grid::Find:
        inDialog(w, &frmMain::mnuEdit_Find, [&](host::ui::Form &form) {
            auto &find = dynamic_cast<frmFind &>(form);
            int row = 1;
            while (find.vspSearch->GetText(1, row) != QStringLiteral("物料代码"))
                ++row;
            after = typeAndPress(*find.vspSearch, 2, row, typed);
        });
        break;
    case Grid::Filter:
        inDialog(w, &frmMain::mnuEdit_Filter, [&](host::ui::Form &form) {
            auto &filter = dynamic_cast<frmFilter &>(form);
            // The item code, compared with "=".
            pick(*filter.vsFilter, 1, 1, 5);
            pick(*filter.vsFilter, 2, 1, 1);
            after = typeAndPress(*filter.vsFilter, 3, 1, typed);
        });
        break;
    case Grid::AddLineQuantity:
        inDialog(w, &frmMain::mnuAddItem, [&](host::ui::Form &form) {
            after = typeAndPress(*dynamic_cast<frmAddItem &>(form).grdQty, 1, 1, typed);
        });
        break;
    case Grid::AddLineItem:
        inDialog(w, &frmMain::mnuAddItem, [&](host::ui::Form &form) {
            auto &add = dynamic_cast<frmAddItem &>(form);
            add.txtNumber->setFocus();
            QTest::keyClicks(add.txtNumber, typed);
            m_opened = pressAndClose(c);
            after = add.txtNumber->Text();
        });
        break;
    case Grid::Backup: {
        frmBackupInv backup;
        backup.Load();
        ASSERT_TRUE(showActive(backup));
        backup.sstCheckStock->setTab(1);
        // The item code, compared with "=".
        pick(*backup.vsProc, 1, 1, 1);
        pick(*backup.vsProc, 2, 1, 1);
        after = typeAndPress(*backup.vsProc, 3, 1, typed);
        m_dialogStayed = backup.isVisible();
        break;
    }
    case Grid::SelectBills:
        inDialog(w, &frmMain::mnuVSelectBill, [&](host::ui::Form &form) {
            dynamic_cast<frmSelect &>(form).ldgSelect->setFocus();
            m_opened = pressAndClose(c);
        });
        break;
    }
    EXPECT_EQ(m_opened, QString::fromLatin1(c.opens));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(m_dialogStayed) << "the window the key was pressed in is still open";
    switch (c.typed) {
    case Typed::Kept:
        EXPECT_EQ(after, typed);
        break;
    case Typed::Asked:
        EXPECT_EQ(m_modals->messageTexts().value(0),
                  QStringLiteral("盘点数据已经修改，是否保存？"));
        break;
    case Typed::Picked:
        EXPECT_NE(after, typed);
        EXPECT_FALSE(after.isEmpty());
        break;
    case Typed::None:
        break;
    }
}

constexpr auto kHelp = "host::HelpWindow";
constexpr auto kLookup = "host::LookupWindow";
constexpr QKeyCombination kF1{Qt::Key_F1};
constexpr QKeyCombination kF7{Qt::Key_F7};

std::vector<CellKeyCase> cellKeyCases()
{
    using K = CellKeyCase;
    std::vector<CellKeyCase> cases = {
        K{"entry help closed by Escape", Grid::Entry, kF1, kHelp, Close::Escape, Typed::Kept},
        K{"entry help closed by its close box", Grid::Entry, kF1, kHelp, Close::Button,
          Typed::Kept},
        K{"entry find", Grid::Entry, QKeyCombination(Qt::Key_F3), "frmFind", Close::Escape,
          Typed::Asked},
        K{"entry filter closed by Escape", Grid::Entry, QKeyCombination(Qt::Key_F9), "frmFilter",
          Close::Escape, Typed::Asked},
        K{"entry filter closed by OK", Grid::Entry, QKeyCombination(Qt::Key_F9), "frmFilter",
          Close::Button, Typed::Asked, Qt::Key_Y},
        K{"entry sort", Grid::Entry, QKeyCombination(Qt::Key_F6), "frmFilter", Close::Escape,
          Typed::Asked},
        K{"entry select bills", Grid::Entry, Qt::CTRL | Qt::Key_F7, "frmSelect", Close::Escape,
          Typed::Asked},
        K{"add line help", Grid::AddLineQuantity, kF1, kHelp, Close::Escape, Typed::Kept},
        K{"add line item lookup by F8", Grid::AddLineItem, QKeyCombination(Qt::Key_F8), kLookup,
          Close::Escape, Typed::Kept},
        K{"select bills help", Grid::SelectBills, kF1, kHelp, Close::Escape, Typed::None},
    };
    // The grids whose F7 opens a lookup, which Escape cancels and Enter and OK pick from.
    for (const auto &[grid, name] : {std::pair{Grid::Find, std::string("find")},
                                     std::pair{Grid::Filter, std::string("filter")},
                                     std::pair{Grid::Backup, std::string("backup")}}) {
        cases.push_back({name + " help", grid, kF1, kHelp, Close::Escape, Typed::Kept});
        cases.push_back(
            {name + " lookup closed by Escape", grid, kF7, kLookup, Close::Escape, Typed::Kept});
        cases.push_back(
            {name + " lookup closed by Enter", grid, kF7, kLookup, Close::Enter, Typed::Picked});
        cases.push_back({name + " lookup closed by OK", grid, kF7, kLookup, Close::Button,
                         Typed::Picked, Qt::Key_O});
    }
    // Escape typed at once after the key goes to the window the key opens, however long the
    // program takes to open it.
    for (const int busy : {0, 200, 500, 1000}) {
        const std::string after = " typed ahead by " + std::to_string(busy) + " ms";
        cases.push_back({"entry help closed by Escape" + after, Grid::Entry, kF1, kHelp,
                         Close::Escape, Typed::Kept, Qt::Key_unknown, busy});
        cases.push_back({"add line item lookup closed by Escape" + after, Grid::AddLineItem, kF7,
                         kLookup, Close::Escape, Typed::Kept, Qt::Key_unknown, busy});
        cases.push_back({"backup lookup closed by Escape" + after, Grid::Backup, kF7, kLookup,
                         Close::Escape, Typed::Kept, Qt::Key_unknown, busy});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Keys, CellKeys, ::testing::ValuesIn(cellKeyCases()),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

} // namespace
