#include "uitestutil.h"

#include "host/core/hosterror.h"
#include "host/ui/form/keycodes.h"
#include "host/ui/ledger/uihelper.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"

#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace host::ui;

namespace {

class ToolBarTest : public ::testing::Test
{
protected:
    ToolBarTest() : bar(window)
    {
        bar.AddTool(1, QStringLiteral("Print"), QStringLiteral("打印"));
        bar.AddTool(2, QStringLiteral("PrintPreview"), QStringLiteral("预览"));
        bar.AddTool(3, QStringLiteral("Show"), QStringLiteral("显示"))
            .setSubBand(QStringLiteral("SubpopBar"));
        bar.AddTool(4, QStringLiteral("AllData"), QStringLiteral("全部数据"));
        bar.AddTool(5, QStringLiteral("Edit"), QStringLiteral("编辑"))
            .setSubBand(QStringLiteral("PopupBand1"));
        ToolBand &tools = bar.AddBand(QStringLiteral("barRpt"), ToolBand::Normal);
        ToolBand &sub = bar.AddBand(QStringLiteral("SubpopBar"), ToolBand::Popup);
        ToolBand &menu = bar.AddBand(QStringLiteral("MnuBand1"), ToolBand::MenuBar);
        ToolBand &edit = bar.AddBand(QStringLiteral("PopupBand1"), ToolBand::Popup);
        for (const char *key : {"Print", "PrintPreview", "Show"})
            bar.placeTool(tools, QString::fromLatin1(key));
        bar.placeTool(sub, QStringLiteral("AllData"));
        bar.placeTool(menu, QStringLiteral("Edit"));
        bar.placeTool(edit, QStringLiteral("Print"));
        bar.RecalcLayout();
        QObject::connect(&bar, &ToolBarControl::ToolClick,
                         [this](Tool *tool) { clicked << tool->Name(); });
    }

    QMainWindow window;
    ToolBarControl bar;
    QStringList clicked;
};

TEST_F(ToolBarTest, ToolsAreFoundByKeyInTheBarAndInEachBand)
{
    EXPECT_EQ(bar.Tools(QStringLiteral("print")).ToolID(), 1);
    EXPECT_EQ(bar.Bands(QStringLiteral("barRpt")).Tools(QStringLiteral("PrintPreview")).Caption(),
              QStringLiteral("预览"));
    EXPECT_EQ(bar.Bands(QStringLiteral("SubpopBar")).findTool(QStringLiteral("Print")), nullptr);
    EXPECT_THROW(bar.Tools(QStringLiteral("Missing")), host::HostError);
    EXPECT_THROW(bar.Bands(QStringLiteral("barRpt")).Tools(QStringLiteral("AllData")),
                 host::HostError);
}

TEST_F(ToolBarTest, BarToolChangesReachEveryCopyAndBandChangesStayInTheBand)
{
    Tool &onBand = bar.Bands(QStringLiteral("barRpt")).Tools(QStringLiteral("Print"));
    Tool &inMenu = bar.Bands(QStringLiteral("PopupBand1")).Tools(QStringLiteral("Print"));
    bar.Tools(QStringLiteral("Print")).setEnabled(false);
    EXPECT_FALSE(onBand.Enabled());
    EXPECT_FALSE(inMenu.Enabled());
    onBand.setTooltipText(QStringLiteral("打印物料盘点表"));
    onBand.setVisible(false);
    EXPECT_EQ(onBand.TooltipText(), QStringLiteral("打印物料盘点表"));
    EXPECT_TRUE(inMenu.Visible());
    EXPECT_NE(inMenu.TooltipText(), QStringLiteral("打印物料盘点表"));
}

TEST_F(ToolBarTest, ClickReportsTheBandsToolAndLeavesTheCheckMarkToTheProgram)
{
    Tool &all = bar.Bands(QStringLiteral("SubpopBar")).Tools(QStringLiteral("AllData"));
    all.setChecked(true);
    all.action().trigger();
    EXPECT_EQ(clicked, QStringList{QStringLiteral("AllData")});
    EXPECT_TRUE(all.Checked());
    EXPECT_TRUE(all.action().isChecked());
}

TEST_F(ToolBarTest, ToolThatOpensABandRunsNoCommandAndNamesAreWhole)
{
    Tool &show = bar.Bands(QStringLiteral("barRpt")).Tools(QStringLiteral("Show"));
    EXPECT_EQ(show.action().menu<QMenu *>(), bar.Bands(QStringLiteral("SubpopBar")).menu());
    EXPECT_EQ(window.menuBar()->actions().first()->menu<QMenu *>(),
              bar.Bands(QStringLiteral("PopupBand1")).menu());
    bar.Bands(QStringLiteral("barRpt")).Tools(QStringLiteral("Print")).action().trigger();
    EXPECT_EQ(clicked, QStringList{QStringLiteral("Print")});
}

TEST_F(ToolBarTest, KeysRunTheToolOfTheirShortcut)
{
    bar.Tools(QStringLiteral("PrintPreview")).setShortcut(QKeySequence(Qt::Key_F11));
    int key = KeyCode::F1 + 10;
    bar.OnKeyDown(key, 0);
    EXPECT_EQ(key, 0);
    int other = KeyCode::F1;
    bar.OnKeyDown(other, 0);
    EXPECT_EQ(other, KeyCode::F1);
    EXPECT_EQ(clicked, QStringList{QStringLiteral("PrintPreview")});
}

TEST_F(ToolBarTest, CancelDefaultKeepsTheBarsOwnMenuClosed)
{
    int raised = 0;
    QObject::connect(&bar, &ToolBarControl::CancelDefault, [&](bool &cancel) {
        ++raised;
        cancel = true;
    });
    QToolBar *band = bar.Bands(QStringLiteral("barRpt")).toolBar();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            band->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(band, &event);
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(event.isAccepted());
}

TEST_F(ToolBarTest, StylesAndCaptionSwitchShowOnTheButtons)
{
    ToolBand &band = bar.Bands(QStringLiteral("barRpt"));
    band.Tools(QStringLiteral("Print")).setStyle(Tool::CaptionBesideIcon);
    UIHelper::showToolCaptions(*band.toolBar(), false);
    bar.RecalcLayout();
    auto button = [&](const char *key) {
        return qobject_cast<QToolButton *>(
            band.toolBar()->widgetForAction(&band.Tools(QString::fromLatin1(key)).action()));
    };
    EXPECT_EQ(button("Print")->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    EXPECT_EQ(button("PrintPreview")->toolButtonStyle(), Qt::ToolButtonIconOnly);
    band.setVisible(false);
    EXPECT_FALSE(band.Visible());
}

} // namespace
