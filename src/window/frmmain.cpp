// The window's controls, its start-up in the mode it is given, and its keys.
#include "window/frmmain.h"

#include "backup/icbackupinv.h"
#include "countsheet/maindo.h"
#include "dialogs/frmfind.h"
#include "host/core/dateformatter.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/core/settingsstore.h"
#include "host/ui/comboboxcontrol.h"
#include "host/ui/label.h"
#include "host/ui/ledgergrid.h"
#include "host/ui/picturebox.h"
#include "host/ui/spreadgrid.h"
#include "host/ui/statusbarcontrol.h"
#include "host/ui/timercontrol.h"
#include "host/ui/titleband.h"
#include "host/ui/tool.h"
#include "host/ui/toolbarcontrol.h"
#include "services/langtext.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/trystep.h"

#include <QAction>
#include <QHeaderView>

namespace {

constexpr int kEntryColumns = 43;
constexpr int kKeyF1 = 112;

// The user starts where the work is: in input mode the first cell of the first line that takes
// a count, in the other modes the ledger; the process list stays a Tab away.
void focusStart(frmMain &window)
{
    if (module().gShowType != 4) {
        window.ldgCheck->setFocus();
        return;
    }
    host::ui::SpreadGrid &grid = *window.vsCheck;
    grid.setFocus();
    // The last row holds the totals.
    if (grid.MaxRows() < 2)
        return;
    grid.setBlockMode(false);
    grid.setRow(1);
    for (int col = 1; col <= grid.MaxCols(); ++col) {
        grid.setCol(col);
        if (!grid.ColHidden() && !grid.Lock()) {
            grid.SetActiveCell(col, 1);
            return;
        }
    }
}

// A view flag as stored; a value that does not convert turns the flag off.
bool settingFlag(const char *key, const char *defaultValue)
{
    try {
        return host::CBool(module().gIni->read("ZarvoStockCheck", key, defaultValue));
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : Form(parent), barlist(new host::ui::ToolBarControl(*this)),
      titBar(new host::ui::TitleBand(client())), Label1(new host::ui::Label({}, titBar)),
      lstStock(new host::ui::ComboBoxControl(titBar)),
      labCheckDate(new host::ui::Label({}, titBar)), PIC1(new host::ui::PictureBox(client())),
      ldgCheck(new host::ui::LedgerGrid(PIC1)), vsCheck(new host::ui::SpreadGrid(PIC1)),
      staBar(new host::ui::StatusBarControl(client(), 3)), Timer1(new host::ui::TimerControl(this)),
      m_mainDo(std::make_unique<MainDo>()), m_backupInv(std::make_unique<ICBackupInv>())
{
    setObjectName(QStringLiteral("frmMain"));
    createControls();
    createMenus();
    buildToolBar();
    connectEvents();

    // Read before the mode is known.
    bShowtoolbar = settingFlag("bShowtoolbar", "True");
    bShowToolBarLable = settingFlag("bShowToolBarLable", "True");
    bShowStatBar = settingFlag("bShowStatBar", "True");
    bShowDeleted = settingFlag("bShowDeleted", "False");
    m_mainDo->Ldg(ldgCheck);
    m_mainDo->ShowDelete(bShowDeleted);
}

frmMain::~frmMain()
{
    module().gCurInterID = 0;
}

void frmMain::createControls()
{
    const std::pair<QWidget *, const char *> names[] = {
        {titBar, "titBar"},     {Label1, "Label1"},
        {lstStock, "lstStock"}, {labCheckDate, "labCheckDate"},
        {PIC1, "PIC1"},         {ldgCheck, "ldgCheck"},
        {vsCheck, "vsCheck"},   {staBar, "staBar"}};
    for (const auto &[widget, name] : names)
        widget->setObjectName(QString::fromLatin1(name));
    Timer1->setObjectName(QStringLiteral("Timer1"));

    Label1->setAutoSize(true);
    labCheckDate->setAutoSize(true);
    const int rowTop = titBar->Height() - 420;
    Label1->Move(120, rowTop + 60, 900, 300);
    lstStock->Move(1140, rowTop, 2400, 330);
    labCheckDate->Move(4000, rowTop + 60, 3000, 300);
    staBar->setPanelWidth(1, 3000);
    staBar->setPanelWidth(2, 3000);

    vsCheck->setMaxCols(kEntryColumns);
    vsCheck->setMaxRows(1);
    vsCheck->setColWidth(0, 0);
    static const std::pair<int, double> designWidths[] = {
        {1, 0},     {2, 960},   {3, 960},   {6, 1320},  {7, 1155}, {8, 1185}, {11, 1110},
        {13, 1290}, {17, 1095}, {18, 1080}, {19, 1080}, {23, 960}, {24, 960}, {29, 1065},
        {34, 0},    {35, 0},    {36, 0},    {39, 0},    {42, 960}};
    for (const auto &[col, width] : designWidths)
        vsCheck->setColWidth(col, width);
    static const char *const hiddenHeaders[] = {
        "FItemID",    nullptr,   nullptr,        nullptr,       nullptr, nullptr,        nullptr,
        nullptr,      nullptr,   nullptr,        nullptr,       nullptr, nullptr,        nullptr,
        nullptr,      nullptr,   nullptr,        nullptr,       nullptr, nullptr,        nullptr,
        nullptr,      nullptr,   nullptr,        nullptr,       nullptr, nullptr,        nullptr,
        nullptr,      nullptr,   nullptr,        nullptr,       nullptr, "FCoefficient", "FSPID",
        "DiffQty",    "FUnitID", "FUnitGroupID", "FAuxDiffQty", nullptr, nullptr,        "FStockID",
        "FSecDiffQty"};
    for (int col = 1; col <= kEntryColumns; ++col)
        if (const char *header = hiddenHeaders[col - 1])
            vsCheck->SetText(col, 0, QString::fromLatin1(header));
    // Only the counted quantities, the adjustment, the second unit's rate and count and the
    // note take typing; the fill unlocks the second unit's cells per line.
    vsCheck->setBlockMode(true);
    vsCheck->setRow(-1);
    vsCheck->setRow2(-1);
    vsCheck->setCol(1);
    vsCheck->setCol2(kEntryColumns);
    vsCheck->setLock(true);
    vsCheck->setBlockMode(false);
    for (int col : {24, 25, 28, 31, 33}) {
        vsCheck->setCol(col);
        vsCheck->setLock(false);
    }
    static const std::pair<int, long> backColors[] = {
        {1, 0xEBEBEB},  {5, 0xD8FFFF},  {6, 0xD8FFFF},  {7, 0xD8FFFF},  {8, 0xDEFEFC},
        {11, 0xD8FFFF}, {12, 0xD8FFFF}, {13, 0xD8FFFF}, {14, 0xD8FFFF}, {16, 0xD8FFFF},
        {17, 0xD8FFFF}, {18, 0xDBFDFB}, {19, 0xDBFDFB}, {22, 0xD8FFFF}, {23, 0xD8FFFF}};
    for (const auto &[col, color] : backColors) {
        vsCheck->setCol(col);
        vsCheck->setBackColor(color);
    }
    vsCheck->setCol(1);
    vsCheck->setColHidden(true);
    // Long captions wrap onto a second header line rather than being cut.
    for (QHeaderView *header : {vsCheck->horizontalHeader(), ldgCheck->horizontalHeader()}) {
        header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
        header->setFixedHeight(2 * header->fontMetrics().height() + 8);
    }
    ldgCheck->hide();
    resize(1000, 640);
}

void frmMain::setGridCaptions()
{
    static const std::pair<int, const char *> headers[] = {
        {2, "仓库代码"},
        {3, "仓库"},
        {4, "仓位代码"},
        {5, "仓位"},
        {6, "物料代码"},
        {7, "物料名称"},
        {8, "规格型号"},
        {9, "辅助属性代码"},
        {10, "辅助属性"},
        {11, "批次"},
        {12, "计划跟踪号"},
        {13, "生产/采购日期"},
        {14, "保质期(天)"},
        {15, "基本单位代码"},
        {16, "基本单位"},
        {17, "基本单位账存数量"},
        {18, "基本单位实存数量"},
        {19, "基本单位盘点数量"},
        {20, "单位代码"},
        {21, "单位"},
        {22, "账存数量"},
        {23, "实存数量"},
        {24, "盘点数量"},
        {25, "调整数量"},
        {26, "辅助单位代码"},
        {27, "辅助计量单位"},
        {28, "换算率"},
        {29, "辅助计量单位账存数量"},
        {30, "辅助计量单位实存数量"},
        {31, "辅助计量单位盘点数量"},
        {32, "辅助计量单位调整数量"},
        {33, "备注"},
        {40, "辅助计量单位ID"},
        {41, "辅助属性ID"},
    };
    for (const auto &[col, header] : headers)
        tryStep([&, col = col, &header = header] { vsCheck->SetText(col, 0, langText(header)); });
    m_mtoColumn = 12;
    if (module().gMtoPlanMode == 0)
        tryStep([&] {
            vsCheck->setBlockMode(false);
            vsCheck->setRow(-1);
            vsCheck->setCol(m_mtoColumn);
            vsCheck->setColHidden(true);
        });
    tryStep([&] { staBar->Panels(1).setText(langText("就绪")); });
    tryStep([&] { Label1->setCaption(langText("盘点方案:")); });
    tryStep([&] { lstStock->setLeft(Label1->Left() + Label1->Width() + 120); });
}

void frmMain::connectEvents()
{
    connectGuarded(barlist, &host::ui::ToolBarControl::ToolClick, &frmMain::barlist_ToolClick);
    connectGuarded(barlist, &host::ui::ToolBarControl::CancelDefault,
                   &frmMain::barlist_CancelDefault);
    connectGuarded(lstStock, &host::ui::ComboBoxControl::Click, &frmMain::lstStock_Click);
    connectGuarded(PIC1, &host::ui::PictureBox::Resize, &frmMain::PIC1_Resize);
    connectGuarded(Timer1, &host::ui::TimerControl::Timer, &frmMain::Timer1_Timer);
    connectGuarded(ldgCheck, &host::ui::LedgerGrid::FetchRow, &frmMain::ldgCheck_FetchRow);
    connectGuarded(ldgCheck, &host::ui::LedgerGrid::SortColumn, &frmMain::ldgCheck_SortColumn);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::Change, &frmMain::vsCheck_Change);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::EditMode, &frmMain::vsCheck_EditMode);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::HeaderClick, &frmMain::vsCheck_HeaderClick);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::RowActivate, &frmMain::vsCheck_RowActivate);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::KeyPress, &frmMain::vsCheck_KeyPress);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::LeaveCell, &frmMain::vsCheck_LeaveCell);
}

void frmMain::ShowType(long value)
{
    module().gShowType = value;
}

bool frmMain::isLedgerMode() const
{
    return module().gShowType == 1 || module().gShowType == 3;
}

void frmMain::Form_Load()
{
    ModuleState &m = module();
    setKeyPreview(true);
    MParse::SetFormFont(*this);
    std::shared_ptr<host::Dictionary> resources;
    MParse::LoadFormResStrings(*this, resources, "ZARVOINDUSTRY");
    InitCaptions();
    MParse::ParseProps(MMTS::GetPropsString());
    m.gUseShortNumber = PubVariant::GetUseShortNumber();
    BuildQueryColumns();
    InitShowType();
    ListStock();
    BuildColTypes();
    LoadSaveGridColWidth(*vsCheck, false);
    LoadLdgColWidth();
    LoadLedgerColHide();
    focusStart(*this);
}

void frmMain::InitShowType()
{
    ModuleState &m = module();
    labCheckDate->setLeft((ScaleWidth() - labCheckDate->Width()) / 2);
    mnuViewShowDeleted->setChecked(bShowDeleted);

    struct ModeText
    {
        long mode;
        const char *caption;
        const char *title;
    };
    static const ModeText texts[] = {{1, "物料盘点报告单", "物料盘点报告单"},
                                     {3, "打印物料盘点表", "物料盘点表"},
                                     {4, "录入盘点数据", "物料盘点表"}};
    for (const ModeText &t : texts) {
        if (t.mode != m.gShowType)
            continue;
        setCaption(langText(t.caption));
        titBar->setCaption(langText(t.title));
        ldgCheck->setVisible(t.mode != 4);
        vsCheck->setVisible(t.mode == 4);
    }
    applyModeVisibility();
    if (m.gShowType == 3) {
        mnuVSelectData_Checked->setText(langText("账存数据"));
        mnuVSelectData_Checked->setChecked(true);
        mnuVSelectData_All->setChecked(false);
        mDataView = 1;
    } else if (m.gShowType == 4) {
        setWindowState(2);
    }

    staBar->Panels(3).setText(QString::fromStdString(
        host::DateFormatter().format(host::Variant::fromDate(host::now()), "YYYY-MM-DD HH:MM:SS")));
    mnuStatusBar->setChecked(bShowStatBar);
    staBar->setVisible(bShowStatBar);
    if (bShowStatBar) {
        staBar->raise();
        staBar->Panels(1).setText(langText("就绪"));
    }
    SetToolbarLabels();
    mnuViewLable->setChecked(bShowToolBarLable);
    mnuToolBar->setChecked(bShowtoolbar);
    barlist->Bands(QStringLiteral("barRpt")).setVisible(bShowtoolbar);
    barlist->Tools(QStringLiteral("CheckedData")).setChecked(mnuVSelectData_Checked->isChecked());
    barlist->Tools(QStringLiteral("AllData")).setChecked(!mnuVSelectData_Checked->isChecked());

    if (isLedgerMode()) {
        ldgCheck->Face().setRows(2);
        ldgCheck->Face().setFixedRows(2);
        ldgCheck->Face().setBackColor(0xFFFFFF);
        m_mainDo->ResizeColWidth();
    }
    mnuShowCloseProc->setChecked(
        host::CStr(m.gIni->read("ZARVOSTOCKPRICE", "ldgCheck_ShowCloseProc", "")) == "1");
    bool alert = false;
    PubVariant::GetAlertSameCheck(alert);
    mnuAlertSame->setChecked(alert);
}

void frmMain::BuildColTypes()
{
    auto types = std::make_shared<host::Dictionary>();
    for (int col = 2; col <= 37; ++col) {
        static const int textCols[] = {2,  3,  4,  5,  6,  7,  8,  9,  10,
                                       11, 13, 15, 16, 20, 21, 26, 27, 33};
        static const int numberCols[] = {14, 17, 18, 19, 22, 23, 24, 25, 28, 29, 30, 31, 32, 37};
        long type = 0;
        for (int c : textCols)
            type = c == col ? 10 : type;
        for (int c : numberCols)
            type = c == col ? 7 : type;
        if (type == 0)
            continue;
        auto entry = std::make_shared<host::Dictionary>();
        entry->SetValue("ColType", type);
        entry->SetValue("ColLength", 200L);
        types->SetValue(std::to_string(col),
                        host::Variant(std::static_pointer_cast<host::HostObject>(entry)));
    }
    module().gColTypeDict = types;
}

void frmMain::Form_Activate()
{
    if (module().gIsTest) {
        Timer1->setInterval(1000);
        Timer1->setEnabled(true);
    }
}

void frmMain::Timer1_Timer()
{
    Timer1->setEnabled(false);
    Unload();
}

void frmMain::Form_KeyDown(int &KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == kKeyF1)
        ShowHelpTopic();
}

void frmMain::Form_KeyPress(int &KeyAscii)
{
    if (KeyAscii == '"' || KeyAscii == '\'')
        KeyAscii = 0;
}

void frmMain::ShowHelpTopic()
{
    const long mode = module().gShowType;
    const long topic = mode == 4 ? 0 : mode == 1 ? 1 : mode == 3 ? 2 : -1;
    if (topic >= 0)
        MMTS::ShowHelp(kKeyF1, 0, "ICStockCheckMain", topic, MParse::GetPropsItem("SUBID"), 0);
}
