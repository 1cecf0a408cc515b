#include "samplewindow.h"

#include "host/ui/form/keycodes.h"
#include "host/ui/ledger/uihelper.h"
#include "host/ui/modal/modalservices.h"
#include "host/ui/spread/celltype.h"
#include "host/ui/toolbar/tool.h"

#include <QVBoxLayout>

using namespace host::ui;

namespace {

const QString kTitle = QStringLiteral("Hembrel提示");

} // namespace

SampleWindow::SampleWindow()
{
    setObjectName(QStringLiteral("SampleWindow"));
    resize(900, 600);
    QWidget *area = client();
    barlist = new ToolBarControl(*this);
    tlbRpt = new ButtonBar(this);
    addToolBar(tlbRpt);
    titBar = new TitleBand(area);
    Label1 = new Label(QStringLiteral("盘点方案:"), titBar);
    Label1->setAutoSize(true);
    lstStock = new ComboBoxControl(titBar);
    sstView = new TabControl(area, 3);
    vsCheck = new SpreadGrid(sstView->page(0));
    vsProc = new DataSpreadGrid(sstView->page(1));
    ldgCheck = new LedgerGrid(sstView->page(2));
    for (QWidget *grid : {static_cast<QWidget *>(vsCheck), static_cast<QWidget *>(vsProc),
                          static_cast<QWidget *>(ldgCheck)}) {
        auto *layout = new QVBoxLayout(grid->parentWidget());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(grid);
    }
    picSide = new PictureBox(area);
    fraOptions = new Frame(QStringLiteral("备份日期:"), picSide);
    optCurStock = new OptionButton(QStringLiteral("即时库存"), fraOptions);
    OptCutDate = new OptionButton(QStringLiteral("截止日期:"), fraOptions);
    dtpDate = new DatePicker(fraOptions);
    chkShowClosed = new CheckBoxControl(QStringLiteral("显示已关闭的盘点方案"), picSide);
    txtNumber = new TextBox(picSide);
    StockList = new ListBox(picSide);
    cmdAction = new CommandButtonArray(this);
    cmdOK = new CommandButton(QStringLiteral("确定(&O)"), picSide);
    staBar = new StatusBarControl(area, 3);
    Timer1 = new TimerControl(this);
    buildToolBar();
    connectHandlers();
}

void SampleWindow::buildToolBar()
{
    barlist->AddTool(20000, QStringLiteral("New"), QStringLiteral("新建"));
    barlist->AddTool(20003, QStringLiteral("Save"), QStringLiteral("保存"));
    barlist->AddTool(2, QStringLiteral("Exit"), QStringLiteral("退出"));
    barlist->AddTool(20004, QStringLiteral("Edit"), QStringLiteral("编辑"))
        .setSubBand(QStringLiteral("PopupBand1"));
    ToolBand &menu = barlist->AddBand(QStringLiteral("MnuBand1"), ToolBand::MenuBar);
    ToolBand &popup = barlist->AddBand(QStringLiteral("PopupBand1"), ToolBand::Popup);
    ToolBand &band = barlist->AddBand(QStringLiteral("Band1"), ToolBand::Normal);
    barlist->placeTool(menu, QStringLiteral("Edit"));
    for (const char *key : {"New", "Save", "", "Exit"}) {
        barlist->placeTool(popup, QString::fromLatin1(key));
        barlist->placeTool(band, QString::fromLatin1(key));
    }
    barlist->Tools(QStringLiteral("Exit")).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    barlist->RecalcLayout();
    for (const char *key : {"", "Calulate", "", "Exit"})
        tlbRpt->AddButton(QString::fromLatin1(key));
    tlbRpt->Buttons(2).setCaption(QStringLiteral("计算"));
    tlbRpt->Buttons(2).setToolTipText(QStringLiteral("计算实存数量"));
    tlbRpt->Buttons(4).setCaption(QStringLiteral("退出"));
}

void SampleWindow::buildEntryGrid()
{
    vsCheck->setReDraw(false);
    vsCheck->setMaxCols(EntryCols);
    vsCheck->setMaxRows(EntryRows);
    const QStringList headers = {QStringLiteral("物料代码"), QStringLiteral("仓位"),
                                 QStringLiteral("盘点数量"), QStringLiteral("FItemID")};
    for (int col = 1; col <= EntryCols; ++col)
        vsCheck->SetText(col, 0, headers.at(col - 1));
    vsCheck->setColWidth(0, 0);
    vsCheck->setCol(1);
    vsCheck->setRow(-1);
    vsCheck->setLock(true);
    vsCheck->setBackColor(0xD8FFFF);
    vsCheck->setCol(2);
    vsCheck->setCellType(CellType::ComboBox);
    vsCheck->setTypeComboBoxList(QStringLiteral("\t一号仓位\t二号仓位"));
    vsCheck->setCol(3);
    vsCheck->setCellType(CellType::Float);
    vsCheck->setTypeFloatDecimalPlaces(2);
    vsCheck->setTypeFloatSeparator(true);
    vsCheck->setTypeFloatMin(0);
    vsCheck->setCol(4);
    vsCheck->setColHidden(true);
    for (int row = 1; row <= EntryRows; ++row) {
        vsCheck->SetText(1, row, QStringLiteral("01.%1").arg(row, 3, 10, QLatin1Char('0')));
        vsCheck->SetText(3, row, QString::number(1234.5678 * row, 'f', 4));
        vsCheck->SetText(4, row, QString::number(100 + row));
    }
    vsCheck->setReDraw(true);
}

void SampleWindow::buildProcessGrid()
{
    vsProc->setMaxCols(3);
    vsProc->setMaxRows(3);
    vsProc->setRow(0);
    vsProc->setRow2(0);
    vsProc->setCol(1);
    vsProc->setCol2(3);
    vsProc->setBlockMode(true);
    vsProc->setClip(QStringLiteral("顺序号\t盘点方案名称\t备注"));
    vsProc->setBlockMode(false);
    const QStringList rows = {QStringLiteral("1\tPD-003\t月末"), QStringLiteral("2\tPD-001\t"),
                              QStringLiteral("3\tPD-002\t年中")};
    for (int row = 1; row <= 3; ++row) {
        vsProc->setRow(row);
        vsProc->setRow2(row);
        vsProc->setBlockMode(true);
        vsProc->setClip(rows.at(row - 1));
        vsProc->setBlockMode(false);
    }
}

void SampleWindow::connectHandlers()
{
    connect(vsCheck, &SpreadGrid::Change, this, [this](int col, int row) {
        log << QStringLiteral("vsCheck_Change %1 %2").arg(col).arg(row);
    });
    connect(vsCheck, &SpreadGrid::ComboSelChange, this, [this](int col, int row) {
        log << QStringLiteral("vsCheck_ComboSelChange %1 %2").arg(col).arg(row);
    });
    connect(vsProc, &DataSpreadGrid::CellEdited, this, [this](int col, int row) {
        modified = true;
        log << QStringLiteral("vsProc_CellEdited %1 %2").arg(col).arg(row);
    });
    connect(vsProc, &SpreadGrid::Click, this, [this](int col, int row) {
        if (row != 0)
            return;
        vsProc->setSortKey(1, col);
        vsProc->setSortKeyOrder(1, vsProc->SortKeyOrder(1) == 1 ? 2 : 1);
        vsProc->Sort(-1, -1, -1, -1);
    });
    connect(ldgCheck, &LedgerGrid::FetchRow, this, &SampleWindow::ldgCheck_FetchRow);
    connect(ldgCheck, &LedgerGrid::SortColumn, this, [this] {
        log << QStringLiteral("ldgCheck_SortColumn %1").arg(ldgCheck->Face().Col());
    });
    connect(optCurStock, &OptionButton::Click, this, [this] { dtpDate->setEnabled(false); });
    connect(OptCutDate, &OptionButton::Click, this, [this] { dtpDate->setEnabled(true); });
    connect(lstStock, &ComboBoxControl::Click, this,
            [this] { log << QStringLiteral("lstStock_Click %1").arg(lstStock->ListIndex()); });
    connect(StockList, &ListBox::Click, this,
            [this] { log << QStringLiteral("StockList_Click %1").arg(StockList->ListIndex()); });
    connect(txtNumber, &TextBox::Validate, this, [this](bool &cancel) {
        cancel = txtNumber->Text() == QStringLiteral("bad");
        log << QStringLiteral("txtNumber_Validate %1").arg(cancel);
    });
    connect(cmdAction, &CommandButtonArray::Click, this,
            [this](int index) { log << QStringLiteral("cmdAction_Click %1").arg(index); });
    connect(cmdOK, &CommandButton::Click, this, [this] {
        guard([this] {
            MsgBox(QStringLiteral("备份完成"), Msg::Information, kTitle);
            staBar->Panels(1).setText(QStringLiteral("就绪"));
        });
    });
    connect(barlist, &ToolBarControl::ToolClick, this, [this](Tool *tool) {
        log << QStringLiteral("barlist_ToolClick ") + tool->Name();
        if (tool->Name().compare(QStringLiteral("Exit"), Qt::CaseInsensitive) == 0)
            Unload();
    });
    connect(tlbRpt, &ButtonBar::ButtonClick, this, [this](int index, const QString &key) {
        log << QStringLiteral("tlbRpt_ButtonClick %1 %2").arg(index).arg(key);
    });
    connect(barlist, &ToolBarControl::CancelDefault, this, [](bool &cancel) { cancel = true; });
    connect(Timer1, &TimerControl::Timer, this, [this] { Unload(); });
}

void SampleWindow::Form_Load()
{
    ++loads;
    setKeyPreview(true);
    setCaption(QStringLiteral("物料盘点表"));
    titBar->setCaption(QStringLiteral("物料盘点表"));
    Label1->Move(120, 540, 0, 0);
    Label1->setAutoSize(true);
    lstStock->Move(Label1->Left() + Label1->Width() + 120, 480, 2400, 330);
    for (const char *name : {"PD-001", "PD-002", "PD-003"})
        lstStock->AddItem(QString::fromLatin1(name));
    sstView->setTabCaption(0, QStringLiteral("录入"));
    sstView->setTabCaption(1, QStringLiteral("盘点进程"));
    sstView->setTabCaption(2, QStringLiteral("物料盘点表"));
    buildEntryGrid();
    buildProcessGrid();
    ldgCheck->Face().setCols(3);
    ldgCheck->Face().setFixedRows(2);
    ldgCheck->Face().setRows(LedgerRecords + 2);
    ldgCheck->Col(3).setStyle(1);
    optCurStock->setValue(true);
    for (const char *name : {"一号仓", "二号仓", "原材料仓"}) {
        StockList->AddItem(QString::fromUtf8(name));
        StockList->setItemData(StockList->NewIndex(), StockList->NewIndex() + 10);
    }
    StockList->setMultiSelect(1);
    cmdAction->Load(0, picSide, QStringLiteral("添加"));
    cmdAction->Load(1, picSide, QStringLiteral("删除"));
    staBar->Panels(1).setText(QStringLiteral("就绪"));
    staBar->setPanelWidth(1, 1500);
}

void SampleWindow::Form_Activate()
{
    ++activations;
}

void SampleWindow::Form_Resize()
{
    const int inner = ScaleWidth();
    const int top = titBar->Height();
    const int height = ScaleHeight() - top - staBar->Height();
    const int side = 3600;
    sstView->Move(0, top, inner - side, height);
    picSide->Move(inner - side, top, side, height);
    fraOptions->Move(60, 60, side - 120, 1500);
    optCurStock->Move(120, 300, 1500, 300);
    OptCutDate->Move(120, 700, 1500, 300);
    dtpDate->Move(1700, 700, 1500, 300);
    chkShowClosed->Move(60, 1700, side - 120, 300);
    txtNumber->Move(60, 2100, side - 120, 330);
    StockList->Move(60, 2550, side - 120, 1500);
    (*cmdAction)(0).Move(60, 4200, 1100, 360);
    (*cmdAction)(1).Move(1250, 4200, 1100, 360);
    cmdOK->Move(2440, 4200, 1100, 360);
}

void SampleWindow::Form_Unload(bool &Cancel)
{
    ++unloads;
    if (!modified)
        return;
    const long answer =
        MsgBox(QStringLiteral("盘点数据已经修改，是否保存？"), Msg::YesNoCancel, kTitle);
    Cancel = answer == Msg::Cancel;
}

void SampleWindow::Form_KeyDown(int &KeyCode, int Shift)
{
    if (KeyCode == host::ui::KeyCode::F1)
        log << QStringLiteral("Form_KeyDown F1");
    barlist->OnKeyDown(KeyCode, Shift);
}

void SampleWindow::Form_KeyPress(int &KeyAscii)
{
    if (KeyAscii == '"' || KeyAscii == '\'')
        KeyAscii = 0;
}

void SampleWindow::ldgCheck_FetchRow(int Row, QString &Text, long &BackColor)
{
    log << QStringLiteral("ldgCheck_FetchRow %1").arg(Row);
    if (Row == 1) {
        Text = UIHelper::titleRow(*ldgCheck, Row,
                                  QStringLiteral("物料代码$|数量$账存数量$|数量$盘点数量$|"));
        return;
    }
    if (Row == 2)
        return;
    const int record = Row - 2;
    Text = QStringLiteral("01.%1|%2|%3|")
               .arg(record, 3, 10, QLatin1Char('0'))
               .arg(record * 10)
               .arg(record * 10 + 1);
    if (record % 10 == 0)
        BackColor = 0xFFEEE8;
}
