#include "dialogs/frmselect.h"

#include "countsheet/countsheetstate.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/core/dictionary.h"
#include "host/core/settingsstore.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/picturebox.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/controls/titleband.h"
#include "host/ui/form/fonts.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/ledger/uihelper.h"
#include "host/ui/toolbar/buttonbar.h"
#include "services/keyhelp.h"
#include "services/langtext.h"
#include "services/mparse.h"
#include "services/trystep.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr const char *kSection = "frmSelectBill";

bool readFlag(const char *key)
{
    bool flag = false;
    tryStep([&] {
        if (const auto &ini = countSheetState().gIni)
            flag = host::CBool(ini->read(kSection, key, ""));
    });
    return flag;
}

} // namespace

frmSelect::frmSelect(QWidget *parent)
    : Form(parent), titSelect(new host::ui::TitleBand(client())),
      Label1(new host::ui::Label(QString(), titSelect)),
      lstStock(new host::ui::Label(QString(), titSelect)), tlbRpt(new host::ui::ButtonBar(this)),
      PIC1(new host::ui::PictureBox(client())), ldgSelect(new host::ui::LedgerGrid(PIC1)),
      staBar(new host::ui::StatusBarControl(client(), 3))
{
    setObjectName(QStringLiteral("frmSelect"));
    ldgSelect->setObjectName(QStringLiteral("ldgSelect"));
    tlbRpt->AddButton(QString());
    tlbRpt->AddButton(QStringLiteral("Calulate"), QStringLiteral("计算"));
    tlbRpt->AddButton(QString());
    tlbRpt->AddButton(QStringLiteral("Exit"), QStringLiteral("退出"));
    const QList<QAction *> buttons = tlbRpt->actions();
    buttons.at(1)->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    buttons.at(3)->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    addToolBar(tlbRpt);
    buildMenus();
    titSelect->setMinimumHeight(36);
    Label1->setAutoSize(true);
    lstStock->setAutoSize(true);
    auto *grid = new QVBoxLayout(PIC1);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(ldgSelect);
    auto *layout = new QVBoxLayout(client());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(titSelect);
    layout->addWidget(PIC1, 1);
    layout->addWidget(staBar);
    staBar->setPanelWidth(1, 4000);
    staBar->setPanelWidth(2, 600);
    resize(900, 480);
    closeOnEscape();

    connect(tlbRpt, &host::ui::ButtonBar::ButtonClick, this,
            [this](int, const QString &key) { guard([&] { tlbRpt_ButtonClick(key); }); });
    connect(ldgSelect, &host::ui::LedgerGrid::FetchRow, this,
            [this](int row, QString &text, long &color) { ldgSelect_FetchRow(row, text, color); });
    connect(ldgSelect, &host::ui::LedgerGrid::ToggleSelect, this,
            [this](short &action) { guard([&] { ldgSelect_ToggleSelect(action); }); });

    // What the window keeps from its last use: the header and the three view flags.
    mHeaderSpec = QStringLiteral("FInterID$|") + langText("选中标志") + "$|" + langText("日期") +
                  "$|FInOrOut$|";
    for (const char *caption :
         {"事务类型", "单据号码", "仓位", "物料代码", "物料名称", "规格型号", "辅助属性", "批次",
          "计划跟踪号", "生产/采购日期", "保质期", "单位", "数量", "辅助单位", "辅助数量"})
        mHeaderSpec += langText(caption) + "$|";
    mHeaderSpec += QStringLiteral("FEntryID$|FROB$|FTranTypeID$|FChanged$|");
    m_showToolbar = readFlag("bShowtoolbar");
    m_showToolLabels = readFlag("bShowToolBarLable");
    m_showStatusBar = readFlag("bShowStatBar");
}

frmSelect::~frmSelect()
{
    tryStep([this] {
        const auto &ini = countSheetState().gIni;
        if (!ini)
            return;
        ini->write(kSection, "bShowtoolbar", m_showToolbar);
        ini->write(kSection, "bShowToolBarLable", m_showToolLabels);
        ini->write(kSection, "bShowStatBar", m_showStatusBar);
    });
}

void frmSelect::buildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    mnuFExit = mnuFile->addAction(QStringLiteral("退出(&X)"));
    mnuFExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuView = menuBar()->addMenu(QStringLiteral("查看(&V)"));
    mnuVCalulate = mnuView->addAction(QStringLiteral("计算(&C)"));
    mnuVCalulate->setShortcut(QKeySequence(Qt::Key_F4));
    mnuView->addSeparator();
    mnuVToolBar = mnuView->addAction(QStringLiteral("工具条(&O)"));
    mnuVStatus = mnuView->addAction(QStringLiteral("状态条(&L)"));
    mnuVLabel = mnuView->addAction(QStringLiteral("工具条标签(&L)"));
    for (QAction *action : {mnuVToolBar, mnuVStatus, mnuVLabel})
        action->setCheckable(true);
    // Like the count-sheet window's, the item has no command, so neither it nor its separator
    // is shown.
    mnuView->addSeparator()->setVisible(false);
    mnuHAbout = mnuView->addAction(QStringLiteral("关于Hembrel(&A)"));
    mnuHAbout->setVisible(false);
    connect(mnuFExit, &QAction::triggered, this, [this] { guard([this] { mnuFExit_Click(); }); });
    connect(mnuVCalulate, &QAction::triggered, this,
            [this] { guard([this] { mnuVCalulate_Click(); }); });
    connect(mnuVToolBar, &QAction::triggered, this,
            [this] { guard([this] { mnuVToolBar_Click(); }); });
    connect(mnuVStatus, &QAction::triggered, this,
            [this] { guard([this] { mnuVStatus_Click(); }); });
    connect(mnuVLabel, &QAction::triggered, this, [this] { guard([this] { mnuVLabel_Click(); }); });
}

void frmSelect::InitCaptions()
{
    tryStep([this] { MParse::SetFormFont(*this); });
    tryStep([this] { setCaption(langText("选择单据")); });
    tryStep([this] { Label1->setCaption(langText("仓库名称:")); });
    tryStep([this] {
        tlbRpt->Buttons(2).setCaption(langText("计算"));
        tlbRpt->Buttons(2).setToolTipText(langText("计算实存数量"));
        tlbRpt->Buttons(4).setCaption(langText("退出"));
        tlbRpt->Buttons(4).setToolTipText(langText("退出"));
    });
    tryStep([this] {
        mnuFile->setTitle(langText("文件(&F)"));
        mnuFExit->setText(langText("退出(&X)"));
        mnuView->setTitle(langText("查看(&V)"));
        mnuVCalulate->setText(langText("计算(&C)"));
        mnuVToolBar->setText(langText("工具条(&O)"));
        mnuVStatus->setText(langText("状态条(&L)"));
        mnuVLabel->setText(langText("工具条标签(&L)"));
        mnuHAbout->setText(langText("关于Hembrel(&A)"));
    });
}

void frmSelect::Form_Load()
{
    setKeyPreview(true);
    InitCaptions();
    tryStep([this] {
        const auto font = MParse::GetFontProps();
        QFont captionFont = host::ui::uiFont(12);
        captionFont.setFamily(
            QString::fromStdString(host::CStr(font->GetValue("Font.Name", "宋体"))));
        captionFont.setFamilies({captionFont.family(), host::ui::cjkFamily()});
        titSelect->setCaptionFont(captionFont);
    });
    tryStep([this] {
        std::shared_ptr<host::Dictionary> resources;
        MParse::LoadFormResStrings(*this, resources, "ZARVOINDUSTRY");
    });
    titSelect->setCaption(langText("选择单据"));
    staBar->Panels(1).setText(langText("请单击选中标志列来选定要计算的单据"));
    staBar->Panels(3).setText(formatLangText(
        "与物料%1相关的单据", QString::fromStdString(sheetDialogsState().gCurItemNumber)));
    Label1->setLeft(120);
    Label1->setTop(60);
    lstStock->setTop(60);
    lstStock->setLeft(Label1->Left() + Label1->Width() + 120);
    lstStock->setCaption(QString::fromStdString(sheetDialogsState().gCurStockName));
    if (GetRSSelect() == 0)
        return;
    setUpGrid();
    applyViewFlags();
}

void frmSelect::applyViewFlags()
{
    mnuVToolBar->setChecked(m_showToolbar);
    mnuVStatus->setChecked(m_showStatusBar);
    mnuVLabel->setChecked(m_showToolLabels);
    staBar->setVisible(m_showStatusBar);
    host::ui::UIHelper::showToolCaptions(*tlbRpt, m_showToolLabels);
    tlbRpt->setVisible(m_showToolbar);
}

void frmSelect::Form_Activate()
{
    LoadSaveColumnWidths(0);
}

void frmSelect::Form_Resize()
{
    if (WindowState() == 1)
        return;
    ArrangeControls();
}

void frmSelect::ArrangeControls()
{
    // The layout fits the grid to the window below the title band and above the status bar.
    client()->layout()->activate();
}

void frmSelect::Form_Unload(bool &)
{
    LoadSaveColumnWidths(1);
    mRsSelect.reset();
}

void frmSelect::Form_KeyDown(int &KeyCode, int)
{
    showHelpAfterKey(*this, KeyCode, "ICStockCheckSelect", 0);
}

void frmSelect::tlbRpt_ButtonClick(const QString &key)
{
    if (key == QLatin1String("Calulate"))
        mnuVCalulate_Click();
    else if (key == QLatin1String("Exit"))
        mnuFExit_Click();
}

void frmSelect::mnuFExit_Click()
{
    Unload();
}

void frmSelect::mnuVCalulate_Click()
{
    Calculate();
    emit CalFactQty();
    QCoreApplication::processEvents();
}

void frmSelect::mnuVToolBar_Click()
{
    m_showToolbar = !m_showToolbar;
    mnuVToolBar->setChecked(m_showToolbar);
    tlbRpt->setVisible(m_showToolbar);
    if (m_showToolbar && m_showToolLabels)
        host::ui::UIHelper::showToolCaptions(*tlbRpt, true);
    ArrangeControls();
}

void frmSelect::mnuVLabel_Click()
{
    m_showToolLabels = !m_showToolLabels;
    mnuVLabel->setChecked(m_showToolLabels);
    if (m_showToolbar)
        host::ui::UIHelper::showToolCaptions(*tlbRpt, m_showToolLabels);
    ArrangeControls();
}

void frmSelect::mnuVStatus_Click()
{
    m_showStatusBar = !m_showStatusBar;
    mnuVStatus->setChecked(m_showStatusBar);
    staBar->setVisible(m_showStatusBar);
    staBar->raise();
    staBar->Panels(1).setText(langText("就绪"));
    ArrangeControls();
}
