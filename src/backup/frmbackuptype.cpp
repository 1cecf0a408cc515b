#include "backup/frmbackuptype.h"

#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/frame.h"
#include "host/ui/controls/optionbutton.h"
#include "services/keyhelp.h"
#include "services/langtext.h"
#include "services/mparse.h"
#include "services/trystep.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

FrmBackupType::FrmBackupType(QWidget *parent)
    : Form(parent), Frame1(new host::ui::Frame(QString(), client())),
      OpCurStock(new host::ui::OptionButton(QString(), Frame1)),
      OptCutDate(new host::ui::OptionButton(QString(), Frame1)),
      cmdOK(new host::ui::CommandButton(QString(), client())),
      cmdCancel(new host::ui::CommandButton(QString(), client()))
{
    setObjectName(QStringLiteral("FrmBackupType"));
    OpCurStock->setValue(true);
    auto *options = new QHBoxLayout(Frame1);
    options->addWidget(OpCurStock);
    options->addWidget(OptCutDate);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(client());
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    setCaptions();
    closeOnEscape(cmdCancel);

    connect(OpCurStock, &host::ui::OptionButton::Click, this,
            [this] { guard([this] { OpCurStock_Click(); }); });
    connect(OptCutDate, &host::ui::OptionButton::Click, this,
            [this] { guard([this] { OptCutDate_Click(); }); });
    connect(cmdOK, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdOK_Click(); }); });
    connect(cmdCancel, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdCancel_Click(); }); });
}

void FrmBackupType::setCaptions()
{
    tryStep([this] { setCaption(langText("选择盘点类型")); });
    tryStep([this] { Frame1->setCaption(langText("请选择该盘点方案的备份类型")); });
    tryStep([this] { OpCurStock->setCaption(langText("即时库存")); });
    tryStep([this] { OptCutDate->setCaption(langText("截止日期")); });
    tryStep([this] { cmdOK->setCaption(langText("确定(&O)")); });
    tryStep([this] { cmdCancel->setCaption(langText("取消(&C)")); });
}

void FrmBackupType::Form_Load()
{
    setKeyPreview(true);
    setCaptions();
    MParse::SetFormFont(*this);
    m_backupType = 1;
    m_cancel = true;
}

void FrmBackupType::OpCurStock_Click()
{
    OpCurStock->setValue(true);
    OptCutDate->setValue(false);
    m_backupType = 1;
}

void FrmBackupType::OptCutDate_Click()
{
    OpCurStock->setValue(false);
    OptCutDate->setValue(true);
    m_backupType = 2;
}

void FrmBackupType::cmdOK_Click()
{
    m_cancel = false;
    Hide();
}

void FrmBackupType::cmdCancel_Click()
{
    m_cancel = true;
    Hide();
}

void FrmBackupType::Form_Unload(bool &Cancel)
{
    // The caller still reads the answer after the window closed.
    Cancel = true;
    Hide();
}

void FrmBackupType::Form_KeyDown(int &KeyCode, int)
{
    showHelpAfterKey(*this, KeyCode, "ICStockCheckBackUpType", 0);
}
