// What a user typed is kept: every command of the input window that saves, closes, reloads,
// shows another count or opens a dialog, started as a user starts it while a count is still in
// a cell's editor, stores that count or asks about it first; and where the window stays, the
// keyboard is back in the cell the user was in.
#include "countwindowtest.h"

#include "countsheet/countsheetstate.h"
#include "dialogs/frmadditem.h"
#include "dialogs/frmfilter.h"
#include "dialogs/frmfind.h"
#include "host/core/dictionary.h"
#include "host/core/settingsstore.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "host/ui/uitestutil.h"
#include "services/modulestate.h"
#include "support/casename.h"

#include <QAbstractItemView>
#include <QAction>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

const QString kQuestion = QStringLiteral("盘点数据已经修改，是否保存？");

enum class Trigger
{
    Tool,       // a click on the tool bar's button
    Menu,       // the menu item
    MenuKeys,   // the menu item, its menu opened and the item chosen by their access keys
    Key,        // the shortcut, pressed in the cell's editor
    CloseBox,   // the window's close box
    ProcessBox, // another count picked in the process box
    // the process box reached by its label's access key, another count chosen with Down, and
    // the box left with the key of the case
    ProcessBoxKeys,
    Header, // a click on a column's header, which sorts
    // the filter by its key, given by keys two conditions that keep the lines of the first
    // line's item and stock only, fewer than the row typed on, and confirmed by its OK's access
    // key
    FilterKeys
};

enum class Outcome
{
    Saved,          // stored without a question
    Asked,          // the save question first; Yes stores it
    Listed,         // the count breaks a rule: listed by the save, not stored
    AskedAndListed, // asked first, then listed: the count shown stays on screen
    KeptInEditor    // the cell refuses the text: it stays in the open editor, nothing runs
};

bool asks(Outcome outcome)
{
    return outcome == Outcome::Asked || outcome == Outcome::AskedAndListed;
}

bool refused(Outcome outcome)
{
    return outcome == Outcome::Listed || outcome == Outcome::AskedAndListed;
}
struct CommandCase
{
    const char *name;
    Trigger trigger;
    Outcome outcome;
    const char *tool = nullptr;
    QAction *frmMain::*item = nullptr;
    QKeyCombination key = {};
    bool closes = false;
};

using C = CommandCase;
constexpr auto kTool = Trigger::Tool;
constexpr auto kMenu = Trigger::Menu;
constexpr auto kKey = Trigger::Key;
constexpr auto kSaved = Outcome::Saved;
constexpr auto kAsked = Outcome::Asked;

// The gain and loss bills and printing have no entry grid: report and print mode show the
// ledger.
const CommandCase kCommands[] = {
    C{"save tool", kTool, kSaved, "Save"},
    C{"save menu", kMenu, kSaved, nullptr, &frmMain::mnuFSave},
    C{"save menu by keys", Trigger::MenuKeys, kSaved, nullptr, &frmMain::mnuFSave},
    C{"save key", kKey, kSaved, nullptr, nullptr, Qt::CTRL | Qt::Key_S},
    C{"save listing a refused line", kTool, Outcome::Listed, "Save"},
    C{"save with a text the cell refuses", kTool, Outcome::KeptInEditor, "Save"},
    C{"exit with a text the cell refuses", kMenu, Outcome::KeptInEditor, nullptr,
      &frmMain::mnuFExit},
    C{"exit tool", kTool, kAsked, "Exit", nullptr, {}, true},
    C{"exit menu", kMenu, kAsked, nullptr, &frmMain::mnuFExit, {}, true},
    C{"close box", Trigger::CloseBox, kAsked, nullptr, nullptr, {}, true},
    C{"refresh menu", kMenu, kAsked, nullptr, &frmMain::mnuView_Refresh},
    C{"refresh key", kKey, kAsked, nullptr, nullptr, QKeyCombination(Qt::Key_F5)},
    C{"another count in the process box", Trigger::ProcessBox, kAsked},
    C{"another count chosen by keys, then Enter", Trigger::ProcessBoxKeys, kAsked, nullptr, nullptr,
      QKeyCombination(Qt::Key_Return)},
    C{"another count chosen by keys, then Tab", Trigger::ProcessBoxKeys, kAsked, nullptr, nullptr,
      QKeyCombination(Qt::Key_Tab)},
    // The list opened by the click leaves the editor open; the pick waits on it.
    C{"another count in the process box with a text the cell refuses", Trigger::ProcessBox,
      Outcome::KeptInEditor},
    // After the refused save the arrow key moves in the sheet, not to yet another count.
    C{"another count chosen by keys keeping a refused line, then Down", Trigger::ProcessBoxKeys,
      Outcome::AskedAndListed, nullptr, nullptr, QKeyCombination(Qt::Key_Down)},
    C{"deleted items switch", kMenu, kAsked, nullptr, &frmMain::mnuViewShowDeleted},
    C{"closed counts switch", kMenu, kAsked, nullptr, &frmMain::mnuShowCloseProc},
    C{"closed counts switch keeping a refused line", kMenu, Outcome::AskedAndListed, nullptr,
      &frmMain::mnuShowCloseProc},
    C{"find tool", kTool, kAsked, "Find"},
    C{"find menu", kMenu, kAsked, nullptr, &frmMain::mnuEdit_Find},
    C{"find menu by keys", Trigger::MenuKeys, kAsked, nullptr, &frmMain::mnuEdit_Find},
    C{"find key", kKey, kAsked, nullptr, nullptr, QKeyCombination(Qt::Key_F3)},
    C{"filter tool", kTool, kAsked, "Filter"},
    C{"filter menu", kMenu, kAsked, nullptr, &frmMain::mnuEdit_Filter},
    C{"filter key", kKey, kAsked, nullptr, nullptr, QKeyCombination(Qt::Key_F9)},
    C{"filter of two conditions by keys keeping fewer lines than the row typed on",
      Trigger::FilterKeys, kAsked},
    C{"sort tool", kTool, kAsked, "Sort"},
    C{"sort menu", kMenu, kAsked, nullptr, &frmMain::mnuEdit_Sort},
    C{"sort key", kKey, kAsked, nullptr, nullptr, QKeyCombination(Qt::Key_F6)},
    C{"sort by a header", Trigger::Header, kAsked},
    C{"export tool", kTool, kAsked, "Export"},
    C{"export menu", kMenu, kAsked, nullptr, &frmMain::mnuFileOut},
    C{"import tool", kTool, kAsked, "Import"},
    C{"import menu", kMenu, kAsked, nullptr, &frmMain::mnuFileIn},
    C{"select bills tool", kTool, kAsked, "SelectBill"},
    C{"select bills menu", kMenu, kAsked, nullptr, &frmMain::mnuVSelectBill},
    C{"select bills key", kKey, kAsked, nullptr, nullptr, Qt::CTRL | Qt::Key_F7},
    C{"add item tool", kTool, kAsked, "AddItem"},
    C{"add item menu", kMenu, kAsked, nullptr, &frmMain::mnuAddItem},
    // The window's command, not the editor's select-all.
    C{"add item key", kKey, kAsked, nullptr, nullptr, Qt::CTRL | Qt::Key_A},
    C{"delete tool", kTool, kAsked, "SubItem"},
    C{"delete menu", kMenu, kAsked, nullptr, &frmMain::mnuSubItem},
};

// The commands that fill the sheet again with the filter dialog's conditions or order.
bool refilters(const CommandCase &c)
{
    const std::string_view tool = c.tool ? c.tool : "";
    const Qt::Key key = c.trigger == Trigger::Key ? c.key.key() : Qt::Key_unknown;
    return c.trigger == Trigger::FilterKeys || tool == "Filter" || tool == "Sort" ||
           c.item == &frmMain::mnuEdit_Filter || c.item == &frmMain::mnuEdit_Sort ||
           key == Qt::Key_F9 || key == Qt::Key_F6;
}

class TypedCount : public CountWindowTest, public ::testing::WithParamInterface<CommandCase>
{
protected:
    void trigger(frmMain &window, const CommandCase &c)
    {
        switch (c.trigger) {
        case Trigger::Tool: {
            const host::ui::ToolBand &band = window.barlist->Bands(QStringLiteral("barRpt"));
            QWidget *button =
                band.toolBar()->widgetForAction(&band.Tools(QString::fromLatin1(c.tool)).action());
            ASSERT_NE(button, nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        }
        case Trigger::Menu:
            (window.*c.item)->trigger();
            break;
        case Trigger::MenuKeys: {
            QAction *item = window.*c.item;
            const auto menus = window.menuBar()->actions();
            const auto menu = std::find_if(menus.begin(), menus.end(), [&](QAction *m) {
                return m->menu() && m->menu()->actions().contains(item);
            });
            ASSERT_NE(menu, menus.end());
            const auto accessKey = [](const QAction &a) {
                return QKeySequence::mnemonic(a.text())[0].key();
            };
            QTest::keyClick(QApplication::focusWidget(), accessKey(**menu), Qt::AltModifier);
            QWidget *popup = QApplication::activePopupWidget();
            ASSERT_NE(popup, nullptr);
            QTest::keyClick(popup, accessKey(*item));
            break;
        }
        case Trigger::Key:
            QTest::keyClick(QApplication::focusWidget(), c.key.key(), c.key.keyboardModifiers());
            break;
        case Trigger::CloseBox:
            window.close();
            break;
        case Trigger::ProcessBox: {
            QTest::mouseClick(window.lstStock, Qt::LeftButton);
            QAbstractItemView *list = window.lstStock->view();
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
            break;
        }
        case Trigger::ProcessBoxKeys:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
            ASSERT_EQ(QApplication::focusWidget(), window.lstStock);
            QTest::keyClick(window.lstStock, Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), c.key.key());
            break;
        case Trigger::FilterKeys: {
            const QString item = window.vsCheck->GetText(EntryCol::ItemNumber, 1);
            const QString stock = window.vsCheck->GetText(EntryCol::StockNumber, 1);
            m_modals->whileShown([&item, &stock](host::ui::Form &form) {
                ASSERT_TRUE(showActive(form));
                const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
                    QTest::keyClick(QApplication::focusWidget(), k, modifiers);
                };
                // A cell's list opened by Alt+Down, its entry (from 1) chosen with the arrows.
                const auto pick = [&](int entry) {
                    key(Qt::Key_Down, Qt::AltModifier);
                    for (int i = 0; i < entry; ++i)
                        key(Qt::Key_Down);
                    key(Qt::Key_Return);
                    // Offscreen, the closed list leaves no window active.
                    ASSERT_TRUE(showActive(form));
                    key(Qt::Key_Tab);
                };
                const auto write = [&](const QString &text) {
                    for (const QChar ch : text)
                        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
                };
                // The stock code (the first field) "=" (the first comparison) the first line's,
                // "and", on the next row its item code (the fifth field).
                pick(1);
                pick(1);
                write(stock);
                key(Qt::Key_Tab);
                pick(1);
                pick(5);
                pick(1);
                write(item);
                key(Qt::Key_Y, Qt::AltModifier);
                EXPECT_TRUE(QTest::qWaitFor([&form] { return !form.isVisible(); }));
            });
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
            QApplication::processEvents();
            break;
        }
        case Trigger::Header: {
            QHeaderView *header = window.vsCheck->horizontalHeader();
            const int section = EntryCol::ItemNumber - 1;
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                       header->height() / 2));
            break;
        }
        }
    }
};

TEST_P(TypedCount, IsStoredOrAskedForAndTheKeysStayInTheSheet)
{
    const CommandCase &c = GetParam();
    const long first = backUp();
    backUp();
    sql("Update ICStockCheckProcess Set FBackupType=1");
    if (c.item == &frmMain::mnuShowCloseProc) {
        // The closed count is shown: hiding closed counts again shows the other one.
        sql("Update ICStockCheckProcess Set FStatus=1 Where FID=" + std::to_string(first));
        host::SettingsStore settings(std::string_view("StockCheck.ini"));
        settings.write("ZARVOSTOCKPRICE", "ldgCheck_ShowCloseProc", 1L);
        settings.sync();
    }
    const auto window = open(4);
    frmMain &w = *window;
    // A filter or a sort starts the user again at the first line, so the count is typed on
    // another.
    const int from = refilters(c) ? 2 : 1;
    int row =
        refused(c.outcome)
            ? findRow(w,
                      [&](int r) { return r >= from && cell(w, 17, r) < 0 && cell(w, 34, r) > 0; })
            : findRow(
                  w, [&](int r) { return r >= from && cell(w, 34, r) == 1 && cell(w, 17, r) > 0; });
    // The lines of the first line's item and stock, which the filter given by keys keeps, lie
    // before the row typed on.
    const auto firstItemLines = [&w] {
        int lines = 0;
        for (int r = 1; r < w.vsCheck->MaxRows(); ++r)
            lines += w.vsCheck->GetText(EntryCol::ItemNumber, r) ==
                         w.vsCheck->GetText(EntryCol::ItemNumber, 1) &&
                     w.vsCheck->GetText(EntryCol::StockNumber, r) ==
                         w.vsCheck->GetText(EntryCol::StockNumber, 1);
        return lines;
    };
    const int kept = firstItemLines();
    if (c.trigger == Trigger::FilterKeys)
        row = w.vsCheck->MaxRows() - 1;
    const std::string line = lineKey(w, row);
    const double before = number("Select FAuxCheckQty From ICInvBackup" + line);
    // Below a negative book quantity the line is refused.
    const double typed = refused(c.outcome) ? 2 * cell(w, 17, row) / cell(w, 34, row) : 4321;
    const bool inEditor = c.outcome == Outcome::KeptInEditor;
    const QString text = inEditor ? QStringLiteral("12abc") : QString::number(typed);
    typeWithoutEnter(*w.vsCheck, EntryCol::CUUnitCheckQty, row, text);
    const long shownBefore = module().gCurInterID;
    if (asks(c.outcome))
        m_modals->answer(host::ui::Msg::Yes);

    trigger(w, c);

    const QStringList messages = m_modals->messageTexts();
    if (asks(c.outcome))
        EXPECT_EQ(messages.value(0), kQuestion) << messages.join('\n').toStdString();
    else
        EXPECT_FALSE(messages.contains(kQuestion));
    EXPECT_EQ(number("Select FAuxCheckQty From ICInvBackup" + line),
              refused(c.outcome) || inEditor ? before : typed);
    if (refused(c.outcome)) {
        ASSERT_FALSE(m_modals->modalWindows().empty());
        EXPECT_EQ(m_modals->modalWindows().back().className, QStringLiteral("host::DisplayWindow"));
        EXPECT_EQ(module().gCurInterID, shownBefore);
        EXPECT_EQ(w.lstStock->ItemData(w.lstStock->ListIndex()), shownBefore);
    }
    EXPECT_EQ(w.isVisible(), !c.closes || inEditor);
    if (c.trigger == Trigger::FilterKeys) {
        EXPECT_EQ(w.vsCheck->MaxRows() - 1, kept) << "the lines of both conditions";
    }
    if (inEditor) {
        // Offscreen, a list closed leaves no window active.
        ASSERT_TRUE(showActive(w));
        const auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << "the cell's editor is still open";
        EXPECT_EQ(editor->text(), text);
        EXPECT_EQ(module().gCurInterID, shownBefore);
        return;
    }
    // Picking in the process box leaves the keys there, where the user went.
    if (c.closes || c.trigger == Trigger::ProcessBox)
        return;

    // The window is active again, as after a dialog or a switch to another program.
    ASSERT_TRUE(showActive(w));
    ASSERT_EQ(QApplication::focusWidget(), w.vsCheck);
    const int at = w.vsCheck->ActiveRow();
    EXPECT_EQ(w.vsCheck->ActiveCol(), EntryCol::CUUnitCheckQty);
    if (refilters(c)) {
        EXPECT_EQ(at, 1) << "other lines, or in another order: the first of them";
    }
    const long shown = module().gCurInterID;
    QTest::keyClick(w.vsCheck, Qt::Key_Down);
    EXPECT_EQ(w.vsCheck->ActiveRow(), at + 1);
    EXPECT_EQ(module().gCurInterID, shown);
}

INSTANTIATE_TEST_SUITE_P(Commands, TypedCount, ::testing::ValuesIn(kCommands),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

// The menu bar reached by keys and left by Escape, or by Alt again, while a count is still in a
// cell's editor or in none: on the way the title the keys are on shows highlighted, and then the
// keys are back where they were, the editor with its text included.
struct MenuLeftCase
{
    const char *name;
    Qt::Key accessKey; // with Alt, and the menu left by Escape twice; Alt alone is pressed twice
    bool typing = true;
};

const MenuLeftCase kMenusLeft[] = {
    {"file", Qt::Key_F},        {"edit", Qt::Key_E},
    {"view", Qt::Key_V},        {"help", Qt::Key_H},
    {"alt twice", Qt::Key_Alt}, {"file without a count being typed", Qt::Key_F, false},
};

class MenuLeft : public CountWindowTest, public ::testing::WithParamInterface<MenuLeftCase>
{
protected:
    // A key where a user's key goes: into the open menu, or the control with the focus.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *popup = QApplication::activePopupWidget();
        QWidget *to = popup ? popup : QApplication::focusWidget();
        ASSERT_NE(to, nullptr) << "the keys go nowhere";
        QTest::keyClick(to, k, modifiers);
        QApplication::processEvents();
    }

    // Whether the bar's title that the keys are on shows in the highlight colour.
    static bool titleHighlighted(QMenuBar &bar)
    {
        const QAction *title = bar.activeAction();
        if (!title || !bar.hasFocus())
            return false;
        const QRect place = bar.actionGeometry(const_cast<QAction *>(title));
        const QImage look = bar.grab().toImage();
        return look.pixelColor(place.left() + 3, place.top() + 3) ==
               bar.palette().color(QPalette::Highlight);
    }
};

TEST_P(MenuLeft, GivesTheKeysBackWhereTheyWere)
{
    const MenuLeftCase &c = GetParam();
    backUp();
    const auto window = open(4);
    frmMain &w = *window;
    const std::string line = lineKey(w, 1);
    if (c.typing)
        typeWithoutEnter(*w.vsCheck, EntryCol::CUUnitCheckQty, 1, QStringLiteral("44"));
    bool highlighted = false;
    if (c.accessKey == Qt::Key_Alt) {
        key(Qt::Key_Alt);
        highlighted = titleHighlighted(*w.menuBar());
        key(Qt::Key_Alt);
    } else {
        key(c.accessKey, Qt::AltModifier);
        ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the menu is open";
        key(Qt::Key_Escape);
        highlighted = titleHighlighted(*w.menuBar());
        key(Qt::Key_Escape);
    }
    EXPECT_TRUE(highlighted);
    if (!c.typing) {
        EXPECT_EQ(QApplication::focusWidget(), w.vsCheck);
        return;
    }
    ASSERT_NE(QApplication::focusWidget(), w.vsCheck) << "the cell's editor is open";
    for (const Qt::Key k : {Qt::Key_0, Qt::Key_3, Qt::Key_Return})
        key(k);
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(number("Select FAuxCheckQty From ICInvBackup" + line), 4403);
}

INSTANTIATE_TEST_SUITE_P(Menus, MenuLeft, ::testing::ValuesIn(kMenusLeft),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

// A dialog's button pressed by its access key, which takes no focus, while the value is still in
// a cell's editor: the button acts on the value typed.
enum class Dialog
{
    AddLine,
    Find,
    Filter
};

struct ButtonCase
{
    const char *name;
    QAction *frmMain::*command; // opens the dialog
    Dialog dialog;
    Qt::Key accessKey;
};

const ButtonCase kButtons[] = {
    {"add line OK", &frmMain::mnuAddItem, Dialog::AddLine, Qt::Key_O},
    {"add line Add", &frmMain::mnuAddItem, Dialog::AddLine, Qt::Key_A},
    {"find OK", &frmMain::mnuEdit_Find, Dialog::Find, Qt::Key_O},
    {"filter OK", &frmMain::mnuEdit_Filter, Dialog::Filter, Qt::Key_Y},
};

class TypedValue : public CountWindowTest, public ::testing::WithParamInterface<ButtonCase>
{
protected:
    std::string text(const std::string &query)
    {
        auto rs = sql(query);
        rs->MoveFirst();
        return host::CStr(rs->Fields(0L).Value());
    }

    // The row of the find dialog that searches the column of that caption.
    static int findRow(frmFind &find, const QString &caption)
    {
        for (int r = 1; r <= find.vspSearch->MaxRows(); ++r)
            if (find.vspSearch->GetText(1, r) == caption)
                return r;
        return 0;
    }

    // The condition row's field and comparison, as a pick in their lists leaves them.
    static void condition(frmFilter &filter, const QString &field, const QString &op)
    {
        for (const auto &[col, value] : {std::pair{1, field}, std::pair{2, op}}) {
            filter.vsFilter->SetActiveCell(col, 1);
            ASSERT_TRUE(filter.vsFilter->spreadModel().commitUserText(col, 1, value));
            emit filter.vsFilter->ComboSelChange(col, 1);
        }
    }
};

TEST_P(TypedValue, ReachesTheButtonPressedByItsAccessKey)
{
    const ButtonCase &c = GetParam();
    const long id = backUp();
    const auto window = open(4);
    frmMain &w = *window;
    // A new line of an item the count's first stock does not hold.
    const std::string stock =
        text("Select FNumber From t_Stock Where FIsStockMgr=0 And "
             "FItemID In (Select FStockID From ICInvBackup) Order By FNumber");
    const std::string item =
        text("Select Min(FNumber) From t_ICItem Where FDeleted=0 And FBatchManager=0 And "
             "FISKFPeriod=0 And FAuxClassID=0 And FISSNManage=0 And FErpClsID Not In (6,8) And "
             "FItemID Not In (Select FItemID From ICInvBackup Where FStockID=(Select FItemID "
             "From t_Stock Where FNumber='" +
             stock + "'))");
    const std::string newLine = " From ICInvBackup Where FInterID=" + std::to_string(id) +
                                " And FItemID=(Select FItemID From t_ICItem Where FNumber='" +
                                item + "') And FStockID=(Select FItemID From t_Stock Where " +
                                "FNumber='" + stock + "')";
    // The find looks for the stock of the last line, far from the cell the window starts in.
    const int last = w.vsCheck->MaxRows() - 1;
    const QString lastStock = w.vsCheck->GetText(EntryCol::StockNumber, last);
    m_modals->whileShown([&](host::ui::Form &form) {
        ASSERT_TRUE(showActive(form));
        switch (c.dialog) {
        case Dialog::AddLine: {
            auto &add = dynamic_cast<frmAddItem &>(form);
            // Each code is checked as the focus leaves its box.
            add.txtNumber->setFocus();
            QTest::keyClicks(add.txtNumber, QString::fromStdString(item));
            add.txtStockNumber->setFocus();
            QTest::keyClicks(add.txtStockNumber, QString::fromStdString(stock));
            typeWithoutEnter(*add.grdQty, 1, 1, QStringLiteral("12"));
            ASSERT_GT(add.itemId(), 0);
            break;
        }
        case Dialog::Find: {
            auto &find = dynamic_cast<frmFind &>(form);
            const int row = findRow(find, QStringLiteral("仓库代码"));
            ASSERT_GT(row, 0);
            typeWithoutEnter(*find.vspSearch, 2, row, lastStock);
            break;
        }
        case Dialog::Filter: {
            auto &filter = dynamic_cast<frmFilter &>(form);
            condition(filter, QStringLiteral("物料名称"), QStringLiteral("包含"));
            typeWithoutEnter(*filter.vsFilter, 3, 1, QStringLiteral("bolt"));
            break;
        }
        }
        QTest::keyClick(QApplication::focusWidget(), c.accessKey, Qt::AltModifier);
        // The key clicks the button as a short press, which it answers on release.
        QTest::qWait(300);
    });
    (w.*c.command)->trigger();

    switch (c.dialog) {
    case Dialog::AddLine:
        EXPECT_EQ(number("Select Count(*)" + newLine + " And FAuxCheckQty=12"), 1);
        break;
    case Dialog::Find:
        EXPECT_TRUE(m_modals->messageTexts().isEmpty())
            << m_modals->messageTexts().join('\n').toStdString();
        EXPECT_EQ(w.vsCheck->GetText(EntryCol::StockNumber, w.vsCheck->ActiveRow()), lastStock);
        break;
    case Dialog::Filter:
        EXPECT_EQ(host::CStr(countSheetState().gFilterDict->Value("Filter")),
                  "FName like '%bolt%'");
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, TypedValue, ::testing::ValuesIn(kButtons),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

} // namespace
