#include "window/frmsetcolume.h"

#include "countsheet/countsheetstate.h"
#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/commandbuttonarray.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/listbox.h"
#include "host/ui/ledger/ledgergrid.h"
#include "services/appconn.h"
#include "services/databasefailure.h"
#include "services/langtext.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

frmSetColume::frmSetColume(QWidget *parent)
    : Form(parent), Label1(new host::ui::Label), ColList(new host::ui::ListBox),
      Command(new host::ui::CommandButtonArray(this))
{
    setObjectName(QStringLiteral("frmSetColume"));
    ColList->setCheckBoxStyle(true);
    // The caption's access key leads to the list, and its ampersand is not shown.
    Label1->setBuddy(ColList);
    auto *buttons = new QVBoxLayout;
    for (int index = 0; index < 3; ++index)
        buttons->addWidget(&Command->Load(index, client()));
    buttons->addStretch();
    auto *list = new QVBoxLayout;
    list->addWidget(Label1);
    list->addWidget(ColList);
    auto *layout = new QHBoxLayout(client());
    layout->addLayout(list, 1);
    layout->addLayout(buttons);
    resize(360, 380);
    closeOnEscape(&(*Command)(2));
    connect(Command, &host::ui::CommandButtonArray::Click, this,
            [this](int index) { guard([=, this] { Command_Click(index); }); });
}

frmSetColume::~frmSetColume() = default;

void frmSetColume::Form_Load()
{
    MParse::SetFormFont(*this);
    setCaption(langText("显示/隐藏列"));
    Label1->setCaption(langText("列(&L):"));
    (*Command)(0).setCaption(langText("确定(&O)"));
    (*Command)(1).setCaption(langText("应用(&A)"));
    (*Command)(2).setCaption(langText("取消(&C)"));
    std::shared_ptr<host::Dictionary> none;
    MParse::LoadFormResStrings(*this, none, "ZARVOINDUSTRY");
    // A window that cannot read its captions or its ledger says so and offers nothing.
    try {
        // The ledger shows the captions stored for the user's language; they are compared
        // with those.
        const std::string caption = MParse::AddLangSuffix("FColCaption");
        m_captions = appConn().Execute(
            "SELECT LEFT(" + caption + ", LEN(" + caption +
            ")-1) AS FColCaption, FVisible FROM ICChatBillTitle WHERE FTypeID = " +
            std::to_string(countSheetState().gShowType) + " " +
            "AND FColName IN ('FSecUnitName','FSecCoefficient','FSecQty','FSecQtyAct',"
            "'FSecOverQty','FSecDownQty','FMTONo','FSecCheckQty')");
        if (!m_ledger)
            throw std::runtime_error("No ledger");
        if (m_ledger->Face().FixedRows() == 1)
            FillColListOneRow();
        else
            FillColListTwoRows();
    } catch (const std::exception &e) {
        ColList->Clear();
        PubVariant::ShowMsg(MParse::LoadLangString("读取栏目设置时出错：") + failureDescription(e),
                            0);
    }
    m_captions.reset();
}

void frmSetColume::addColumn(const QString &caption, int col)
{
    ColList->AddItem(caption);
    const int index = ColList->NewIndex();
    ColList->setItemData(index, col);
    ColList->setSelected(index, !m_ledger->Col(col).Switch(host::ui::LedgerGrid::HiddenSwitch));
}

void frmSetColume::FillColListOneRow()
{
    const int cols = m_ledger->Face().Cols();
    for (int col = 1; col <= cols; ++col) {
        const QString text = m_ledger->Cell(1, col).Text();
        if (!text.trimmed().isEmpty())
            addColumn(text, col);
    }
}

void frmSetColume::FillColListTwoRows()
{
    QString group;
    const int cols = m_ledger->Face().Cols();
    for (int col = 1; col <= cols; ++col) {
        const QString top = m_ledger->Cell(1, col).Text();
        const QString bottom = m_ledger->Cell(2, col).Text();
        if (!top.trimmed().isEmpty() && !bottom.trimmed().isEmpty())
            group = top;
        const QString caption = (!bottom.trimmed().isEmpty() ? group + bottom : top).trimmed();
        if (GetColVisible(caption) != QLatin1String("0") && !caption.isEmpty())
            addColumn(caption, col);
    }
}

QString frmSetColume::GetColVisible(const QString &caption)
{
    if (!m_captions || m_captions->State() == host::Recordset::adStateClosed ||
        m_captions->RecordCount() == 0)
        return {};
    const std::string wanted = caption.toStdString();
    for (m_captions->MoveFirst(); !m_captions->EOF(); m_captions->MoveNext()) {
        if (host::CStr(m_captions->Fields("FColCaption").Value()) == wanted)
            return QString::fromStdString(host::CStr(m_captions->Fields("FVisible").Value()));
    }
    return {};
}

void frmSetColume::ApplyColumns()
{
    bool anyShown = false;
    for (int i = 0; i < ColList->ListCount(); ++i)
        anyShown = anyShown || ColList->Selected(i);
    if (!anyShown) {
        PubVariant::MsgBox(MParse::LoadLangString("不能将全部列都隐藏，请至少保留一列"),
                           PubVariant::vbInformation);
        return;
    }
    for (int i = 0; i < ColList->ListCount(); ++i)
        m_ledger->Col(static_cast<int>(ColList->ItemData(i)))
            .setSwitch(host::ui::LedgerGrid::HiddenSwitch, !ColList->Selected(i));
}

void frmSetColume::Command_Click(int Index)
{
    if (Index == 0 || Index == 1)
        ApplyColumns();
    if (Index == 0 || Index == 2)
        Unload();
}
