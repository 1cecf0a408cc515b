#include "dialogs/frmadditem.h"

#include "countsheet/countline.h"
#include "countsheet/countlinegrid.h"
#include "dialogs/refusaltext.h"
#include "dialogs/saveadditem.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/datepicker.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/picturebox.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/form/keycodes.h"
#include "host/ui/form/olecolor.h"
#include "host/ui/form/pendingedit.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"
#include "services/columnlength.h"
#include "services/keyhelp.h"
#include "services/langtext.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/trystep.h"

#include <QApplication>
#include <QHeaderView>
#include <QPalette>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

// The looks of the boxes: required or allowed, optional, and read-only or not used.
constexpr long kWhite = 0xFFFFFF;
constexpr long kLightYellow = 0xF2FFFF; // RGB 255, 255, 242
long windowBackground()
{
    return host::ui::toOleColor(QApplication::palette().color(QPalette::Base));
}
long infoBackground()
{
    return host::ui::toOleColor(QApplication::palette().color(QPalette::ToolTipBase));
}

// Layout in twips: two columns of label and box, one row every kRowHeight.
constexpr int kRowHeight = 420;
constexpr int kTop = 180;
constexpr int kLabelWidth = 2300;
constexpr int kBoxWidth = 2500;
constexpr int kBoxHeight = 330;
constexpr int kButtonWidth = 330;
constexpr int kLeftColumn = 150;
constexpr int kRightColumn = kLeftColumn + kLabelWidth + kBoxWidth + kButtonWidth + 450;
// The most controls a walk from box to box passes: more than the window has.
constexpr int kControls = 64;

// A number field of the item; Null counts as 0.
double numberOf(const host::Variant &value)
{
    return value.isNull() ? 0 : host::Val(value);
}

} // namespace

frmAddItem::frmAddItem(QWidget *parent) : Form(parent)
{
    setObjectName(QStringLiteral("frmAddItem"));
    createControls();
    placeControls(true);
    wireEvents();
    closeOnEscape(cmdCancel);
}

frmAddItem::~frmAddItem() = default;

void frmAddItem::createControls()
{
    QWidget *area = client();
    auto label = [area](const char *caption) {
        auto *l = new host::ui::Label(QString::fromUtf8(caption), area);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    auto box = [area] { return new host::ui::TextBox(area); };
    auto button = [area] { return new host::ui::CommandButton(QStringLiteral("..."), area); };
    // A quantity cell takes what the entry grid's cell of the same quantity takes.
    auto cell = [area](host::ui::PictureBox *&picture, int entryCol = 0) {
        picture = new host::ui::PictureBox(area);
        picture->setFocusPolicy(Qt::NoFocus);
        auto *grid = new host::ui::SpreadGrid(picture);
        grid->setMaxRows(1);
        grid->setMaxCols(1);
        grid->horizontalHeader()->hide();
        grid->verticalHeader()->hide();
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setCol(1);
        grid->setRow(1);
        if (entryCol > 0)
            setUpNumberCells(*grid, entryColumn(entryCol));
        return grid;
    };
    Label4 = label("物料代码:");
    txtNumber = box();
    cmdItem = button();
    Label1 = label("物料名称:");
    txtName = box();
    Label2 = label("规格型号:");
    txtModel = box();
    lblMTO = label("计划跟踪号:");
    txtMtoNo = box();
    Label3 = label("计量单位:");
    txtUnitName = box();
    Label16 = label("单位(辅助):");
    txtSecUnitName = box();
    cmdSecUnit = button();
    Label15 = label("数量(辅助):");
    grdSecQty = cell(picSecQty, EntryCol::SecCheckQty);
    Label12 = label("调整数量:");
    grdAdjQty = cell(picAdjQty, EntryCol::AdjQty);
    Label11 = label("辅助属性:");
    txtAuxPropName = box();
    cmdAuxProp = button();
    Label13 = label("仓库代码:");
    txtStockNumber = box();
    cmdStockNumber = button();
    Label14 = label("仓库名称:");
    txtStockName = box();
    Label7 = label("仓位代码:");
    txtSPNumber = box();
    cmdSPNumber = button();
    Label10 = label("仓位名称:");
    txtSPName = box();
    Label8 = label("生产/采购日期:");
    dtpKFDate = new host::ui::DatePicker(area);
    Label9 = label("保 质 期:");
    grdKFPeriod = cell(picKFPeriod);
    grdKFPeriod->setCellType(host::ui::CellType::Integer);
    grdKFPeriod->setTypeIntegerMin(-1e15);
    grdKFPeriod->setTypeIntegerMax(1e15);
    Label5 = label("批    次:");
    txtBatchNo = box();
    cmdBatchNo = button();
    Label6 = label("备    注:");
    txtNote = box();
    lblQty = label("盘点数量:");
    grdQty = cell(picQty, EntryCol::CUUnitCheckQty);
    cmdADD = new host::ui::CommandButton(QStringLiteral("添加(&A)"), area);
    cmdOk = new host::ui::CommandButton(QStringLiteral("确定(&O)"), area);
    cmdCancel = new host::ui::CommandButton(QStringLiteral("退出(&E)"), area);

    // What is typed fits the column it is looked up by or saved in.
    txtNumber->setMaxLength(ColumnLength::BarCode);
    for (auto *code : {txtStockNumber, txtSPNumber, txtAuxPropName})
        code->setMaxLength(ColumnLength::Code);
    txtBatchNo->setMaxLength(ColumnLength::BatchNo);
    txtMtoNo->setMaxLength(ColumnLength::MtoNo);
    txtNote->setMaxLength(ColumnLength::Note);
    for (auto *display : {txtName, txtModel}) {
        display->setEnabled(false);
        display->setLocked(true);
        setLook(*display, infoBackground());
    }
    txtMtoNo->setEnabled(false);
    setLook(*txtMtoNo, infoBackground());
    txtUnitName->setLocked(true);
    setLook(*txtUnitName, kWhite);
    txtSecUnitName->setLocked(true);
    setLook(*txtSecUnitName, kLightYellow);
    cmdSecUnit->setVisible(false);
    txtStockName->setEnabled(false);
    setLook(*txtStockName, infoBackground());
    txtSPName->setEnabled(false);
    setLook(*txtSPName, kLightYellow);
    txtBatchNo->setLocked(true);
    setLook(*txtBatchNo, infoBackground());
    cmdBatchNo->setEnabled(false);
}

void frmAddItem::placeControls(bool planTracking)
{
    auto row = [](int column, int index, QWidget *labelWidget, QWidget *control,
                  QWidget *button = nullptr) {
        const int top = kTop + index * kRowHeight;
        auto *l = dynamic_cast<host::ui::TwipsGeometry *>(labelWidget);
        l->Move(column, top, kLabelWidth, kBoxHeight);
        const int boxLeft = column + kLabelWidth + 90;
        if (auto *c = dynamic_cast<host::ui::TwipsGeometry *>(control))
            c->Move(boxLeft, top, kBoxWidth, kBoxHeight);
        if (auto *b = dynamic_cast<host::ui::TwipsGeometry *>(button))
            b->Move(boxLeft + kBoxWidth + 30, top, kButtonWidth, kBoxHeight);
    };
    // Without plan-tracking numbers the unit rows move up into the plan-tracking row.
    const int shift = planTracking ? 0 : 1;
    row(kLeftColumn, 0, Label4, txtNumber, cmdItem);
    row(kLeftColumn, 1, Label1, txtName);
    row(kLeftColumn, 2, Label2, txtModel);
    row(kLeftColumn, 3, lblMTO, txtMtoNo);
    row(kLeftColumn, 4 - shift, Label3, txtUnitName);
    row(kLeftColumn, 5 - shift, Label16, txtSecUnitName, cmdSecUnit);
    row(kLeftColumn, 6 - shift, Label15, picSecQty);
    row(kLeftColumn, 7 - shift, Label12, picAdjQty);
    row(kLeftColumn, 8 - shift, Label11, txtAuxPropName, cmdAuxProp);
    row(kRightColumn, 0, Label13, txtStockNumber, cmdStockNumber);
    row(kRightColumn, 1, Label14, txtStockName);
    row(kRightColumn, 2, Label7, txtSPNumber, cmdSPNumber);
    row(kRightColumn, 3, Label10, txtSPName);
    row(kRightColumn, 4, Label8, dtpKFDate);
    row(kRightColumn, 5, Label9, picKFPeriod);
    row(kRightColumn, 6, Label5, txtBatchNo, cmdBatchNo);
    row(kRightColumn, 7, Label6, txtNote);
    row(kRightColumn, 8, lblQty, picQty);
    for (auto *grid : {grdSecQty, grdAdjQty, grdKFPeriod, grdQty}) {
        grid->Move(0, 0, kBoxWidth, kBoxHeight);
        grid->setColWidth(1, kBoxWidth - 30);
        grid->verticalHeader()->setDefaultSectionSize(grid->height() - 2);
    }
    const int buttonsTop = kTop + 9 * kRowHeight + 150;
    const int right = kRightColumn + kLabelWidth + 90 + kBoxWidth + kButtonWidth + 30;
    cmdCancel->Move(right - 1300, buttonsTop, 1300, 400);
    cmdOk->Move(right - 2700, buttonsTop, 1300, 400);
    cmdADD->Move(right - 4100, buttonsTop, 1300, 400);
    client()->setFixedSize(cmdCancel->x() + cmdCancel->width() + 12,
                           cmdCancel->y() + cmdCancel->height() + 12);
    adjustSize();
}

void frmAddItem::wireEvents()
{
    using host::ui::CommandButton;
    using host::ui::TextBox;
    auto click = [this](CommandButton *button, void (frmAddItem::*handler)()) {
        connect(button, &CommandButton::Click, this,
                [this, handler] { guard([&] { (this->*handler)(); }); });
    };
    click(cmdADD, &frmAddItem::cmdADD_Click);
    click(cmdOk, &frmAddItem::cmdOK_Click);
    click(cmdCancel, &frmAddItem::cmdCancel_Click);
    auto keys = [this](TextBox *box, void (frmAddItem::*handler)(int &, int)) {
        connect(box, &TextBox::KeyDown, this, [this, handler](int &keyCode, int shift) {
            guard([&] { (this->*handler)(keyCode, shift); });
        });
    };
    keys(txtNumber, &frmAddItem::txtNumber_KeyDown);
    keys(txtUnitName, &frmAddItem::txtUnitName_KeyDown);
    keys(txtStockNumber, &frmAddItem::txtStockNumber_KeyDown);
    keys(txtSPNumber, &frmAddItem::txtSPNumber_KeyDown);
    keys(txtBatchNo, &frmAddItem::txtBatchNo_KeyDown);
    keys(txtAuxPropName, &frmAddItem::txtAuxPropName_KeyDown);
    // Each button opens the lookup of its box as F7 there would.
    auto lookupButton = [this](CommandButton *button, void (frmAddItem::*handler)(int &, int)) {
        connect(button, &CommandButton::Click, this, [this, handler] {
            guard([&] {
                int keyCode = host::ui::KeyCode::F7;
                (this->*handler)(keyCode, 0);
            });
        });
    };
    lookupButton(cmdItem, &frmAddItem::txtNumber_KeyDown);
    lookupButton(cmdStockNumber, &frmAddItem::txtStockNumber_KeyDown);
    lookupButton(cmdSPNumber, &frmAddItem::txtSPNumber_KeyDown);
    lookupButton(cmdBatchNo, &frmAddItem::txtBatchNo_KeyDown);
    lookupButton(cmdAuxProp, &frmAddItem::txtAuxPropName_KeyDown);
    auto validate = [this](TextBox *box, void (frmAddItem::*handler)(bool &)) {
        connect(box, &TextBox::Validate, this,
                [this, handler](bool &cancel) { guard([&] { (this->*handler)(cancel); }); });
    };
    validate(txtNumber, &frmAddItem::txtNumber_Validate);
    validate(txtStockNumber, &frmAddItem::txtStockNumber_Validate);
    validate(txtSPNumber, &frmAddItem::txtSPNumber_Validate);
    validate(txtAuxPropName, &frmAddItem::txtAuxPropName_Validate);
    const std::pair<host::ui::SpreadGrid *, host::ui::Label *> cells[] = {
        {grdSecQty, Label15}, {grdAdjQty, Label12}, {grdKFPeriod, Label9}, {grdQty, lblQty}};
    for (const auto &cell : cells) {
        host::ui::Label *const label = cell.second;
        connect(cell.first, &host::ui::SpreadGrid::EditError, this,
                [this, label](int, int, const host::ui::CellRefusal &refusal) {
                    tellRefusal(*label, refusal);
                });
    }
    // The picture boxes around the quantity cells pass the focus on.
    connect(picQty, &host::ui::PictureBox::GotFocus, this, [this] { focusNextChild(); });
    connect(picKFPeriod, &host::ui::PictureBox::Click, this, [this] { focusNextChild(); });
    connect(txtUnitName, &TextBox::KeyPress, this,
            [this](int &keyAscii) { txtUnitName_KeyPress(keyAscii); });
    connect(txtAuxPropName, &TextBox::GotFocus, this, [this] { txtAuxPropName_GotFocus(); });
    connect(txtAuxPropName, &TextBox::LostFocus, this, [this] { txtAuxPropName_LostFocus(); });
}

void frmAddItem::InitCaptions()
{
    tryStep([this] { MParse::SetFormFont(*this); });
    tryStep([this] {
        setCaption(langText("添加"));
        cmdADD->setCaption(langText("添加(&A)"));
        cmdOk->setCaption(langText("确定(&O)"));
        cmdCancel->setCaption(langText("退出(&E)"));
        const std::pair<host::ui::Label *, const char *> labels[] = {
            {Label4, "物料代码:"},    {Label1, "物料名称:"},      {Label2, "规格型号:"},
            {lblMTO, "计划跟踪号:"},  {Label3, "计量单位:"},      {Label16, "单位(辅助):"},
            {Label15, "数量(辅助):"}, {Label12, "调整数量:"},     {Label11, "辅助属性:"},
            {Label13, "仓库代码:"},   {Label14, "仓库名称:"},     {Label7, "仓位代码:"},
            {Label10, "仓位名称:"},   {Label8, "生产/采购日期:"}, {Label9, "保 质 期:"},
            {Label5, "批    次:"},    {Label6, "备    注:"},      {lblQty, "盘点数量:"}};
        for (const auto &[label, caption] : labels)
            label->setCaption(langText(caption));
    });
    if (module().gMtoPlanMode == 0) {
        tryStep([this] {
            lblMTO->setVisible(false);
            txtMtoNo->setVisible(false);
            placeControls(false);
        });
    }
}

void frmAddItem::Form_Load()
{
    setKeyPreview(true);
    InitCaptions();
    m_InItemLookup = false;
    tryStep([this] {
        std::shared_ptr<host::Dictionary> resources;
        MParse::LoadFormResStrings(*this, resources, "ZARVOINDUSTRY");
    });
    const host::DateParts day = host::splitDate(PubVariant::GetServerDate());
    dtpKFDate->setValue(QDate(day.year, day.month, day.day));
    for (auto *grid : {grdQty, grdKFPeriod, grdAdjQty, grdSecQty})
        setCellValue(*grid, 0);
}

void frmAddItem::Form_KeyDown(int &KeyCode, int Shift)
{
    if (showHelpAfterKey(*this, KeyCode, "ICStockCheckAddItem", 0)) {
        KeyCode = 0;
        return;
    }
    constexpr int kShift = 1;
    if (KeyCode == host::ui::KeyCode::Tab && (Shift & ~kShift) == 0) {
        KeyCode = 0;
        moveOn((Shift & kShift) == 0, false);
        return;
    }
    // Enter moves on like Tab from a box, a quantity cell or the date, and past the lookup
    // buttons beside the boxes too: F7 does their work.
    if (KeyCode == host::ui::KeyCode::Return && entryOf(QApplication::focusWidget())) {
        KeyCode = 0;
        moveOn(true, true);
    }
}

QWidget *frmAddItem::entryOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<host::ui::TextBox *>(w) || qobject_cast<host::ui::SpreadGrid *>(w) ||
            qobject_cast<host::ui::DatePicker *>(w))
            return w;
    }
    return nullptr;
}

bool frmAddItem::takesEntry(QWidget &widget, bool pastLookupButtons) const
{
    // The unit box takes no typing but its lookup picks the unit.
    if (auto *box = qobject_cast<host::ui::TextBox *>(&widget))
        return !box->Locked() || box == txtUnitName;
    if (auto *grid = qobject_cast<host::ui::SpreadGrid *>(&widget))
        return grid->spreadModel().isEditable(1, 1);
    const std::array<const QWidget *, 6> lookupButtons{cmdItem,        cmdSecUnit,  cmdAuxProp,
                                                       cmdStockNumber, cmdSPNumber, cmdBatchNo};
    return !pastLookupButtons ||
           std::find(lookupButtons.begin(), lookupButtons.end(), &widget) == lookupButtons.end();
}

void frmAddItem::moveOn(bool forward, bool pastLookupButtons)
{
    // An open cell editor ends first, so that the cell keeps what was typed and the focus
    // leaves from the cell; a text the cell refuses keeps the user in it.
    QWidget *from = entryOf(QApplication::focusWidget());
    if (auto *edit = dynamic_cast<host::ui::PendingEdit *>(from); edit && !edit->endEdit())
        return;
    if (from)
        from->setFocus(Qt::OtherFocusReason);
    // Boxes the item does not use are locked and passed over, as Qt passes over disabled ones;
    // the walk ends after it has been round the window's controls.
    for (int step = 0; step < kControls; ++step) {
        QWidget *before = QApplication::focusWidget();
        focusNextPrevChild(forward);
        QWidget *now = QApplication::focusWidget();
        if (!now || now == before || takesEntry(*now, pastLookupButtons))
            return;
    }
}

void frmAddItem::Form_KeyPress(int &KeyAscii)
{
    if (KeyAscii == '"' || KeyAscii == '\'')
        KeyAscii = 0;
}

void frmAddItem::cmdCancel_Click()
{
    Unload();
}

void frmAddItem::setLook(host::ui::TextBox &box, long color)
{
    box.setBackColor(color);
}

void frmAddItem::setCellLook(host::ui::SpreadGrid &grid, long color)
{
    grid.setCol(1);
    grid.setRow(1);
    grid.setBackColor(color);
}

host::Variant frmAddItem::cellValue(host::ui::SpreadGrid &grid) const
{
    grid.setCol(1);
    grid.setRow(1);
    return grid.Value().toStdString();
}

void frmAddItem::setCellValue(host::ui::SpreadGrid &grid, double value)
{
    grid.setCol(1);
    grid.setRow(1);
    grid.setValue(QString::number(value));
}

void frmAddItem::setCellLocked(host::ui::SpreadGrid &grid, bool locked)
{
    grid.setCol(1);
    grid.setRow(1);
    grid.setLock(locked);
}

QString frmAddItem::codeOf(const host::Variant &number, const host::Variant &shortNumber) const
{
    const host::Variant &code = module().gUseShortNumber ? number : shortNumber;
    return code.isNull() ? QString() : QString::fromStdString(host::CStr(code));
}

void frmAddItem::clearAuxProp()
{
    txtAuxPropName->clear();
    m_AuxPropNumber.clear();
    m_AuxPropName.clear();
    m_AuxPropID = 0;
}

void frmAddItem::clearItem(bool emptyCode)
{
    if (emptyCode)
        txtNumber->clear();
    txtModel->clear();
    txtName->clear();
    txtUnitName->clear();
    clearAuxProp();
    m_ItemID = 0;
}

bool frmAddItem::CheckAppend(bool &Cancel)
{
    if (host::Trim(txtNumber->Text().toStdString()).empty()) {
        clearItem(false);
        setLook(*txtMtoNo, infoBackground());
        txtMtoNo->clear();
        txtMtoNo->setEnabled(false);
        return false;
    }
    const auto rs = PubVariant::GetItemRS(txtNumber->Text().toStdString(), m_PreItemID);
    if (!rs || rs->RecordCount() == 0) {
        if (PubVariant::MsgBox(
                MParse::LoadLangString("物料代码在基础资料中不存在或被禁用，是否重新输入?"),
                PubVariant::vbYesNo) == PubVariant::vbYes) {
            Cancel = true;
            txtNumber->setSelStart(0);
            txtNumber->setSelLength(static_cast<int>(txtNumber->Text().size()));
        } else {
            clearItem(true);
        }
        return false;
    }
    rs->MoveFirst();
    const long previousItem = m_ItemID;
    m_PreItemID = previousItem;
    setUpItem([&rs](const char *name) { return rs->Fields(name).Value(); }, previousItem);
    return true;
}

void frmAddItem::setUpItem(const ItemField &field, long previousItem)
{
    m_ItemID = host::CLng(field("FItemID"));
    txtNumber->setText(codeOf(field("FNumber"), field("FShortNumber")));
    txtName->setText(QString::fromStdString(host::CStr(field("FName"))));
    const host::Variant model = field("FModel");
    txtModel->setText(model.isNull() ? QString() : QString::fromStdString(host::CStr(model)));

    // The line is counted in the item's store unit.
    m_StoreUnitID = host::CLng(field("FStoreUnitID"));
    m_UnitID = m_StoreUnitID;
    txtUnitName->setText(QString::fromStdString(
        PubVariant::GetUnitInfo(std::to_string(m_UnitID), m_UnitGroupID, m_Coefficient, true)));

    // The counted quantities take two decimals more than the item keeps, the adjustment as
    // many as the entry grid's. What was typed stays while the item does: leaving the code box
    // again sets the same item up anew.
    const bool otherItem = m_ItemID != previousItem;
    const int decimals = static_cast<int>(numberOf(field("FQtyDecimal")));
    for (auto *grid : {grdQty, grdSecQty, grdAdjQty}) {
        grid->setCol(1);
        grid->setRow(1);
        grid->setTypeFloatDecimalPlaces(grid == grdAdjQty ? decimals : decimals + 2);
        if (otherItem && grid != grdAdjQty)
            setCellValue(*grid, 0);
    }

    m_BatchManager = host::CBool(field("FBatchManager"));
    txtBatchNo->setLocked(!m_BatchManager);
    cmdBatchNo->setEnabled(m_BatchManager);
    setLook(*txtBatchNo, m_BatchManager ? kWhite : infoBackground());
    if (!m_BatchManager)
        txtBatchNo->clear();

    m_IsKFPeriod = host::CBool(field("FISKFPeriod"));
    dtpKFDate->setEnabled(m_IsKFPeriod);
    grdKFPeriod->setEnabled(m_IsKFPeriod);
    setCellLook(*grdKFPeriod, m_IsKFPeriod ? kWhite : infoBackground());
    if (otherItem || !m_IsKFPeriod)
        setCellValue(*grdKFPeriod, m_IsKFPeriod ? numberOf(field("FKFPeriod")) : 0);

    const bool auxProps = numberOf(field("FAuxClassID")) > 0;
    txtAuxPropName->setLocked(!auxProps);
    setLook(*txtAuxPropName, auxProps ? windowBackground() : infoBackground());
    cmdAuxProp->setEnabled(auxProps);
    // An auxiliary property never stays with another item.
    if (!auxProps || otherItem)
        clearAuxProp();

    m_SecUnitID = host::CLng(field("FSecUnitID"));
    long secGroup = 0;
    double secCoefficient = 0;
    txtSecUnitName->setText(QString::fromStdString(
        PubVariant::GetUnitInfo(std::to_string(m_SecUnitID), secGroup, secCoefficient, false)));
    // The cell looks as locked as it is, however the item was found.
    setCellLocked(*grdSecQty, m_SecUnitID < 1);
    setCellLook(*grdSecQty, m_SecUnitID < 1 ? infoBackground() : windowBackground());

    const bool serialNumbers = host::CBool(field("FISSNManage"));
    const bool noMto = serialNumbers || host::Trim(txtNumber->Text().toStdString()).empty();
    setLook(*txtMtoNo, noMto ? infoBackground() : kWhite);
    if (noMto)
        txtMtoNo->clear();
    txtMtoNo->setEnabled(!noMto);
}

void frmAddItem::tellRefusal(const host::ui::Label &label, const host::ui::CellRefusal &refusal)
{
    // The cell's editor keeps the text. The message waits until the key or the click that
    // ended the edit is through; one message says it for every end of the same edit meanwhile,
    // and none when the edit ended because the window closed.
    if (std::exchange(m_refusalTold, true))
        return;
    QString caption = label.Caption().trimmed();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    const std::string text = refusalText(caption.trimmed(), refusal).toStdString();
    QTimer::singleShot(0, this, [this, text] {
        m_refusalTold = false;
        if (isVisible())
            guard([&] { PubVariant::MsgBox(text, PubVariant::vbOKOnly); });
    });
}

void frmAddItem::refuse(std::string_view message, long icon, QWidget &focus)
{
    PubVariant::MsgBox(MParse::LoadLangString(message), PubVariant::vbOKOnly | icon);
    focus.setFocus();
}

bool frmAddItem::AppendItem()
{
    using PubVariant::vbInformation;
    if (m_ItemID == 0) {
        refuse("必须输入物料！", vbInformation, *txtNumber);
        return false;
    }
    if (m_UnitID == 0) {
        refuse("计量单位不存在，请输入！", vbInformation, *txtUnitName);
        return false;
    }
    if (m_BatchManager && host::Trim(txtBatchNo->Text().toStdString()).empty()) {
        refuse("此项物料采用批次管理请输入批次！", 0, *txtBatchNo);
        return false;
    }
    if (m_StockID == 0) {
        refuse("仓库不存在，请输入！", 0, *txtStockNumber);
        return false;
    }
    if (m_IsStockMgr && m_SPID == 0) {
        refuse("此仓库采用仓位管理请输入仓位！", 0, *txtSPNumber);
        return false;
    }
    // Blank or non-numeric cells count by their leading number.
    const double period = host::Val(cellValue(*grdKFPeriod));
    if (m_IsKFPeriod && period == 0) {
        refuse("此项物料采用保质期管理请输入保质期信息！", 0, *grdKFPeriod);
        return false;
    }
    const long kfPeriod = std::lround(period);
    const QDate kfDate = dtpKFDate->Value();
    if (txtAuxPropName->Locked()) {
        m_AuxPropID = 0;
        m_AuxPropNumber.clear();
        m_AuxPropName.clear();
    } else if (m_AuxPropID < 1) {
        refuse("此项物料采辅助属性管理请输入辅助属性！", 0, *txtAuxPropName);
        return false;
    }
    const std::string kfDateText =
        kfPeriod == 0 ? std::string() : kfDate.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    return PubVariant::SaveAddItem(
        m_ItemID, m_UnitID, m_StockID, host::Trim(txtBatchNo->Text().toStdString()),
        host::Trim(txtMtoNo->Text().toStdString()), cellValue(*grdQty),
        host::Trim(txtNote->Text().toStdString()), m_SPID, kfDateText, kfPeriod, m_Coefficient,
        m_AuxPropID, host::Val(cellValue(*grdAdjQty)), m_SecUnitID,
        host::Val(cellValue(*grdSecQty)));
}

void frmAddItem::cmdOK_Click()
{
    if (AppendItem())
        Unload();
}

void frmAddItem::cmdADD_Click()
{
    if (!AppendItem())
        return;
    // The next line goes to the same stock and stock place unless others are entered.
    for (auto *box : {txtNumber, txtModel, txtName, txtUnitName, txtMtoNo, txtSPNumber, txtSPName,
                      txtNote, txtStockNumber, txtStockName, txtAuxPropName, txtSecUnitName})
        box->clear();
    txtBatchNo->setLocked(true);
    setLook(*txtBatchNo, infoBackground());
    txtBatchNo->clear();
    cmdBatchNo->setEnabled(false);
    for (auto *grid : {grdQty, grdKFPeriod, grdAdjQty, grdSecQty})
        setCellValue(*grid, 0);
    m_ItemID = 0;
    m_PreItemID = 0;
    clearAuxProp();
}
