#include "backup/frmbackupinv.h"

#include "backup/icbackupinv.h"
#include "host/core/objectfactory.h"
#include "host/db/recordset/recordset.h"
#include "host/lookup/baselist.h"
#include "host/lookup/glview.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/datepicker.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/listbox.h"
#include "host/ui/controls/optionbutton.h"
#include "host/ui/controls/tabcontrol.h"
#include "host/ui/form/keycodes.h"
#include "host/ui/form/twips.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "services/keyhelp.h"
#include "services/langtext.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/trystep.h"

#include <QApplication>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCondCols = 4;

struct ColumnDef
{
    const char *header;
    double width;
};
constexpr ColumnDef kCondColumns[kCondCols] = {
    {"名称", 10}, {"比较", 10}, {"比较值", 18}, {"逻辑", 5}};

constexpr const char *kNames[] = {"物料代码", "物料名称", "仓位代码", "仓位名称"};
constexpr const char *kComparisons[] = {"=", "<>", ">", ">=", "<", "<=", "like", "not like"};
constexpr const char *kConnectives[] = {"and", "or"};

// A cell list: every item after a tab, so that index 0 is the empty item.
template <std::size_t N> QString comboList(const char *const (&items)[N])
{
    QString list;
    for (const char *item : items)
        list += QLatin1Char('\t') + langText(item);
    return list;
}

} // namespace

frmBackupInv::frmBackupInv(QWidget *parent)
    : Form(parent), Label1(new host::ui::Label(QString(), client())),
      Label2(new host::ui::Label(QString(), client())),
      optCurStock(new host::ui::OptionButton(QString(), client())),
      OptCutDate(new host::ui::OptionButton(QString(), client())),
      dtpDate(new host::ui::DatePicker(client())),
      sstCheckStock(new host::ui::TabControl(client(), 2)),
      StockList(new host::ui::ListBox(sstCheckStock->page(0))),
      vsProc(new host::ui::DataSpreadGrid(sstCheckStock->page(1))),
      cmdOK(new host::ui::CommandButton(QString(), client())),
      cmdCancel(new host::ui::CommandButton(QString(), client()))
{
    setObjectName(QStringLiteral("frmBackupInv"));
    Label1->setWordWrap(true);
    StockList->setMultiSelect(1);

    (new QVBoxLayout(sstCheckStock->page(0)))->addWidget(StockList);
    (new QVBoxLayout(sstCheckStock->page(1)))->addWidget(vsProc);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(Label2);
    dateRow->addWidget(optCurStock);
    dateRow->addWidget(OptCutDate);
    dateRow->addWidget(dtpDate);
    dateRow->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(client());
    layout->addWidget(Label1);
    layout->addLayout(dateRow);
    layout->addWidget(sstCheckStock, 1);
    layout->addLayout(buttons);
    resize(560, 440);
    closeOnEscape(cmdCancel);

    connect(optCurStock, &host::ui::OptionButton::Click, this,
            [this] { guard([this] { optCurStock_Click(); }); });
    connect(OptCutDate, &host::ui::OptionButton::Click, this,
            [this] { guard([this] { OptCutDate_Click(); }); });
    connect(vsProc, &host::ui::SpreadGrid::Change, this,
            [this](int col, int row) { guard([&] { vsProc_Change(col, row); }); });
    connect(vsProc, &host::ui::SpreadGrid::KeyDown, this,
            [this](int &keyCode, int shift) { guard([&] { vsProc_KeyLookup(keyCode, shift); }); });
    connect(cmdOK, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdOK_Click(); }); });
    connect(cmdCancel, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdCancel_Click(); }); });
    connect(StockList, &host::ui::ListBox::Click, this, [this] { StockList_Click(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && now != cmdOK && now != cmdCancel && isAncestorOf(now))
            m_entry = now;
    });
}

frmBackupInv::~frmBackupInv() = default;

void frmBackupInv::Form_Load()
{
    setKeyPreview(true);
    MParse::SetFormFont(*this);
    setCaptions();
    MParse::ParseProps(MMTS::GetPropsString());
    sstCheckStock->setTab(0);
    module().gUseShortNumber = PubVariant::GetUseShortNumber();
    std::shared_ptr<host::Dictionary> resources;
    MParse::LoadFormResStrings(*this, resources, "ZARVOINDUSTRY");
    optCurStock->setValue(true);
    dtpDate->setEnabled(false);
    dtpDate->setValue(QDate::currentDate());
    setUpConditionGrid();

    const bool shortNumbers = !module().gUseShortNumber;
    m_fields = {"", shortNumbers ? "t4.FShortNumber" : "t4.FNumber", "t4.FName", "t5.FNumber",
                "t5.FName"};
    m_affixes = {"", "", "", "", "", "", "", "%", "%"};
    loadStockList();
}

void frmBackupInv::setCaptions()
{
    tryStep([this] { setCaption(langText("备份仓库数据")); });
    tryStep([this] {
        Label1->setCaption(langText(
            "在处理盘点之前，先备份仓库数据。建议在盘点报告单未完成之前，不要对该仓库进行出入库操作。"));
    });
    tryStep([this] { Label2->setCaption(langText("备份日期:")); });
    tryStep([this] { optCurStock->setCaption(langText("即时库存")); });
    tryStep([this] { OptCutDate->setCaption(langText("截止日期:")); });
    tryStep([this] { cmdOK->setCaption(langText("确定(&O)")); });
    tryStep([this] { cmdCancel->setCaption(langText("退出(&E)")); });
    tryStep([this] { sstCheckStock->setTabCaption(0, langText("仓库")); });
    tryStep([this] { sstCheckStock->setTabCaption(1, langText("仓位/物料")); });
}

void frmBackupInv::setUpConditionGrid()
{
    vsProc->setMaxCols(kCondCols);
    vsProc->setMaxRows(0);
    for (int col = 1; col <= kCondCols; ++col) {
        vsProc->SetText(col, 0, langText(kCondColumns[col - 1].header));
        vsProc->setColWidth(col, kCondColumns[col - 1].width);
    }
    addConditionRow();
}

void frmBackupInv::addConditionRow()
{
    if (vsProc->ActiveRow() != vsProc->MaxRows())
        return;
    const int row = vsProc->MaxRows() + 1;
    vsProc->setMaxRows(row);
    vsProc->setBlockMode(false);
    vsProc->setRow(row);
    const std::pair<int, QString> lists[] = {
        {1, comboList(kNames)}, {2, comboList(kComparisons)}, {4, comboList(kConnectives)}};
    for (const auto &[col, list] : lists) {
        vsProc->setCol(col);
        vsProc->setCellType(host::ui::CellType::ComboBox);
        vsProc->setTypeComboBoxList(list);
    }
}

void frmBackupInv::loadStockList()
{
    const auto stocks = PubVariant::GetStockRS("");
    if (!host::hasRows(stocks)) {
        PubVariant::ShowMsg(MParse::LoadLangString("仓库基础资料尚未输入，请先输入仓库基础资料!"),
                            0);
        return;
    }
    qsizetype longest = 0;
    for (; !stocks->EOF(); stocks->MoveNext()) {
        const QString name =
            QString::fromStdString(host::Trim(host::CStr(stocks->Fields("FName").Value())));
        StockList->AddItem(name);
        StockList->setItemData(StockList->NewIndex(),
                               host::CLng(stocks->Fields("FItemID").Value()));
        longest = std::max(longest, name.size());
    }
    const double twips = StockList->font().pointSizeF() * 20 * static_cast<double>(longest);
    StockList->setHorizontalExtent(
        static_cast<int>(std::lround(twips / host::ui::twipsPerPixelX())));
}

void frmBackupInv::optCurStock_Click()
{
    dtpDate->setEnabled(false);
}

void frmBackupInv::OptCutDate_Click()
{
    dtpDate->setEnabled(true);
}

int frmBackupInv::choice(int col, int row) const
{
    vsProc->setBlockMode(false);
    vsProc->setCol(col);
    vsProc->setRow(row);
    return std::max(vsProc->TypeComboBoxCurSel(), 0);
}

void frmBackupInv::vsProc_Change(int, int Row)
{
    bool allFilled = true;
    bool allBlank = true;
    for (int col = 1; col <= kCondCols; ++col) {
        const bool blank = GetGridCell(Row, col).empty();
        allFilled = allFilled && !blank;
        allBlank = allBlank && blank;
    }
    if (allFilled)
        addConditionRow();
    if (vsProc->MaxRows() >= 2 && allBlank)
        vsProc->setMaxRows(vsProc->MaxRows() - 1);
}

void frmBackupInv::vsProc_KeyLookup(int &KeyCode, int)
{
    if (KeyCode != host::ui::KeyCode::F7)
        return;
    const int row = vsProc->ActiveRow();
    if (row < 1)
        return;
    runAfterKey([this, row] {
        const int chosen = choice(1, row);
        if (chosen == 1 || chosen == 2)
            lookUpItem(row, chosen);
        else if (chosen == 3 || chosen == 4)
            lookUpStockPlace(row, chosen);
    });
}

void frmBackupInv::lookUpItem(int row, int choiceIndex)
{
    const auto result = PubVariant::BaseDataLookup(4, "", "x2.FErpClsID in (1,2,3,5,7,9)", 1, 0);
    if (!result || !result->ReturnObject)
        return;
    const auto &item = *result->ReturnObject;
    std::string text;
    if (choiceIndex == 2)
        text = host::CStr(item.Properties("FName"));
    else
        text =
            module().gUseShortNumber ? item.Number() : host::CStr(item.Properties("FShortNumber"));
    vsProc->SetText(3, row, QString::fromStdString(text));
}

void frmBackupInv::lookUpStockPlace(int row, int choiceIndex)
{
    const auto places = host::CreateObjectAs<host::BaseList>(host::BaseList::ProgId);
    const auto rs = places->Show(0, -15);
    if (!host::hasRows(rs) || rs->BOF())
        return;
    const char *field = choiceIndex == 4           ? "FName"
                        : module().gUseShortNumber ? "FNumber"
                                                   : "FShortNumber";
    const host::Variant value = rs->Fields(field).Value();
    vsProc->SetText(3, row, value.isNull() ? QString() : QString::fromStdString(host::CStr(value)));
}

void frmBackupInv::returnToEntry()
{
    QWidget *entry = m_entry;
    if (!entry || !entry->isVisible() || !entry->isEnabled())
        entry = sstCheckStock->Tab() == 0 ? static_cast<QWidget *>(StockList) : vsProc;
    entry->setFocus(Qt::OtherFocusReason);
}

void frmBackupInv::cmdCancel_Click()
{
    Unload();
}

void frmBackupInv::Form_KeyDown(int &KeyCode, int)
{
    showHelpAfterKey(*this, KeyCode, "ICStockCheckBackUpInv", 0);
}

void frmBackupInv::Form_Unload(bool &)
{
    m_backup.reset();
    m_params.reset();
    m_fields = {};
    m_affixes = {};
}
