#include "backup/frmchkstockproc.h"

#include "backup/dbaccess.h"
#include "backup/icbackupinv.h"
#include "host/core/dictionary.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/form/pendingedit.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "host/ui/spread/editablecell.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/columnlength.h"
#include "services/langtext.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/trystep.h"

#include <QLayout>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kCols = 7;
constexpr long kClosedColor = 255; // red

struct ToolDef
{
    long id;
    const char *key;
    const char *caption;
    const char *menuCaption; // in the menus, with its access key
    const char *hint;        // set at start-up; nullptr for none
    const char *description; // stored with the tool; nullptr for none
};

constexpr ToolDef kTools[] = {
    {frmChkStockProc::ToolNew, "New", "新建", "新建(&N)", "新建盘点进程", "新建盘点进程"},
    {frmChkStockProc::ToolOpen, "Open", "打开", "打开(&O)", "打开当前盘点进程", "打开当前盘点进程"},
    {frmChkStockProc::ToolSave, "Save", "保存", "保存(&S)", "保存修改后的备注", "保存修改后的备注"},
    {frmChkStockProc::ToolDelete, "Delete", "删除", "删除(&D)", "删除当前盘点进程",
     "删除当前盘点进程"},
    {frmChkStockProc::ToolRefresh, "Refresh", "刷新", "刷新(&R)", "刷新当前盘点进程列表",
     "刷新当前盘点进程列表"},
    {frmChkStockProc::ToolExit, "Exit", "退出", "退出(&X)", "退出盘点处理", "退出盘点处理(Ctrl+X)"},
    {frmChkStockProc::ToolEdit, "Edit", "编辑", "编辑(&E)", nullptr, nullptr},
    {frmChkStockProc::ToolOption, "Option", "选项", "选项(&O)", nullptr, nullptr},
    {frmChkStockProc::ToolStartPeriodCheck, "StartPeriodCheck", "启用周期盘点", "启用周期盘点(&C)",
     nullptr, nullptr},
    {frmChkStockProc::ToolWithStock, "WithStock", "分仓库创建", "分仓库创建(&S)", nullptr, nullptr},
    {frmChkStockProc::ToolWithoutStock, "WithoutStock", "不分仓库创建", "不分仓库创建(&A)", nullptr,
     nullptr},
    {frmChkStockProc::ToolHelp, "Help", "帮助", "帮助(&H)", nullptr, nullptr},
    {frmChkStockProc::ToolMnuHelp, "mnuHelp", "帮助目录", "帮助目录(&C)", "帮助目录", "帮助目录"},
};

const ToolDef &toolDef(const char *key)
{
    return *std::find_if(std::begin(kTools), std::end(kTools),
                         [key](const ToolDef &t) { return std::string_view(t.key) == key; });
}

// The bands and the tools they show; the menu-bar tools open the pop-up bands.
struct BandDef
{
    const char *name;
    host::ui::ToolBand::Type type;
    QStringList keys;
};

const BandDef kBands[] = {
    {"MnuBand1", host::ui::ToolBand::MenuBar, {"Edit", "Option", "Help"}},
    {"PopupBand1", host::ui::ToolBand::Popup, {"New", "Open", "Save", "Delete", "Refresh", "Exit"}},
    {"Band1", host::ui::ToolBand::Normal, {"New", "Open", "Save", "Delete", "Refresh", "Exit"}},
    {"PopupBand3", host::ui::ToolBand::Popup, {"StartPeriodCheck"}},
    {"PopupBand4", host::ui::ToolBand::Popup, {"WithStock", "WithoutStock"}},
    {"PopupBand5", host::ui::ToolBand::Popup, {"mnuHelp"}},
};

QString cellText(const host::Variant &value)
{
    return value.isNull() || value.isEmpty() ? QString()
                                             : QString::fromStdString(host::CStr(value));
}

// The captions of the bands' copies are set again after the bar's tools, each step on its own;
// a menu's carry their access keys.
void setBandTexts(host::ui::ToolBarControl &bar, const char *band, const QStringList &keys,
                  bool withHint)
{
    const bool menu = bar.Bands(band).BandType() != host::ui::ToolBand::Normal;
    for (const QString &key : keys) {
        tryStep([&] {
            const ToolDef &tool = toolDef(key.toUtf8().constData());
            host::ui::Tool &copy = bar.Bands(band).Tools(key);
            copy.setCaption(langText(menu ? tool.menuCaption : tool.caption));
            if (withHint)
                copy.setTooltipText(langText(tool.hint));
        });
    }
}

} // namespace

frmChkStockProc::frmChkStockProc(ProcListEntryFactory newEntry, QWidget *parent)
    : Form(parent), barProc(new host::ui::ToolBarControl(*this)),
      vsProc(new host::ui::DataSpreadGrid(client())),
      statusProc(new host::ui::StatusBarControl(client(), 1)), m_newEntry(std::move(newEntry))
{
    setObjectName(QStringLiteral("frmChkStockProc"));
    vsProc->setObjectName(QStringLiteral("vsProc"));
    statusProc->setObjectName(QStringLiteral("statusProc"));
    buildToolBar();
    vsProc->setMaxCols(kCols);
    vsProc->setSelectionBehavior(QAbstractItemView::SelectRows);
    resize(820, 480);
    // The grid takes its design size now: the first fill sizes the columns from it.
    layout()->activate();
    Form_Resize();

    connect(vsProc, &host::ui::SpreadGrid::Click, this,
            [this](int col, int row) { guard([&] { vsProc_Click(col, row); }); });
    connect(vsProc, &host::ui::DataSpreadGrid::CellEdited, this,
            [this](int col, int row) { guard([&] { vsProc_CellEdited(col, row); }); });
    connect(barProc, &host::ui::ToolBarControl::ToolClick, this,
            [this](host::ui::Tool *tool) { guard([&] { barProc_ToolClick(tool); }); });
    connect(barProc, &host::ui::ToolBarControl::CancelDefault, this,
            [this](bool &cancel) { barProc_CancelDefault(cancel); });
}

frmChkStockProc::~frmChkStockProc() = default;

void frmChkStockProc::buildToolBar()
{
    for (const ToolDef &t : kTools) {
        host::ui::Tool &tool =
            barProc->AddTool(t.id, QString::fromLatin1(t.key), QString::fromUtf8(t.caption));
        if (t.description)
            tool.setDescription(QString::fromUtf8(t.description));
    }
    barProc->Tools(QStringLiteral("Exit")).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    barProc->Tools(QStringLiteral("Edit")).setSubBand(QStringLiteral("PopupBand1"));
    barProc->Tools(QStringLiteral("Option")).setSubBand(QStringLiteral("PopupBand3"));
    barProc->Tools(QStringLiteral("StartPeriodCheck")).setSubBand(QStringLiteral("PopupBand4"));
    barProc->Tools(QStringLiteral("Help")).setSubBand(QStringLiteral("PopupBand5"));
    for (const BandDef &b : kBands) {
        host::ui::ToolBand &band = barProc->AddBand(QString::fromLatin1(b.name), b.type);
        for (const QString &key : b.keys)
            barProc->placeTool(band, key);
    }
    barProc->RecalcLayout();
}

void frmChkStockProc::Form_Load()
{
    setKeyPreview(true);
    MParse::SetFormFont(*this);
    InitCaptions();
    MParse::ParseProps(MMTS::GetPropsString());
    std::shared_ptr<host::Dictionary> resources;
    MParse::LoadFormResStrings(*this, resources, "ZARVOINDUSTRY");
    statusProc->Panels(1).setText(langText("选择已经存在的盘点方案或新建"));
    LoadProcList();
    m_modified = false;
}

void frmChkStockProc::InitCaptions()
{
    tryStep([&] { MParse::SetFormFont(*this); });
    tryStep([&] { setCaption(langText("盘点进程")); });
    for (const ToolDef &t : kTools) {
        tryStep(
            [&] { barProc->Tools(QString::fromLatin1(t.key)).setCaption(langText(t.caption)); });
    }
    setBandTexts(*barProc, "MnuBand1", {"Edit", "Option", "Help"}, false);
    setBandTexts(*barProc, "PopupBand1", {"New", "Open", "Save", "Delete", "Refresh"}, true);
    setBandTexts(*barProc, "PopupBand1", {"Exit"}, false);
    setBandTexts(*barProc, "Band1", {"New", "Open", "Save", "Delete", "Refresh", "Exit"}, true);
    setBandTexts(*barProc, "PopupBand3", {"StartPeriodCheck"}, false);
    setBandTexts(*barProc, "PopupBand4", {"WithStock", "WithoutStock"}, false);
    setBandTexts(*barProc, "PopupBand5", {"mnuHelp"}, true);
}

void frmChkStockProc::setUpColumns()
{
    static const char *const headers[kCols] = {" ",    "顺序号", "盘点方案名称", "备注", "日期",
                                               "制单", ""};
    for (int col = 1; col <= kCols; ++col)
        vsProc->SetText(col, 0,
                        col == 1 || col == kCols ? QString::fromUtf8(headers[col - 1])
                                                 : langText(headers[col - 1]));
    const double w = std::round(vsProc->Width() / 100.0);
    const double widths[] = {w / 16, w / 10, w / 4, w / 3.5, w / 6, w / 6};
    for (int col = 1; col < kCols; ++col)
        vsProc->setColWidth(col, widths[col - 1]);

    vsProc->setBlockMode(false);
    vsProc->setCol(-1);
    vsProc->setRow(-1);
    vsProc->setLock(true);
    vsProc->setCol(3);
    vsProc->setLock(false);
    vsProc->setTypeMaxEditLen(50);
    vsProc->setTypeMaxEditBytes(ColumnLength::ProcessName);
    vsProc->setCol(4);
    vsProc->setLock(false);
    vsProc->setTypeMaxEditLen(100);
    vsProc->setCol(1);
    vsProc->setForeColor(kClosedColor);
    vsProc->setCol(kCols);
    vsProc->setColHidden(true);
}

void frmChkStockProc::LoadProcList()
{
    const int current = vsProc->ActiveRow();
    const QString currentFid = current > 0 ? vsProc->GetText(kCols, current) : QString();
    const int currentCol = vsProc->ActiveCol();
    ICBackupInv backupInv;
    const auto rs = backupInv.GetProcList(true, true);
    const int rows = !host::hasRows(rs) ? 0 : static_cast<int>(rs->RecordCount());
    vsProc->setMaxRows(rows);
    if (!isVisible())
        setUpColumns();
    if (rows < 1)
        return;
    vsProc->setBlockMode(true);
    for (int i = 1; i <= rows; ++i) {
        const QStringList cells = {
            host::CLng(rs->Fields("FStatus").Value()) == 1 ? QStringLiteral("Y") : QString(),
            QString::number(i),
            cellText(rs->Fields("FProcessID").Value()),
            cellText(rs->Fields("FRemark").Value()),
            cellText(rs->Fields("FDate").Value()),
            cellText(rs->Fields("UserName").Value()),
            cellText(rs->Fields("FID").Value()),
        };
        vsProc->setCol(1);
        vsProc->setRow(i);
        vsProc->setCol2(kCols);
        vsProc->setRow2(i);
        vsProc->setClip(cells.join(QLatin1Char('\t')));
        rs->MoveNext();
    }
    vsProc->setBlockMode(false);
    showCurrentRow(currentFid, currentCol);
}

void frmChkStockProc::showCurrentRow(const QString &fid, int col)
{
    const QString opened = QString::number(module().gCurInterID);
    int row = 1;
    for (int r = 1; r <= vsProc->MaxRows(); ++r) {
        const QString text = vsProc->GetText(kCols, r);
        if (text == fid) {
            row = r;
            break;
        }
        if (text == opened)
            row = r;
    }
    vsProc->SetActiveCell(host::ui::isEditableCell(*vsProc, col, row)
                              ? col
                              : host::ui::firstEditableCol(*vsProc, row),
                          row);
}

long frmChkStockProc::newestProcess() const
{
    long newest = 0;
    for (int r = 1; r <= vsProc->MaxRows(); ++r)
        newest = std::max(newest, vsProc->GetText(kCols, r).toLong());
    return newest;
}

void frmChkStockProc::vsProc_Click(int Col, int Row)
{
    if (Row != 0 || Col < 1)
        return;
    vsProc->setSortKey(1, Col);
    vsProc->setSortKeyOrder(1, vsProc->SortKeyOrder(1) == 1 ? 2 : 1);
    vsProc->Sort(-1, -1, -1, -1);
}

void frmChkStockProc::vsProc_CellEdited(int, int Row)
{
    m_modified = true;
    const QString fid = vsProc->GetText(kCols, Row);
    host::Vector &list = changes();
    long found = 0;
    for (long i = 1; i <= list.Count() && !found; ++i) {
        const auto entry = list.Item(i).as<host::Dictionary>();
        if (entry && QString::fromStdString(host::CStr(entry->Value("FID"))) == fid)
            found = i;
    }
    auto change = std::make_shared<host::Dictionary>();
    change->SetValue("ProcID", vsProc->GetText(3, Row).toStdString());
    change->SetValue("Remark", vsProc->GetText(4, Row).toStdString());
    change->SetValue("FID", fid.toStdString());
    if (found) {
        list.Remove(found);
        list.Insert(found, host::Variant(change));
    } else {
        ++m_appendAt;
        list.Insert(m_appendAt, host::Variant(change));
    }
}

void frmChkStockProc::barProc_CancelDefault(bool &flag)
{
    flag = true;
}

void frmChkStockProc::Form_Resize()
{
    vsProc->Move(0, 0, ScaleWidth(), std::max(0, ScaleHeight() - statusProc->Height()));
}

void frmChkStockProc::Form_KeyDown(int &KeyCode, int Shift)
{
    barProc->OnKeyDown(KeyCode, Shift);
}

void frmChkStockProc::Form_Unload(bool &Cancel)
{
    // Every way of closing, the close box and the window manager's key included, asks about
    // the names and notes edited, a text still in a cell's editor among them.
    if (!host::ui::endPendingEdit(*this) || !settleChanges()) {
        Cancel = true;
        return;
    }
    m_changes.reset();
    m_appendAt = 0;
}

host::Vector &frmChkStockProc::changes()
{
    if (!m_changes)
        m_changes = std::make_shared<host::Vector>();
    return *m_changes;
}
