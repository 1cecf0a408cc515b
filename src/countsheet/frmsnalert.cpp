#include "countsheet/frmsnalert.h"

#include "host/core/variant.h"
#include "host/core/vector.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/label.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/keyhelp.h"
#include "services/langtext.h"
#include "services/mparse.h"
#include "services/trystep.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

FrmSNAlert::FrmSNAlert(QWidget *parent)
    : host::ui::Form(parent), labHead(new host::ui::Label), vaItemList(new host::ui::SpreadGrid),
      cmdYes(new host::ui::CommandButton), cmdNo(new host::ui::CommandButton)
{
    labHead->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdYes);
    buttons->addWidget(cmdNo);
    auto *layout = new QVBoxLayout(client());
    layout->addWidget(labHead);
    layout->addWidget(vaItemList);
    layout->addLayout(buttons);
    vaItemList->setMaxCols(1);
    vaItemList->setMaxRows(0);
    vaItemList->setColWidth(1, 6000);
    resize(480, 320);
    connect(cmdYes, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdYes_Click(); }); });
    connect(cmdNo, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdNo_Click(); }); });
}

void FrmSNAlert::Form_Load()
{
    setKeyPreview(true);
    // Font and captions as every window of the module takes them; a caption that cannot be set
    // keeps its default.
    tryStep([this] { MParse::SetFormFont(*this); });
    tryStep([this] { setCaption(langText("序列号提示")); });
    tryStep([this] {
        labHead->setCaption(langText(
            "以下物料为使用序列号管理的物料，不能自动盘点出单，是否继续针对未使用序列号管理的物料自动出单？"));
    });
    tryStep([this] { cmdYes->setCaption(langText("是(&Y)")); });
    tryStep([this] { cmdNo->setCaption(langText("否(&N)")); });
    tryStep([this] { vaItemList->SetText(1, 0, langText("物料信息")); });
    std::shared_ptr<host::Dictionary> resources;
    tryStep([&] { MParse::LoadFormResStrings(*this, resources, "ZARVOINDUSTRY"); });
}

void FrmSNAlert::Form_Activate()
{
    const long count = m_content ? m_content->Count() : 0;
    vaItemList->setMaxRows(static_cast<int>(count));
    for (long i = 1; i <= count; ++i)
        vaItemList->SetText(1, static_cast<int>(i),
                            QString::fromStdString(host::CStr(m_content->Item(i))));
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(Qt::ArrowCursor));
}

void FrmSNAlert::Form_KeyDown(int &KeyCode, int)
{
    showHelpAfterKey(*this, KeyCode, "ICStockCheckSNAlert", 0);
}

void FrmSNAlert::cmdYes_Click()
{
    m_returnCode = 1;
    Unload();
}

void FrmSNAlert::cmdNo_Click()
{
    m_returnCode = 0;
    Unload();
}
