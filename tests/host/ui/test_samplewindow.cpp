#include "samplewindow.h"
#include "uitestutil.h"

#include "host/ui/modal/modalservices.h"
#include "host/ui/modal/qtmodals.h"
#include "host/ui/modal/screenshot.h"
#include "host/ui/modal/scriptedmodals.h"

#include "host/core/hosterror.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace host::ui;

namespace {

class SampleWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.Load();
        ASSERT_TRUE(showActive(window));
    }

    bool logged(const QString &entry) const { return window.log.contains(entry); }
    qsizetype countLogged(const QString &prefix) const
    {
        return std::count_if(window.log.begin(), window.log.end(),
                             [&](const QString &e) { return e.startsWith(prefix); });
    }

    ScriptedModals modals;
    SampleWindow window;
};

TEST_F(SampleWindowTest, ProgramWritesRaiseNoChangeAndUserEditsDo)
{
    EXPECT_EQ(countLogged(QStringLiteral("vsCheck_Change")), 0);
    window.vsCheck->SetText(3, 1, QStringLiteral("5"));
    EXPECT_EQ(countLogged(QStringLiteral("vsCheck_Change")), 0);

    window.sstView->setTab(0);
    window.vsCheck->setFocus();
    window.vsCheck->SetActiveCell(3, 2);
    typeIntoGrid(*window.vsCheck, QStringLiteral("77.5"));
    EXPECT_TRUE(logged(QStringLiteral("vsCheck_Change 3 2")));
    EXPECT_EQ(window.vsCheck->GetText(3, 2), QStringLiteral("77.5"));
}

TEST_F(SampleWindowTest, LockedColumnTakesNoTypingAndHiddenColumnStaysHidden)
{
    window.vsCheck->setFocus();
    window.vsCheck->SetActiveCell(1, 1);
    typeIntoGrid(*window.vsCheck, QStringLiteral("X"));
    EXPECT_EQ(window.vsCheck->GetText(1, 1), QStringLiteral("01.001"));
    EXPECT_EQ(countLogged(QStringLiteral("vsCheck_Change")), 0);
    window.vsCheck->setCol(4);
    EXPECT_TRUE(window.vsCheck->ColHidden());
    EXPECT_TRUE(window.vsCheck->isColumnHidden(3));
    EXPECT_EQ(window.vsCheck->GetText(4, 2), QStringLiteral("102"));
}

TEST_F(SampleWindowTest, ShownNumberIsRoundedButValueKeepsEveryDecimal)
{
    window.vsCheck->setCol(3);
    window.vsCheck->setRow(2);
    EXPECT_EQ(window.vsCheck->Text(), QStringLiteral("2,469.14"));
    EXPECT_EQ(window.vsCheck->Value(), QStringLiteral("2469.1356"));
    EXPECT_EQ(window.vsCheck->GetText(3, 2), QStringLiteral("2469.1356"));
}

TEST_F(SampleWindowTest, ComboCellTakesTheUsersPickAndReportsIt)
{
    window.vsCheck->setCol(2);
    window.vsCheck->setRow(1);
    window.vsCheck->setTypeComboBoxCurSel(2);
    EXPECT_EQ(window.vsCheck->GetText(2, 1), QStringLiteral("二号仓位"));
    EXPECT_EQ(countLogged(QStringLiteral("vsCheck_")), 0);

    window.vsCheck->setFocus();
    window.vsCheck->SetActiveCell(2, 3);
    QTest::keyClick(window.vsCheck, Qt::Key_F2);
    auto *combo = qobject_cast<QComboBox *>(QApplication::focusWidget());
    ASSERT_NE(combo, nullptr);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(window.vsCheck->GetText(2, 3), QStringLiteral("一号仓位"));
    window.vsCheck->setRow(3);
    EXPECT_EQ(window.vsCheck->TypeComboBoxCurSel(), 1);
    EXPECT_TRUE(logged(QStringLiteral("vsCheck_Change 2 3")));
    EXPECT_TRUE(logged(QStringLiteral("vsCheck_ComboSelChange 2 3")));
}

TEST_F(SampleWindowTest, WindowSeesKeysFirstDroppingQuotesAndRunningShortcuts)
{
    window.txtNumber->setFocus();
    QTest::keyClicks(window.txtNumber, QStringLiteral("a\"b'c"));
    EXPECT_EQ(window.txtNumber->Text(), QStringLiteral("abc"));
    QTest::keyClick(window.txtNumber, Qt::Key_F1);
    EXPECT_TRUE(logged(QStringLiteral("Form_KeyDown F1")));

    QTest::keyClick(window.txtNumber, Qt::Key_X, Qt::ControlModifier);
    // The tool runs once the key has been delivered.
    QApplication::processEvents();
    EXPECT_TRUE(logged(QStringLiteral("barlist_ToolClick Exit")));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.unloads, 1);
}

TEST_F(SampleWindowTest, OptionButtonsSwitchTheDatePicker)
{
    EXPECT_FALSE(window.dtpDate->isEnabled());
    window.OptCutDate->setValue(true);
    EXPECT_TRUE(window.dtpDate->isEnabled());
    QTest::mouseClick(window.optCurStock, Qt::LeftButton);
    EXPECT_TRUE(window.optCurStock->Value());
    EXPECT_FALSE(window.dtpDate->isEnabled());
}

TEST_F(SampleWindowTest, ListsRaiseClickForProgramChoicesButNotForFilling)
{
    EXPECT_EQ(countLogged(QStringLiteral("lstStock_Click")), 0);
    EXPECT_EQ(window.lstStock->ListIndex(), -1);
    window.lstStock->setListIndex(1);
    EXPECT_TRUE(logged(QStringLiteral("lstStock_Click 1")));
    EXPECT_EQ(window.lstStock->Text(), QStringLiteral("PD-002"));
    // The wheel chooses in the closed list only once the user is in it.
    const auto turnWheel = [&] {
        const QPointF at = window.lstStock->rect().center();
        QWheelEvent wheel(at, window.lstStock->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.lstStock, &wheel);
    };
    window.txtNumber->setFocus();
    turnWheel();
    EXPECT_EQ(window.lstStock->ListIndex(), 1);
    QTest::mouseClick(window.lstStock, Qt::LeftButton);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    turnWheel();
    EXPECT_EQ(window.lstStock->ListIndex(), 2);

    EXPECT_EQ(window.StockList->ListCount(), 3);
    EXPECT_EQ(window.StockList->ItemData(2), 12);
    const QRect second = window.StockList->visualItemRect(window.StockList->item(1));
    QTest::mouseClick(window.StockList->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_TRUE(logged(QStringLiteral("StockList_Click 1")));
    EXPECT_TRUE(window.StockList->Selected(1));
    EXPECT_FALSE(window.StockList->Selected(0));
}

TEST_F(SampleWindowTest, ValidateKeepsTheFocusInABoxWithABadCode)
{
    window.txtNumber->setText(QStringLiteral("bad"));
    window.txtNumber->setFocus();
    window.StockList->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(logged(QStringLiteral("txtNumber_Validate 1")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.txtNumber->hasFocus(); }));

    window.txtNumber->setText(QStringLiteral("01.001"));
    window.StockList->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(logged(QStringLiteral("txtNumber_Validate 0")));
    EXPECT_TRUE(window.StockList->hasFocus());
}

TEST_F(SampleWindowTest, BoxesAndSmallControlsAnswerAsTheWindowsExpect)
{
    window.txtNumber->setText(QStringLiteral("01.002.003"));
    window.txtNumber->setSelStart(3);
    window.txtNumber->setSelLength(3);
    EXPECT_EQ(window.txtNumber->selectedText(), QStringLiteral("002"));
    EXPECT_EQ(window.txtNumber->SelStart(), 3);
    window.txtNumber->setLocked(true);
    window.txtNumber->setFocus();
    QTest::keyClicks(window.txtNumber, QStringLiteral("x"));
    EXPECT_EQ(window.txtNumber->Text(), QStringLiteral("01.002.003"));
    window.txtNumber->setBackColor(0xD8FFFF);
    EXPECT_EQ(window.txtNumber->BackColor(), 0xD8FFFF);

    int clicks = 0;
    QObject::connect(window.chkShowClosed, &CheckBoxControl::Click, [&] { ++clicks; });
    window.chkShowClosed->setValue(1);
    QTest::mouseClick(window.chkShowClosed, Qt::LeftButton);
    EXPECT_EQ(window.chkShowClosed->Value(), 0);
    EXPECT_EQ(clicks, 2);

    std::vector<int> previous;
    QObject::connect(window.sstView, &TabControl::Click, [&](int tab) { previous.push_back(tab); });
    window.sstView->setTab(2);
    window.sstView->setTab(1);
    EXPECT_EQ(previous, (std::vector<int>{0, 2}));

    int resized = 0;
    QObject::connect(window.picSide, &PictureBox::Resize, [&] { ++resized; });
    window.resize(window.width(), window.height() + 30);
    QApplication::processEvents();
    EXPECT_GT(resized, 0);
    EXPECT_EQ(window.picSide->Width(), 3600);

    window.StockList->setHorizontalExtent(2000);
    EXPECT_GT(window.StockList->horizontalScrollBar()->maximum(), 0);
    EXPECT_THROW(window.lstStock->RemoveItem(7), host::HostError);
    EXPECT_THROW(window.staBar->Panels(4), host::HostError);
}

TEST_F(SampleWindowTest, ButtonArrayAndButtonBarReportWhatWasClicked)
{
    QWidget *calculate =
        window.tlbRpt->widgetForAction(window.findChild<QAction *>(QStringLiteral("Calulate")));
    ASSERT_NE(calculate, nullptr);
    QTest::mouseClick(calculate, Qt::LeftButton);
    EXPECT_TRUE(logged(QStringLiteral("tlbRpt_ButtonClick 2 Calulate")));
    EXPECT_EQ(window.tlbRpt->Buttons(2).ToolTipText(), QStringLiteral("计算实存数量"));
    EXPECT_EQ(window.tlbRpt->Buttons(4).Key(), QStringLiteral("Exit"));

    QTest::mouseClick(&(*window.cmdAction)(1), Qt::LeftButton);
    EXPECT_TRUE(logged(QStringLiteral("cmdAction_Click 1")));
    EXPECT_EQ(window.cmdAction->Count(), 2);
}

TEST_F(SampleWindowTest, ProcessGridSortsByTheClickedHeaderBothWays)
{
    const int column = window.vsProc->horizontalHeader()->sectionViewportPosition(1) + 5;
    const QPoint header(column, window.vsProc->horizontalHeader()->height() / 2);
    QTest::mouseClick(window.vsProc->horizontalHeader()->viewport(), Qt::LeftButton, {}, header);
    EXPECT_EQ(window.vsProc->GetText(2, 1), QStringLiteral("PD-001"));
    EXPECT_EQ(window.vsProc->GetText(1, 1), QStringLiteral("2"));
    QTest::mouseClick(window.vsProc->horizontalHeader()->viewport(), Qt::LeftButton, {}, header);
    EXPECT_EQ(window.vsProc->GetText(2, 1), QStringLiteral("PD-003"));
    EXPECT_EQ(window.vsProc->GetText(3, 1), QStringLiteral("月末"));
}

TEST_F(SampleWindowTest, ProcessGridReportsEditsAndReadsRowsAsText)
{
    window.sstView->setTab(1);
    window.vsProc->setFocus();
    window.vsProc->SetActiveCell(3, 2);
    typeIntoGrid(*window.vsProc, QStringLiteral("memo"));
    EXPECT_TRUE(logged(QStringLiteral("vsProc_CellEdited 3 2")));
    EXPECT_EQ(window.vsProc->ActiveRow(), 2);
    window.vsProc->setRow(2);
    window.vsProc->setRow2(2);
    window.vsProc->setCol(1);
    window.vsProc->setCol2(3);
    window.vsProc->setBlockMode(true);
    EXPECT_EQ(window.vsProc->Clip(), QStringLiteral("2\tPD-001\tmemo"));
}

TEST_F(SampleWindowTest, LedgerAsksOnlyForRowsItShowsOrIsAskedFor)
{
    window.sstView->setTab(2);
    QApplication::processEvents();
    EXPECT_FALSE(
        logged(QStringLiteral("ldgCheck_FetchRow %1").arg(SampleWindow::LedgerRecords + 2)));
    EXPECT_EQ(window.ldgCheck->Cell(SampleWindow::LedgerRecords + 2, 1).Text(),
              QStringLiteral("01.090"));
    EXPECT_EQ(window.ldgCheck->Face().FixedRows(), 2);
    EXPECT_EQ(window.ldgCheck->Cell(1, 2).Text(), QStringLiteral("数量"));
    EXPECT_EQ(window.ldgCheck->Cell(2, 2).Text(), QStringLiteral("账存数量"));

    const QPoint header(window.ldgCheck->horizontalHeader()->sectionViewportPosition(1) + 5, 5);
    QTest::mouseClick(window.ldgCheck->horizontalHeader()->viewport(), Qt::LeftButton, {}, header);
    EXPECT_TRUE(logged(QStringLiteral("ldgCheck_SortColumn 2")));
}

TEST_F(SampleWindowTest, ModalShowRunsTheWindowAndRecordsItsMessages)
{
    SampleWindow modal;
    modals.whileShown([](Form &form) {
        auto &shown = static_cast<SampleWindow &>(form);
        EXPECT_TRUE(shown.isVisible());
        QTest::mouseClick(shown.cmdOK, Qt::LeftButton);
    });
    modal.Show(1);
    EXPECT_FALSE(modal.isVisible());
    EXPECT_EQ(modal.loads, 1);
    EXPECT_EQ(modal.activations, 1);
    EXPECT_EQ(modal.unloads, 1);
    ASSERT_EQ(modals.modalWindows().size(), 1U);
    EXPECT_EQ(modals.modalWindows()[0].className, QStringLiteral("SampleWindow"));
    EXPECT_EQ(modals.modalWindows()[0].caption, QStringLiteral("物料盘点表"));
    ASSERT_EQ(modals.messages().size(), 1U);
    EXPECT_EQ(modals.messages()[0].text, QStringLiteral("备份完成"));
    EXPECT_EQ(modals.messages()[0].title, QStringLiteral("Hembrel提示"));
    EXPECT_EQ(modals.messages()[0].style, Msg::Information);
    EXPECT_EQ(modal.staBar->Panels(1).Text(), QStringLiteral("就绪"));
}

TEST_F(SampleWindowTest, HidingAModalWindowEndsItsShowAndKeepsItLoaded)
{
    SampleWindow modal;
    modals.whileShown([](Form &form) { form.Hide(); });
    modal.Show(1);
    EXPECT_FALSE(modal.isVisible());
    EXPECT_TRUE(modal.isLoaded());
    EXPECT_EQ(modal.unloads, 0);
    modals.whileShown([](Form &form) { form.Unload(); });
    modal.Show(1);
    EXPECT_EQ(modal.loads, 1);
    EXPECT_EQ(modal.unloads, 1);
    EXPECT_FALSE(modal.isLoaded());
}

TEST_F(SampleWindowTest, UnloadAsksAboutChangesAndCancelKeepsTheWindowOpen)
{
    window.modified = true;
    modals.answer(Msg::Cancel);
    window.Unload();
    EXPECT_TRUE(window.isVisible());
    modals.answer(Msg::No);
    window.Unload();
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(modals.messages().size(), 2U);
    EXPECT_EQ(modals.messages()[1].style, Msg::YesNoCancel);
    EXPECT_TRUE(modals.allAnswersUsed());
}

TEST_F(SampleWindowTest, TimerClosesTheWindow)
{
    window.Timer1->setInterval(1);
    window.Timer1->setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }));
}

TEST_F(SampleWindowTest, WindowRendersToAPng)
{
    // STOCKCHECK_SCREENSHOT_DIR keeps the pictures for a person to look at.
    QTemporaryDir temp;
    const QByteArray keep = qgetenv("STOCKCHECK_SCREENSHOT_DIR");
    const QDir dir(keep.isEmpty() ? temp.path() : QString::fromLocal8Bit(keep));
    for (int tab = 0; tab < window.sstView->Tabs(); ++tab) {
        window.sstView->setTab(tab);
        const QString file = dir.filePath(QStringLiteral("sample-%1.png").arg(tab));
        ASSERT_TRUE(saveScreenshot(window, file));
        const QImage image(file);
        EXPECT_EQ(image.size(), window.size() * window.devicePixelRatio());
    }
}

TEST(ProgramModalShow, SavesTheFirstWindowShownAndClosesIt)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("first.png"));
    QtModals services;
    services.setScreenshotFile(file);
    SampleWindow first;
    services.showModal(first);
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(first.loads, 1);
    EXPECT_EQ(first.unloads, 1);
    EXPECT_EQ(QImage(file).size(), first.size() * first.devicePixelRatio());
}

} // namespace
