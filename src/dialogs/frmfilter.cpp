#include "dialogs/frmfilter.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "dialogs/baselookupvalue.h"
#include "dialogs/filtertext.h"
#include "dialogs/refusaltext.h"
#include "host/core/dictionary.h"
#include "host/core/variant.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/tabcontrol.h"
#include "host/ui/form/keycodes.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/keyhelp.h"
#include "services/langtext.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

using host::ui::CellType;
using host::ui::SpreadGrid;

constexpr int kTwipsPerChar = 180;
constexpr int kFilterCols = 7;
constexpr int kSortCols = 4;

QString listOf(std::initializer_list<std::string_view> items)
{
    QString list;
    for (const std::string_view item : items)
        list += QLatin1Char('\t') + langText(item);
    return list;
}

void setColumn(SpreadGrid &grid, int col, const QString &heading, int widthChars)
{
    grid.SetText(col, 0, heading);
    grid.setColWidth(col, widthChars * kTwipsPerChar);
}

void hideColumns(SpreadGrid &grid, int from, int to)
{
    for (int col = from; col <= to; ++col) {
        grid.setCol(col);
        grid.setColHidden(true);
    }
}

void comboColumn(SpreadGrid &grid, int col, const QString &list)
{
    grid.setBlockMode(false);
    grid.setRow(-1);
    grid.setCol(col);
    grid.setCellType(CellType::ComboBox);
    grid.setTypeComboBoxList(list);
}

// The value cell goes into edit mode as soon as it is entered.
void startEditing(SpreadGrid &grid, int col, int row)
{
    static_cast<QAbstractItemView &>(grid).edit(grid.model()->index(row - 1, col - 1));
}

} // namespace

frmFilter::frmFilter(QWidget *parent)
    : Form(parent), SSTab1(new host::ui::TabControl(client(), 2)), vsFilter(new SpreadGrid),
      vsSortBy(new SpreadGrid), cmdOK(new host::ui::CommandButton),
      cmdCancel(new host::ui::CommandButton), lblInfo(new host::ui::Label)
{
    setObjectName(QStringLiteral("frmFilter"));
    for (int tab = 0; tab < 2; ++tab) {
        auto *page = new QVBoxLayout(SSTab1->page(tab));
        page->addWidget(tab == 0 ? vsFilter : vsSortBy);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblInfo);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(client());
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
    resize(560, 340);
    closeOnEscape(cmdCancel);

    connect(cmdOK, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdOK_Click(); }); });
    connect(cmdCancel, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdCancel_Click(); }); });
    connect(SSTab1, &QTabWidget::currentChanged, this,
            [this](int) { guard([this] { showHint(); }); });
    connect(vsFilter, &SpreadGrid::Change, this, [this](int, int) {
        guard([this] {
            showHint();
            CheckRowEnd(*vsFilter, 4, mFilterRows);
        });
    });
    // A number field's value cell takes numbers only: its editor stays open and OK waits on
    // it, so the line beside the buttons says why.
    connect(vsFilter, &SpreadGrid::EditError, this,
            [this](int col, int, const host::ui::CellRefusal &refusal) {
                lblInfo->setCaption(refusalText(vsFilter->GetText(col, 0), refusal));
            });
    connect(vsSortBy, &SpreadGrid::Change, this,
            [this](int, int) { guard([this] { CheckRowEnd(*vsSortBy, 2, mSortRows); }); });
    connect(vsFilter, &SpreadGrid::ComboSelChange, this,
            [this](int col, int row) { guard([=, this] { vsFilter_ComboSelChange(col, row); }); });
    connect(vsSortBy, &SpreadGrid::ComboSelChange, this,
            [this](int col, int row) { guard([=, this] { vsSortBy_ComboSelChange(col, row); }); });
    connect(vsFilter, &SpreadGrid::Click, this,
            [this](int col, int row) { guard([=, this] { vsFilter_Click(col, row); }); });
    connect(vsFilter, &SpreadGrid::LeaveCell, this,
            [this](int col, int, int newCol, int newRow, bool &) {
                if (newCol == 3 && col != 3 && newRow > 0)
                    startEditing(*vsFilter, 3, newRow);
            });
    connect(vsFilter, &SpreadGrid::KeyDown, this, [this](int &keyCode, int shift) {
        guard([&, this] { vsFilter_KeyDown(keyCode, shift); });
    });
}

frmFilter::~frmFilter() = default;

void frmFilter::Form_Load()
{
    setKeyPreview(true);
    InitCaptions();
    SSTab1->setTab(static_cast<int>(mShowOption));
    CountSheetState &state = countSheetState();
    if (!state.gFilterDict)
        state.gFilterDict = std::make_shared<host::Dictionary>();
    state.gFilterDict->SetValue("Filter", std::string());
    state.gFilterDict->SetValue("SortBy", std::string());
    mFilterRows = 0;
    mSortRows = 0;
    // The words the user reads; the statement takes filtertext's by their place in the list.
    mCompareList = listOf({"=", "<>", ">", ">=", "<", "<=", "包含", "不包含"});
    mLogicList = listOf({"并且", "或者"});
    mOrderList = listOf({"升序", "降序"});
    std::shared_ptr<host::Dictionary> none;
    MParse::LoadFormResStrings(*this, none, "ZARVOINDUSTRY");
    module().gUseShortNumber = PubVariant::GetUseShortNumber();
    LoadFieldLists();
    InitGrids();
    // The user starts in the first cell of the tab shown.
    SpreadGrid &grid = mShowOption == 1 ? *vsSortBy : *vsFilter;
    grid.SetActiveCell(1, 1);
    grid.setFocus();
}

void frmFilter::InitCaptions()
{
    setCaption(langText("过滤"));
    SSTab1->setTabCaption(0, langText("过滤条件(&F)"));
    SSTab1->setTabCaption(1, langText("排序(&S)"));
    cmdOK->setCaption(langText("确定(&Y)"));
    cmdCancel->setCaption(langText("取消(&C)"));
    showHint();
    MParse::SetFormFont(*this);
}

void frmFilter::showHint()
{
    // F7 picks a value for a condition; the sort list has none to pick.
    lblInfo->setCaption(SSTab1->Tab() == 0 ? langText("可按[F7]选择比较值") : QString());
}

void frmFilter::LoadFieldLists()
{
    MainDo engine;
    mFieldDict = engine.GetHeadString(mShowType);
    mSortString = QString::fromStdString(host::CStr(mFieldDict->Value("SortString")));
    mFilterString = QString::fromStdString(host::CStr(mFieldDict->Value("FilterString")));
    mFieldDict->SetValue("", std::string("||"));
}

void frmFilter::InitGrids()
{
    vsFilter->setMaxCols(kFilterCols);
    vsFilter->setMaxRows(static_cast<int>(mFilterRows));
    setColumn(*vsFilter, 1, langText("名称"), 10);
    setColumn(*vsFilter, 2, langText("比较"), 7);
    setColumn(*vsFilter, 3, langText("比较值"), 14);
    setColumn(*vsFilter, 4, langText("逻辑"), 5);
    hideColumns(*vsFilter, 5, 7);
    comboColumn(*vsFilter, 1, mFilterString);
    comboColumn(*vsFilter, 2, mCompareList);
    comboColumn(*vsFilter, 4, mLogicList);
    AddFilterRowIfLast();

    vsSortBy->setMaxCols(kSortCols);
    vsSortBy->setMaxRows(static_cast<int>(mSortRows));
    setColumn(*vsSortBy, 1, langText("排序字段"), 14);
    setColumn(*vsSortBy, 2, langText("排序方式"), 10);
    hideColumns(*vsSortBy, 3, 4);
    comboColumn(*vsSortBy, 1, mSortString);
    comboColumn(*vsSortBy, 2, mOrderList);
    AddSortRowIfLast();
}

QString frmFilter::GetGridText(int row, int col, int row2, int col2) const
{
    if (row2 <= 0 && col2 <= 0)
        return vsFilter->GetText(col, row).trimmed();
    QString text;
    for (int r = row; r <= row2; ++r)
        for (int c = col; c <= col2; ++c)
            text += vsFilter->GetText(c, r);
    text.remove(QLatin1Char('\t')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    return text.trimmed();
}

void frmFilter::CheckRowEnd(SpreadGrid &grid, int nCols, long &rows)
{
    const int row = grid.ActiveRow();
    bool filled = true;
    bool blank = true;
    for (int col = 1; col <= nCols; ++col) {
        const bool empty = grid.GetText(col, row).trimmed().isEmpty();
        filled = filled && !empty;
        blank = blank && empty;
    }
    if (filled) {
        if (row == grid.MaxRows()) {
            ++rows;
            grid.setMaxRows(static_cast<int>(rows));
        }
    } else if (grid.MaxRows() >= 2 && blank) {
        --rows;
        grid.setMaxRows(static_cast<int>(rows));
    }
}

void frmFilter::AddFilterRowIfLast()
{
    if (vsFilter->ActiveRow() == vsFilter->MaxRows())
        vsFilter->setMaxRows(static_cast<int>(++mFilterRows));
}

void frmFilter::AddSortRowIfLast()
{
    if (vsSortBy->ActiveRow() == vsSortBy->MaxRows())
        vsSortBy->setMaxRows(static_cast<int>(++mSortRows));
}

QStringList frmFilter::fieldParts(const QString &caption) const
{
    QStringList parts = QString::fromStdString(host::CStr(mFieldDict->Value(caption.toStdString())))
                            .split(QLatin1Char('|'));
    if (parts.size() < 3)
        throw std::runtime_error("Subscript out of range");
    return parts;
}

int frmFilter::comboIndex(SpreadGrid &grid, int col, int row) const
{
    grid.setBlockMode(false);
    grid.setCol(col);
    grid.setRow(row);
    return grid.TypeComboBoxCurSel();
}

void frmFilter::vsFilter_ComboSelChange(int, int Row)
{
    const QStringList parts = fieldParts(vsFilter->GetText(1, Row).trimmed());
    for (int i = 0; i < 3; ++i)
        vsFilter->SetText(5 + i, Row, parts.at(i));
    vsFilter->setBlockMode(false);
    vsFilter->setCol(3);
    vsFilter->setRow(Row);
    if (parts.at(0).isEmpty() && parts.at(2).isEmpty()) {
        if (vsFilter->MaxRows() > 1)
            vsFilter->setCellType(CellType::Edit);
        return;
    }
    switch (parts.at(2).toInt()) {
    case 0:
        vsFilter->setCellType(CellType::Date);
        break;
    case 1:
        vsFilter->setCellType(CellType::Edit);
        break;
    case 2:
        vsFilter->setCellType(CellType::Float);
        vsFilter->setTypeFloatMin(-99999999999999.0);
        vsFilter->setTypeFloatMax(99999999999999.0);
        vsFilter->setTypeFloatDecimalPlaces(10);
        break;
    case 3:
        vsFilter->setCellType(CellType::Integer);
        break;
    default:
        break;
    }
}

void frmFilter::vsSortBy_ComboSelChange(int, int Row)
{
    const int order = comboIndex(*vsSortBy, 2, Row);
    vsSortBy->SetText(4, Row, QString::fromUtf8(filtertext::wordAt(filtertext::orderWords, order)));
    vsSortBy->SetText(3, Row, fieldParts(vsSortBy->GetText(1, Row).trimmed()).at(0));
}

void frmFilter::vsFilter_Click(int Col, int Row)
{
    if (Col != 3 || Row < 1)
        return;
    startEditing(*vsFilter, 3, Row);
    vsFilter->setBlockMode(false);
    vsFilter->setCol(3);
    vsFilter->setRow(Row);
    const CellType type = vsFilter->CellType();
    const QString value = vsFilter->GetText(3, Row).trimmed();
    if (type == CellType::Float || type == CellType::Integer) {
        if (value.isEmpty())
            vsFilter->SetText(3, Row, QStringLiteral("0"));
    } else if (host::IsNumeric(host::Variant(value.toStdString())) &&
               host::Val(value.toStdString()) == 0) {
        vsFilter->SetText(3, Row, QString());
    }
}

void frmFilter::vsFilter_KeyDown(int &KeyCode, int)
{
    if (KeyCode != host::ui::KeyCode::F7)
        return;
    const int row = vsFilter->ActiveRow();
    if (row < 1)
        return;
    runAfterKey([this, row] {
        if (const auto text = lookUpBaseValue(vsFilter->GetText(6, row).trimmed().toLong()))
            vsFilter->SetText(3, row, QString::fromStdString(*text));
    });
}

void frmFilter::showMessage(int tab, const QString &text)
{
    SSTab1->setTab(tab);
    PubVariant::ShowMsg(text.toStdString(), 0);
}

filtertext::Condition frmFilter::conditionAt(int row) const
{
    filtertext::Condition c;
    c.key = GetGridText(row, 5).toStdString();
    c.colType = GetGridText(row, 7).toStdString();
    c.op = filtertext::wordAt(filtertext::compareOperators, comboIndex(*vsFilter, 2, row));
    c.value = GetGridText(row, 3).toStdString();
    c.logic = filtertext::wordAt(filtertext::logicWords, comboIndex(*vsFilter, 4, row));
    return c;
}

bool frmFilter::CheckFilterRows()
{
    QString message;
    const int rows = vsFilter->MaxRows();
    for (int row = 1; row <= rows; ++row) {
        const QString number = QString::number(row);
        const bool named = !GetGridText(row, 1).isEmpty();
        if (!named && !GetGridText(row, 2, row, 4).isEmpty())
            message = formatLangText("第%1行，[名称]列数据不完整！", number);
        else if (named && GetGridText(row, 2).isEmpty())
            message = formatLangText("第%1行，[比较]列数据不完整！", number);
        else if (GetGridText(row, 4).isEmpty() && row < rows &&
                 !GetGridText(row + 1, 1, row + 1, 4).isEmpty())
            message = formatLangText("第%1行，[逻辑]列数据不完整！", number);
        else if (named && !filtertext::comparable(conditionAt(row)))
            message = formatLangText("第%1行，[比较值]列的数字太大，无法比较！", number);
    }
    if (message.isEmpty())
        return true;
    showMessage(0, message);
    return false;
}

bool frmFilter::CheckSortRows()
{
    for (int row = 1; row <= mSortRows; ++row) {
        const bool field = !vsSortBy->GetText(1, row).trimmed().isEmpty();
        const bool order = !vsSortBy->GetText(2, row).trimmed().isEmpty();
        if (field == order)
            continue;
        const QString number = QString::number(row);
        showMessage(1, field ? formatLangText("第%1行排序类型不能为空!", number)
                             : formatLangText("第%1行排序字段不能为空!", number));
        return false;
    }
    return true;
}

bool frmFilter::BuildFilterAndSort()
{
    try {
        std::vector<filtertext::Condition> conditions;
        for (int row = 1; row <= vsFilter->MaxRows(); ++row) {
            if (GetGridText(row, 1).isEmpty())
                continue;
            conditions.push_back(conditionAt(row));
        }
        std::vector<filtertext::SortKey> keys;
        for (int row = 1; row <= vsSortBy->MaxRows(); ++row) {
            if (vsSortBy->GetText(1, row).trimmed().isEmpty())
                continue;
            keys.push_back({vsSortBy->GetText(3, row).trimmed().toStdString(),
                            vsSortBy->GetText(4, row).trimmed().toStdString()});
        }
        const bool useShort = module().gUseShortNumber;
        auto dict = std::make_shared<host::Dictionary>();
        dict->SetValue("Filter", filtertext::filterText(conditions, useShort));
        dict->SetValue("SortBy", filtertext::sortText(keys, useShort));
        countSheetState().gFilterDict = dict;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void frmFilter::cmdOK_Click()
{
    if (!CheckFilterRows() || !CheckSortRows() || !BuildFilterAndSort())
        return;
    countSheetState().gFilterCancelled = false;
    Unload();
}

void frmFilter::cmdCancel_Click()
{
    countSheetState().gFilterCancelled = true;
    Unload();
}

void frmFilter::Form_KeyDown(int &KeyCode, int)
{
    const std::string topic = "ICStockCheckFilter_" + std::to_string(countSheetState().gShowType);
    if (showHelpAfterKey(*this, KeyCode, topic, SSTab1->Tab()))
        KeyCode = 0;
}

void frmFilter::Form_Unload(bool &)
{
    mFieldDict.reset();
}
