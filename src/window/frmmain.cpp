// The window's controls, its start-up in the mode it is given, and its keys.
#include "window/frmmain.h"

#include "backup/icbackupinv.h"
#include "countsheet/countline.h"
#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "dialogs/frmfind.h"
#include "host/core/dateformatter.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/core/settingsstore.h"
#include "host/core/text.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/picturebox.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/controls/timercontrol.h"
#include "host/ui/controls/titleband.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/editablecell.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/langtext.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/trystep.h"
#include "window/sheetwindowstate.h"

#include <QAction>
#include <QHeaderView>

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

constexpr int kKeyF1 = 112;

// The user starts where the work is: in input mode the first line's cell that takes a count, in
// the other modes the ledger; the process list stays a Tab away.
void focusStart(frmMain &window)
{
    if (countSheetState().gShowType != 4) {
        window.ldgCheck->setFocus();
        return;
    }
    window.vsCheck->setFocus();
    window.activateFirstCount();
}

// The leading ledger columns that say which line a row is, its stock, stock place and item: they
// stay at the left as the sheet scrolls, as the entry grid's do.
int lineColumns(const std::vector<ColumnTemplate> &columns)
{
    static constexpr std::string_view kLineFields[] = {
        "FStockName", "FStockNumber", "FSPName", "FSPNumber", "FNumber", "FShortNumber", "FName"};
    const auto identifies = [](const ColumnTemplate &column) {
        return std::any_of(
            std::begin(kLineFields), std::end(kLineFields),
            [&](std::string_view field) { return host::equalsNoCase(column.ColName, field); });
    };
    return static_cast<int>(std::find_if_not(columns.begin(), columns.end(), identifies) -
                            columns.begin());
}

// A view flag as stored; a value that does not convert turns the flag off.
bool settingFlag(const char *key, const char *defaultValue)
{
    try {
        return host::CBool(countSheetState().gIni->read("ZarvoStockCheck", key, defaultValue));
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
    // An edit still open ends when the window closes below, after its state is gone.
    vsCheck->disconnect(this);
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
    // The caption's access key leads to the process box.
    Label1->setBuddy(lstStock);
    labCheckDate->setAutoSize(true);
    const int rowTop = titBar->Height() - 420;
    Label1->Move(120, rowTop + 60, 900, 300);
    lstStock->Move(1140, rowTop, 2400, 330);
    labCheckDate->Move(4000, rowTop + 60, 3000, 300);
    staBar->setPanelWidth(1, 3000);
    staBar->setPanelWidth(2, 3000);

    vsCheck->setMaxCols(EntryCol::kCount);
    vsCheck->setMaxRows(1);
    vsCheck->setColWidth(0, 0);
    // The design of each column; the captions shown in the user's language come later.
    for (const EntryColumn &column : entryColumns()) {
        if (column.width >= 0)
            vsCheck->setColWidth(column.col, column.width);
        if (!column.translated)
            vsCheck->SetText(column.col, 0, QString::fromUtf8(column.caption));
        vsCheck->setBlockMode(true);
        vsCheck->setRow(-1);
        vsCheck->setRow2(-1);
        vsCheck->setCol(column.col);
        vsCheck->setCol2(column.col);
        vsCheck->setLock(!column.editable);
        if (column.backColor >= 0)
            vsCheck->setBackColor(column.backColor);
        vsCheck->setBlockMode(false);
    }
    vsCheck->setCol(EntryCol::ItemID);
    vsCheck->setColHidden(true);
    // Long captions wrap onto a second header line rather than being cut.
    for (QHeaderView *header : {vsCheck->horizontalHeader(), ldgCheck->horizontalHeader()}) {
        header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
        header->setFixedHeight(2 * header->fontMetrics().height() + 8);
    }
    // What tells the line being typed on from the others stays in view: its stock, stock place
    // and item, and the model, auxiliary property, batch, plan-tracking number and shelf life
    // that set apart lines of one item in one stock.
    vsCheck->setColsFrozen(EntryCol::KFPeriod);
    ldgCheck->hide();
    resize(1000, 640);
}

void frmMain::setGridCaptions()
{
    for (const EntryColumn &column : entryColumns())
        if (column.translated)
            tryStep([&] { vsCheck->SetText(column.col, 0, langText(column.caption)); });
    m_mtoColumn = EntryCol::MtoNo;
    if (module().gMtoPlanMode == 0)
        tryStep([&] {
            vsCheck->setBlockMode(false);
            vsCheck->setRow(-1);
            vsCheck->setCol(m_mtoColumn);
            vsCheck->setColHidden(true);
        });
    tryStep([&] { staBar->Panels(1).setText(langText("就绪")); });
    tryStep([&] { Label1->setCaption(langText("盘点方案(&P):")); });
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
    connectGuarded(vsCheck, &host::ui::SpreadGrid::EditError, &frmMain::vsCheck_EditError);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::HeaderClick, &frmMain::vsCheck_HeaderClick);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::RowActivate, &frmMain::vsCheck_RowActivate);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::KeyPress, &frmMain::vsCheck_KeyPress);
    connectGuarded(vsCheck, &host::ui::SpreadGrid::LeaveCell, &frmMain::vsCheck_LeaveCell);
}

void frmMain::ShowType(long value)
{
    countSheetState().gShowType = value;
}

bool frmMain::isLedgerMode() const
{
    return countSheetState().gShowType == 1 || countSheetState().gShowType == 3;
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

void frmMain::activateFirstCount()
{
    // The last row holds the totals.
    if (vsCheck->MaxRows() < 2)
        return;
    if (const int col = host::ui::firstEditableCol(*vsCheck, 1))
        vsCheck->SetActiveCell(col, 1);
}

void frmMain::InitShowType()
{
    CountSheetState &sheet = countSheetState();
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
        if (t.mode != sheet.gShowType)
            continue;
        setCaption(langText(t.caption));
        titBar->setCaption(langText(t.title));
        ldgCheck->setVisible(t.mode != 4);
        vsCheck->setVisible(t.mode == 4);
    }
    applyModeVisibility();
    if (sheet.gShowType == 3) {
        mnuVSelectData_Checked->setText(langText("账存数据"));
        mnuVSelectData_Checked->setChecked(true);
        mnuVSelectData_All->setChecked(false);
        mDataView = 1;
    } else if (sheet.gShowType == 4) {
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
        ldgCheck->setColsFrozen(lineColumns(sheet.gColumns));
    }
    mnuShowCloseProc->setChecked(
        host::CStr(sheet.gIni->read("ZARVOSTOCKPRICE", "ldgCheck_ShowCloseProc", "")) == "1");
    bool alert = false;
    PubVariant::GetAlertSameCheck(alert);
    mnuAlertSame->setChecked(alert);
}

void frmMain::BuildColTypes()
{
    auto types = std::make_shared<host::Dictionary>();
    for (const EntryColumn &column : entryColumns()) {
        if (column.exportType == 0)
            continue;
        auto entry = std::make_shared<host::Dictionary>();
        entry->SetValue("ColType", column.exportType);
        entry->SetValue("ColLength", 200L);
        types->SetValue(std::to_string(column.col),
                        host::Variant(std::static_pointer_cast<host::HostObject>(entry)));
    }
    sheetWindowState().gColTypeDict = types;
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
        runAfterKey([this] { ShowHelpTopic(); });
}

void frmMain::Form_KeyPress(int &KeyAscii)
{
    if (KeyAscii == '"' || KeyAscii == '\'')
        KeyAscii = 0;
}

void frmMain::ShowHelpTopic()
{
    const long mode = countSheetState().gShowType;
    const long topic = mode == 4 ? 0 : mode == 1 ? 1 : mode == 3 ? 2 : -1;
    if (topic >= 0)
        MMTS::ShowHelp(kKeyF1, 0, "ICStockCheckMain", topic, MParse::GetPropsItem("SUBID"), 0);
}
