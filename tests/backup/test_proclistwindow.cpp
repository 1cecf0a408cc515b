#include "windowtest.h"

#include "backup/frmchkstockproc.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/modulestate.h"

#include "host/lang/hosttext.h"
#include "host/props/shareprops.h"
#include "host/ui/toolbar/toolband.h"
#include "host/ui/uitestutil.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <functional>

namespace {

// What the list asked of the entry objects it made.
struct EntryCalls
{
    int backups = 0;
    std::vector<long> openedFor;
    long processWhileOpen = 0;
    bool flagWhileOpen = false;
    std::function<void()> onBackup;
};

class FakeEntry : public ProcListEntry
{
public:
    explicit FakeEntry(EntryCalls &calls) : m_calls(calls) {}
    void BackupCheckData() override
    {
        ++m_calls.backups;
        if (m_calls.onBackup)
            m_calls.onBackup();
    }
    void CheckDataCheck(long m_EmpID) override
    {
        m_calls.openedFor.push_back(m_EmpID);
        m_calls.processWhileOpen = module().gCurInterID;
        m_calls.flagWhileOpen = module().gOpenFromProcList;
    }

private:
    EntryCalls &m_calls;
};

class ProcListWindow : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        addProcess(1, "202611300001", "2026-11-30");
        addProcess(2, "202612010001", "2026-12-01", 1);
        addProcess(3, "202612020001", "2026-12-02");
        // An operator without a user row is not listed.
        addProcess(4, "202612030001", "2026-12-03", 0, 999);
    }

    std::unique_ptr<frmChkStockProc> open()
    {
        auto window = std::make_unique<frmChkStockProc>(
            [this] { return std::make_unique<FakeEntry>(calls); });
        window->Load();
        window->show();
        return window;
    }

    static void click(frmChkStockProc &w, const char *key, const char *band = "Band1")
    {
        w.barProc->Bands(band).Tools(key).action().trigger();
    }
    // The user types into a cell of the list.
    static void edit(frmChkStockProc &w, int col, int row, const QString &value)
    {
        w.vsProc->SetText(col, row, value);
        w.vsProc_CellEdited(col, row);
    }
    static QStringList column(frmChkStockProc &w, int col)
    {
        QStringList texts;
        for (int row = 1; row <= w.vsProc->MaxRows(); ++row)
            texts << w.vsProc->GetText(col, row);
        return texts;
    }
    std::string name(long fid)
    {
        return host::CStr(
            scalar("select FProcessID from ICStockCheckProcess where FID=" + std::to_string(fid)));
    }

    EntryCalls calls;
};

} // namespace

TEST_F(ProcListWindow, ListsEveryProcessOldestFirst)
{
    const auto w = open();
    EXPECT_EQ(w->Caption(), QStringLiteral("盘点进程"));
    EXPECT_EQ(w->statusProc->Panels(1).Text(), QStringLiteral("选择已经存在的盘点方案或新建"));
    ASSERT_EQ(w->vsProc->MaxRows(), 3);
    EXPECT_EQ(column(*w, 7), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(*w, 1), (QStringList{"", "Y", ""}));
    EXPECT_EQ(column(*w, 2), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(*w, 3), (QStringList{"202611300001", "202612010001", "202612020001"}));
    EXPECT_EQ(column(*w, 6), (QStringList{"admin", "admin", "admin"}));
    EXPECT_TRUE(w->vsProc->GetText(5, 1).startsWith(QStringLiteral("2026-11-30")));

    const QStringList headers{" ", "顺序号", "盘点方案名称", "备注", "日期", "制单", ""};
    for (int col = 1; col <= 7; ++col)
        EXPECT_EQ(w->vsProc->GetText(col, 0), headers.at(col - 1)) << col;
    auto &grid = *w->vsProc;
    grid.setRow(2);
    for (int col = 1; col <= 7; ++col) {
        grid.setCol(col);
        EXPECT_EQ(grid.Lock(), col != 3 && col != 4) << col;
    }
    grid.setCol(3);
    EXPECT_EQ(grid.TypeMaxEditLen(), 50);
    grid.setCol(4);
    EXPECT_EQ(grid.TypeMaxEditLen(), 100);
    grid.setCol(1);
    EXPECT_EQ(grid.ForeColor(), 255);
    grid.setCol(7);
    EXPECT_TRUE(grid.ColHidden());
    EXPECT_FALSE(w->barProc->Tools("WithStock").Checked());
    EXPECT_FALSE(w->barProc->Tools("WithoutStock").Checked());
}

// From the keyboard, in each language: the list opens on a current row it shows selected (the
// process opened last, else the first), every menu opens by its access key, Exit shows its
// shortcut, and Delete acts on the row shown.
TEST_F(ProcListWindow, OpensOnARowItShowsAndItsMenusOpenByKeys)
{
    grant(5);
    for (const char *language : {"CHS", "CHT", "EN"}) {
        host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                       std::string("UserID=16394;SUBID=ic;LANGUAGE=") + language);
        module().gLanguage.clear();
        host::setHostLanguage(language);
        for (const long opened : {0L, 3L}) {
            module().gCurInterID = opened;
            const auto w = open();
            ASSERT_TRUE(showActive(*w));
            const int row = opened == 0 ? 1 : 3;
            EXPECT_EQ(w->vsProc->ActiveRow(), row) << language;
            EXPECT_TRUE(w->vsProc->selectionModel()->isRowSelected(row - 1, {})) << language;
            // The current cell takes typing: the process's name.
            typeIntoGrid(*w->vsProc, QStringLiteral("renamed"));
            EXPECT_EQ(w->vsProc->GetText(3, row), QStringLiteral("renamed")) << language;
        }
        module().gCurInterID = 0;
        const auto w = open();
        ASSERT_TRUE(showActive(*w));
        std::function<void(const QList<QAction *> &)> keyed = [&](const QList<QAction *> &items) {
            for (const QAction *item : items) {
                if (item->isSeparator())
                    continue;
                EXPECT_TRUE(QKeySequence::mnemonic(item->text()) != QKeySequence())
                    << language << ": " << item->text().toStdString();
                if (item->menu())
                    keyed(item->menu()->actions());
            }
        };
        keyed(w->menuBar()->actions());
        EXPECT_EQ(w->barProc->Bands("PopupBand1").Tools("Exit").action().shortcut(),
                  QKeySequence(Qt::CTRL | Qt::Key_X));

        m_modals->answer(host::ui::Msg::No);
        QTest::keyClick(w.get(), Qt::Key_E, Qt::AltModifier);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << language;
        QTest::keyClick(menu, Qt::Key_D);
        ASSERT_FALSE(messages().empty()) << language;
        EXPECT_NE(messages().back().find("202611300001"), std::string::npos)
            << language << ": " << messages().back();
    }
    host::setHostLanguage("CHS");
}

TEST_F(ProcListWindow, WithoutProcessesOpenAndDeleteDoNothing)
{
    exec("delete from ICStockCheckProcess");
    grant(5);
    grant(8);
    const auto w = open();
    EXPECT_EQ(w->vsProc->MaxRows(), 0);
    click(*w, "Open");
    click(*w, "Delete");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(calls.openedFor.empty());
}

TEST_F(ProcListWindow, EditsAreKeptOncePerRowWithTheLatestTexts)
{
    const auto w = open();
    EXPECT_FALSE(w->modified());
    edit(*w, 3, 3, "first");
    edit(*w, 4, 1, "remark");
    edit(*w, 3, 3, "second");
    EXPECT_TRUE(w->modified());
    const host::Vector &changes = *w->changeList();
    ASSERT_EQ(changes.Count(), 2);
    const auto first = changes.Item(1).as<host::Dictionary>();
    EXPECT_EQ(host::CStr(first->Value("FID")), "3");
    EXPECT_EQ(host::CStr(first->Value("ProcID")), "second");
    const auto second = changes.Item(2).as<host::Dictionary>();
    EXPECT_EQ(host::CStr(second->Value("FID")), "1");
    EXPECT_EQ(host::CStr(second->Value("ProcID")), "202611300001");
    EXPECT_EQ(host::CStr(second->Value("Remark")), "remark");
}

TEST_F(ProcListWindow, HeaderClicksSortAndFlipTheOrder)
{
    const auto w = open();
    w->vsProc_Click(3, 0);
    EXPECT_EQ(column(*w, 7), (QStringList{"1", "2", "3"}));
    w->vsProc_Click(3, 0);
    EXPECT_EQ(column(*w, 7), (QStringList{"3", "2", "1"}));
    // The sequence numbers move with their rows.
    EXPECT_EQ(column(*w, 2), (QStringList{"3", "2", "1"}));
    // Another column sorts opposite to the click before.
    w->vsProc_Click(1, 0);
    EXPECT_EQ(column(*w, 1), (QStringList{"", "", "Y"}));
    w->vsProc_Click(2, 1);
    EXPECT_EQ(column(*w, 1), (QStringList{"", "", "Y"}));
}

TEST_F(ProcListWindow, SaveWritesEditsCollectedBeforeARefresh)
{
    grant(5);
    const auto w = open();
    edit(*w, 3, 1, "Hall 'A'");
    edit(*w, 4, 3, "night shift");
    click(*w, "Refresh");
    // The grid shows the stored names again; the edits wait in the change list.
    EXPECT_EQ(w->vsProc->GetText(3, 1), QStringLiteral("202611300001"));
    click(*w, "Save", "PopupBand1");
    EXPECT_EQ(name(1), "Hall 'A'");
    EXPECT_EQ(host::CStr(scalar("select FRemark from ICStockCheckProcess where FID=3")),
              "night shift");
    EXPECT_FALSE(w->modified());
    // Nothing left to ask about.
    click(*w, "Exit");
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(messages().empty());
}

TEST_F(ProcListWindow, DuplicateNamesStopSaveAndTheSaveOfExit)
{
    grant(5);
    const auto w = open();
    edit(*w, 3, 3, "202611300001");
    click(*w, "Save");
    m_modals->answer(host::ui::Msg::Yes);
    click(*w, "Exit");
    EXPECT_EQ(messages(), (std::vector<std::string>{"盘点方案[202611300001]重复，请修改后保存!",
                                                    "你修改了某些进程的信息，要保存修改吗？",
                                                    "盘点方案[202611300001]重复，请修改后保存!"}));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(name(3), "202612020001");
}

// The name column holds 50 bytes, a Chinese character taking two: a name of 26 Chinese
// characters fits the 50-character editor but not the column.
// The name's column holds 50 bytes, a Chinese character taking two: what is typed beyond them
// is not taken, so every name typed can be saved.
TEST_F(ProcListWindow, ANameTakesWhatItsColumnHoldsAsItIsTyped)
{
    struct Case
    {
        QString typed;
        QString name;
    };
    const Case cases[] = {
        {QString(26, QChar(0x76D8)), QString(25, QChar(0x76D8))},
        {QStringLiteral("盘点") + QString(47, QLatin1Char('a')),
         QStringLiteral("盘点") + QString(46, QLatin1Char('a'))},
        {QString(24, QChar(0x76D8)) + QStringLiteral("ab"),
         QString(24, QChar(0x76D8)) + QStringLiteral("ab")},
    };
    grant(5);
    const auto w = open();
    ASSERT_TRUE(showActive(*w));
    host::ui::ToolBand &band = w->barProc->Bands(QStringLiteral("Band1"));
    QWidget *save = band.toolBar()->widgetForAction(&band.Tools(QStringLiteral("Save")).action());
    ASSERT_TRUE(save);
    for (const Case &c : cases) {
        // The user replaces the first process's name, as an input method types Chinese.
        w->vsProc->setFocus();
        w->vsProc->SetActiveCell(3, 1);
        QTest::keyClick(w->vsProc, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        ASSERT_TRUE(editor && editor != w->vsProc);
        QTest::keyClick(editor, Qt::Key_Home);
        QTest::keyClick(editor, Qt::Key_End, Qt::ShiftModifier);
        QInputMethodEvent typed;
        typed.setCommitString(c.typed);
        QApplication::sendEvent(editor, &typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(w->vsProc->GetText(3, 1), c.name);

        const size_t shown = messages().size();
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_EQ(messages().size(), shown);
        EXPECT_EQ(QString::fromStdString(name(1)), c.name);
    }
}

TEST_F(ProcListWindow, MissingRightsEndTheCommands)
{
    const struct
    {
        const char *tool;
        const char *band;
        const char *message;
    } cases[] = {
        {"New", "Band1", "没有备份账存数据的权限，请与系统管理员联系!"},
        {"WithStock", "PopupBand4", "没有备份账存数据的权限，请与系统管理员联系!"},
        {"WithoutStock", "PopupBand4", "没有备份账存数据的权限，请与系统管理员联系!"},
        {"Save", "Band1", "没有更改盘点方案的权限，请与系统管理员联系!"},
        {"Delete", "Band1", "没有删除盘点方案的权限，请与系统管理员联系!"},
        {"Open", "Band1", "没有查看盘点报告单的权限，请与系统管理员联系!"},
    };
    const auto w = open();
    w->vsProc->SetActiveCell(3, 1);
    edit(*w, 3, 1, "renamed");
    for (const auto &c : cases) {
        click(*w, c.tool, c.band);
        ASSERT_FALSE(messages().empty());
        EXPECT_EQ(messages().back(), c.message) << c.tool;
        EXPECT_TRUE(lastMessageIsInformation()) << c.tool;
    }
    EXPECT_EQ(calls.backups, 0);
    EXPECT_TRUE(calls.openedFor.empty());
    EXPECT_FALSE(w->barProc->Tools("WithStock").Checked());
    EXPECT_EQ(count("ICStockCheckProcess"), 4);
    EXPECT_EQ(name(1), "202611300001");

    // Refresh needs no right, and the Yes of Exit saves without one.
    click(*w, "Refresh");
    m_modals->answer(host::ui::Msg::Yes);
    click(*w, "Exit");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(name(1), "renamed");
}

TEST_F(ProcListWindow, DeleteRefusesClosedProcessesAndProcessesWithBills)
{
    grant(5);
    addBill(7, 40, "2026-12-02", kItemPiece, 1, 1, 10, 0, 0);
    addBill(8, 40, "2026-12-02", kItemPiece, 1, 1, 10, 0, 0);
    exec("update ICStockBill set FProcID=3");
    const auto w = open();
    w->vsProc->SetActiveCell(3, 2);
    click(*w, "Delete");
    w->vsProc->SetActiveCell(3, 3);
    click(*w, "Delete");
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"该盘点方案生成的盘盈(亏)单已经审核，不允许删除!",
                                        "该盘点方案已经生成下列盘盈(亏)单,不能删除!\r\nB7,B8"}));
    EXPECT_EQ(count("ICStockCheckProcess"), 4);
}

TEST_F(ProcListWindow, DeleteAsksThenRemovesTheProcessAndReloads)
{
    grant(5);
    addStock({kItemPiece, 1, 10, "L1", 5});
    exec("insert into ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,"
         "FStockID,FStockPlaceID,FSelect,FAdj,FAdjQty) values (1,'0',102,0,1,'','',1,10,0,0,0)");
    const auto w = open();
    w->vsProc->SetActiveCell(3, 1);
    m_modals->answer(host::ui::Msg::No);
    click(*w, "Delete");
    EXPECT_EQ(count("ICStockCheckProcess", "FID=1"), 1);
    m_modals->answer(host::ui::Msg::Yes);
    click(*w, "Delete");
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"您确信要删除第[202611300001]号方案吗?",
                                        "您确信要删除第[202611300001]号方案吗?",
                                        "您指定的第[202611300001]号方案已经顺利删除!"}));
    EXPECT_EQ(count("ICStockCheckProcess", "FID=1"), 0);
    EXPECT_EQ(count("ICInvBackup", "FInterID=1"), 0);
    EXPECT_EQ(column(*w, 7), (QStringList{"2", "3"}));
}

// Every way of closing the list asks about the edits not saved, a note still in its cell's
// editor among them: Cancel keeps the list open, No drops the edits, Yes stores them.
TEST_F(ProcListWindow, EveryWayOfClosingAsksAboutUnsavedEdits)
{
    const struct
    {
        const char *name;
        bool typedWhole; // the note ended with Enter, else left in the open editor
        std::function<void(frmChkStockProc &)> close;
    } ways[] = {
        {"Exit", false, [](frmChkStockProc &w) { click(w, "Exit", "PopupBand1"); }},
        {"Ctrl+X", true,
         [](frmChkStockProc &) {
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
             // The key's command runs once the key has been delivered.
             QApplication::processEvents();
         }},
        {"close box with the note typed", true, [](frmChkStockProc &w) { w.close(); }},
        {"close box with the note in its editor", false, [](frmChkStockProc &w) { w.close(); }},
    };
    const struct
    {
        long answer;
        bool closed;
        const char *stored;
    } answers[] = {
        {host::ui::Msg::Cancel, false, ""},
        {host::ui::Msg::No, true, ""},
        {host::ui::Msg::Yes, true, "night shift"},
    };
    grant(5);
    for (const auto &way : ways) {
        for (const auto &a : answers) {
            exec("update ICStockCheckProcess set FRemark=NULL");
            const auto w = open();
            ASSERT_TRUE(showActive(*w));
            w->vsProc->setFocus();
            w->vsProc->SetActiveCell(4, 3);
            QTest::keyClick(w->vsProc, 'n');
            QWidget *editor = QApplication::focusWidget();
            ASSERT_TRUE(editor && editor != w->vsProc) << way.name;
            QTest::keyClicks(editor, QStringLiteral("ight shift"));
            if (way.typedWhole)
                QTest::keyClick(editor, Qt::Key_Return);
            const std::size_t asked = messages().size();
            m_modals->answer(a.answer);
            way.close(*w);
            EXPECT_EQ(messages().size(), asked + 1) << way.name << " " << a.answer;
            EXPECT_EQ(!w->isVisible(), a.closed) << way.name << " " << a.answer;
            EXPECT_EQ(host::CStr(scalar("select isnull(FRemark,'') from ICStockCheckProcess "
                                        "where FID=3")),
                      a.stored)
                << way.name << " " << a.answer;
        }
    }
}

// New from the keyboard, Edit then New; the process it makes is the current row, in its name.
TEST_F(ProcListWindow, NewRunsTheBackupWindowThroughAnEntryObjectAndReloads)
{
    grant(5);
    calls.onBackup = [this] { addProcess(5, "202612070001", "2026-12-07"); };
    const auto w = open();
    ASSERT_TRUE(showActive(*w));
    QTest::keyClick(w.get(), Qt::Key_E, Qt::AltModifier);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_N);
    EXPECT_EQ(calls.backups, 1);
    EXPECT_EQ(column(*w, 7), (QStringList{"1", "2", "3", "5"}));
    EXPECT_EQ(w->vsProc->ActiveRow(), 4);
    EXPECT_EQ(w->vsProc->ActiveCol(), 3);
}

TEST_F(ProcListWindow, CycleOptionsAreTickedOneAtATime)
{
    grant(5);
    const auto w = open();
    auto ticks = [&] {
        return std::pair(w->barProc->Tools("WithStock").Checked(),
                         w->barProc->Tools("WithoutStock").Checked());
    };
    click(*w, "WithStock", "PopupBand4");
    EXPECT_EQ(ticks(), std::pair(true, false));
    click(*w, "WithoutStock", "PopupBand4");
    EXPECT_EQ(ticks(), std::pair(false, true));
    click(*w, "WithoutStock", "PopupBand4");
    EXPECT_EQ(ticks(), std::pair(false, false));
    // With neither ticked New opens the backup window.
    click(*w, "New");
    EXPECT_EQ(calls.backups, 1);
}

TEST_F(ProcListWindow, CycleCountsPerStockAndOverAllStocks)
{
    grant(5);
    exec("delete from ICStockCheckProcess");
    exec("update t_ICItemMaterial set FCheckCycUnit=11603,FCheckCycle=1,"
         "FLastCheckDate='2024-01-01' where FItemID=102");
    for (long stock : {1, 2, 3}) {
        addStock({kItemPiece, stock, 10, "L1", 5});
        addStock({kItemOther, stock, 10, "L1", 1});
    }
    const auto w = open();
    click(*w, "WithStock", "PopupBand4");
    click(*w, "New");
    EXPECT_EQ(calls.backups, 0);
    ASSERT_EQ(w->vsProc->MaxRows(), 3);
    EXPECT_EQ(rows("select FInterID,FStockID,FItemID from ICInvBackup order by FInterID"),
              (std::vector<Row>{{1, 1, kItemPiece}, {2, 2, kItemPiece}, {3, 3, kItemPiece}}));
    // The last call stamped the counted item, so it is not due again.
    click(*w, "WithoutStock", "PopupBand4");
    click(*w, "New");
    EXPECT_EQ(messages(), (std::vector<std::string>{"没有需要备份的物料!"}));
    EXPECT_EQ(count("ICStockCheckProcess"), 3);

    exec("update t_ICItemMaterial set FLastCheckDate='2024-01-01' where FItemID=102");
    click(*w, "New");
    EXPECT_EQ(w->vsProc->MaxRows(), 4);
    EXPECT_EQ(count("ICInvBackup", "FInterID=4"), 3);
}

TEST_F(ProcListWindow, OpenShowsTheCountSheetOfTheActiveRow)
{
    grant(8);
    auto dict = std::make_shared<host::Dictionary>();
    dict->SetValue("UserID", 77);
    module().gProcDict = dict;
    const auto w = open();
    w->vsProc_Click(7, 0);
    w->vsProc_Click(7, 0);
    w->vsProc->SetActiveCell(3, 1);
    click(*w, "Open");
    EXPECT_EQ(calls.openedFor, std::vector<long>{77});
    EXPECT_EQ(calls.processWhileOpen, 3);
    EXPECT_TRUE(calls.flagWhileOpen);
    EXPECT_FALSE(module().gOpenFromProcList);
    EXPECT_EQ(module().gCurInterID, 3);
}
