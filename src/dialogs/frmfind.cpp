#include "dialogs/frmfind.h"

#include "countsheet/countsheetstate.h"
#include "dialogs/baselookupvalue.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/core/settingsstore.h"
#include "host/core/variant.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/frame.h"
#include "host/ui/controls/optionbutton.h"
#include "host/ui/controls/picturebox.h"
#include "host/ui/controls/tabcontrol.h"
#include "host/ui/form/keycodes.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/keyhelp.h"
#include "services/langtext.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

using host::ui::CellType;

constexpr const char *kSection = "ZarvoStockCheck";
constexpr long kLong = 3;
constexpr long kDouble = 5;
constexpr long kDate = 7;
constexpr double kLongMax = 2147483647.0;
constexpr double kDoubleMax = 99999999999999.0;

long setting(const char *key, long fallback)
{
    const auto &ini = countSheetState().gIni;
    return ini ? host::CLng(ini->read(kSection, key, host::Variant(fallback))) : fallback;
}

void store(const char *key, long value)
{
    if (const auto &ini = countSheetState().gIni)
        ini->write(kSection, key, host::Variant(value));
}

// Runs a step of building the grid; a failing step is passed over.
template <typename F> void passOver(F step)
{
    try {
        step();
    } catch (const std::exception &) {
        return;
    }
}

} // namespace

QString checkedSearchValue(long dataType, const QString &value)
{
    const QString text = value.trimmed();
    if (text.isEmpty() || (dataType != kLong && dataType != kDouble))
        return value;
    // A number column takes one number written in digits: the find puts it into its criteria
    // as it stands, so anything more would search for something else.
    static const QRegularExpression wholeNumber(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression decimal(
        QStringLiteral("^[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][-+]?[0-9]+)?$"));
    const double n = host::Val(text.toStdString());
    if (dataType == kLong) {
        if (!wholeNumber.match(text).hasMatch())
            return {};
        return n >= kLongMax ? QStringLiteral("2147483647") : value;
    }
    if (!decimal.match(text).hasMatch())
        return {};
    if (n > kDoubleMax)
        return QStringLiteral("99999999999999");
    if (n < -kDoubleMax)
        return QStringLiteral("-99999999999999");
    return value;
}

frmFind::frmFind(QWidget *parent)
    : Form(parent), SSTab(new host::ui::TabControl(client(), 2)), picBack(new host::ui::PictureBox),
      vspSearch(new host::ui::SpreadGrid(picBack)), fraMatch(new host::ui::Frame),
      optBlur(new host::ui::OptionButton), optMatch(new host::ui::OptionButton),
      fraUL(new host::ui::Frame), optUL_Yes(new host::ui::OptionButton),
      optUL_No(new host::ui::OptionButton), cmdOk(new host::ui::CommandButton),
      cmdCancel(new host::ui::CommandButton)
{
    setObjectName(QStringLiteral("frmFind"));
    auto *back = new QVBoxLayout(picBack);
    back->setContentsMargins(0, 0, 0, 0);
    back->addWidget(vspSearch);
    (new QVBoxLayout(SSTab->page(0)))->addWidget(picBack);
    auto *match = new QVBoxLayout(fraMatch);
    match->addWidget(optBlur);
    match->addWidget(optMatch);
    auto *ul = new QVBoxLayout(fraUL);
    ul->addWidget(optUL_Yes);
    ul->addWidget(optUL_No);
    auto *options = new QHBoxLayout(SSTab->page(1));
    options->addWidget(fraMatch);
    options->addWidget(fraUL);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(client());
    layout->addWidget(SSTab);
    layout->addLayout(buttons);
    optBlur->setValue(true);
    optUL_Yes->setValue(true);
    resize(460, 380);
    closeOnEscape(cmdCancel);

    connect(cmdOk, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdOK_Click(); }); });
    connect(cmdCancel, &host::ui::CommandButton::Click, this,
            [this] { guard([this] { cmdCancel_Click(); }); });
    connect(vspSearch, &host::ui::SpreadGrid::Change, this, [this](int col, int row) {
        if (col == 2)
            guard([=, this] { checkCell(row); });
    });
    connect(vspSearch, &host::ui::SpreadGrid::KeyPress, this,
            [this](int &keyAscii) { guard([&, this] { vspSearch_KeyPress(keyAscii); }); });
}

void frmFind::Form_Load()
{
    setKeyPreview(true);
    InitCaptions();
    std::shared_ptr<host::Dictionary> none;
    MParse::LoadFormResStrings(*this, none, "ZARVOINDUSTRY");
    // The place where the user left it, once there is one; until then it opens over the window
    // that opened it.
    const auto &ini = countSheetState().gIni;
    if (ini && !ini->read(kSection, "FindForm_X", {}).isEmpty()) {
        setLeft(static_cast<int>(setting("FindForm_X", Left())));
        setTop(static_cast<int>(setting("FindForm_Y", Top())));
    }
    setWidth(static_cast<int>(setting("FindForm_Width", Width())));
    setHeight(static_cast<int>(setting("FindForm_Height", Height())));
    BuildGrid();
    // The user starts typing into the first search cell.
    SSTab->setTab(0);
    vspSearch->SetActiveCell(2, 1);
    vspSearch->setFocus();
}

void frmFind::InitCaptions()
{
    setCaption(langText("搜索/排序/过滤..."));
    SSTab->setTabCaption(0, langText("搜索"));
    SSTab->setTabCaption(1, langText("选项(&P)"));
    fraMatch->setCaption(langText("匹配选项:"));
    optBlur->setCaption(langText("模糊搜索(&B)"));
    optMatch->setCaption(langText("匹配搜索(&A)"));
    fraUL->setCaption(langText("是否区分大小写:"));
    optUL_Yes->setCaption(langText("是(&Y)"));
    optUL_No->setCaption(langText("否(&N)"));
    cmdOk->setCaption(langText("确定(&O)"));
    cmdCancel->setCaption(langText("退出(&E)"));
    MParse::SetFormFont(*this);
}

void frmFind::BuildGrid()
{
    const std::vector<QueryColumn> &columns = sheetDialogsState().gQueryColumns;
    if (columns.empty())
        return;
    const int rows = static_cast<int>(columns.size());
    passOver([&] {
        vspSearch->setMaxCols(2);
        vspSearch->setMaxRows(rows);
    });
    passOver([&] { setCaption(langText("搜索")); });
    passOver([&] {
        vspSearch->SetText(1, 0, langText("搜索目标"));
        vspSearch->SetText(2, 0, langText("搜索内容"));
        vspSearch->setColWidth(1, 2000);
        vspSearch->setColWidth(2, 3200);
        vspSearch->setBlockMode(false);
        vspSearch->setRow(-1);
        vspSearch->setCol(1);
        vspSearch->setLock(true);
    });
    for (int row = 1; row <= rows; ++row) {
        const QueryColumn &column = columns[static_cast<size_t>(row - 1)];
        passOver([&] {
            vspSearch->SetText(1, row, QString::fromStdString(column.Caption));
            vspSearch->setCol(2);
            vspSearch->setRow(row);
            if (column.DataType == kLong || column.DataType == kDouble) {
                vspSearch->setCellType(CellType::Edit);
                vspSearch->setTypeMaxEditLen(30);
            } else if (column.DataType == kDate) {
                vspSearch->setCellType(CellType::Date);
            } else {
                vspSearch->setCellType(CellType::Edit);
                if (row == 5)
                    vspSearch->setTypeMaxEditLen(200);
            }
            vspSearch->SetText(2, row, QString::fromStdString(column.SearchValue));
        });
    }
    passOver([&] {
        const bool blur = setting("Search_Match", 0) == 1;
        optBlur->setValue(blur);
        optMatch->setValue(!blur);
        const bool ul = setting("Search_UL", 1) == 1;
        optUL_Yes->setValue(ul);
        optUL_No->setValue(!ul);
        fraUL->setEnabled(false);
    });
}

bool frmFind::checkCell(int row)
{
    const std::vector<QueryColumn> &columns = sheetDialogsState().gQueryColumns;
    if (row < 1 || row > static_cast<int>(columns.size()))
        return true;
    const QueryColumn &column = columns[static_cast<size_t>(row - 1)];
    const QString value = vspSearch->GetText(2, row);
    const QString checked = checkedSearchValue(column.DataType, value);
    if (checked.isEmpty() && !value.trimmed().isEmpty())
        return false;
    if (checked != value)
        vspSearch->SetText(2, row, checked);
    return true;
}

bool frmFind::checkCells()
{
    const std::vector<QueryColumn> &columns = sheetDialogsState().gQueryColumns;
    for (int row = 1; row <= vspSearch->MaxRows(); ++row) {
        if (checkCell(row))
            continue;
        const QueryColumn &column = columns[static_cast<size_t>(row - 1)];
        const char *why =
            column.DataType == kLong
                ? "[%1]只能按整数搜索（不带负号和小数点），“%2”不是这样的数，没有采用。"
                : "[%1]只能按数字搜索，“%2”不是数字，没有采用。";
        PubVariant::MsgBox(MParse::FormatLangString(
                               why, {column.Caption, vspSearch->GetText(2, row).toStdString()}),
                           PubVariant::vbOKOnly | PubVariant::vbExclamation);
        // The user puts the text right where it stands.
        vspSearch->SetActiveCell(2, row);
        vspSearch->setFocus();
        return false;
    }
    return true;
}

void frmFind::vspSearch_KeyPress(int &KeyAscii)
{
    const std::vector<QueryColumn> &columns = sheetDialogsState().gQueryColumns;
    const int row = vspSearch->ActiveRow();
    if (vspSearch->ActiveCol() != 2 || row < 1 || row > static_cast<int>(columns.size()))
        return;
    if (columns[static_cast<size_t>(row - 1)].DataType == kLong &&
        (KeyAscii == '-' || KeyAscii == '.'))
        KeyAscii = 0;
}

void frmFind::vspSearch_KeyUp(int &KeyCode, int)
{
    const std::vector<QueryColumn> &columns = sheetDialogsState().gQueryColumns;
    const int row = vspSearch->ActiveRow();
    if (KeyCode != host::ui::KeyCode::F7 || vspSearch->ActiveCol() != 2 || row < 1 ||
        row > static_cast<int>(columns.size()))
        return;
    // What was typed is kept unless the lookup picks a value.
    const long itemClass = columns[static_cast<size_t>(row - 1)].ItemClassID;
    runAfterKey([this, row, itemClass] {
        try {
            if (const auto text = lookUpBaseValue(itemClass))
                vspSearch->SetText(2, row, QString::fromStdString(*text));
        } catch (const std::exception &e) {
            PubVariant::ShowMsg(MParse::LoadLangString("查找基础资料时出错，原因：") + e.what(), 0);
        }
    });
}

void frmFind::cmdOK_Click()
{
    if (!checkCells())
        return;
    mSearchMode = optMatch->Value() ? 0 : 1;
    mMatchMode = optUL_No->Value() ? 0 : 1;
    std::vector<QueryColumn> &columns = sheetDialogsState().gQueryColumns;
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i].SearchValue =
            vspSearch->GetText(2, static_cast<int>(i + 1)).trimmed().toStdString();
    emit FindNow(mSearchMode, mMatchMode);
}

void frmFind::cmdCancel_Click()
{
    Unload();
}

void frmFind::Form_KeyDown(int &KeyCode, int)
{
    const std::string topic = "ICStockCheckFind_" + std::to_string(countSheetState().gShowType);
    if (showHelpAfterKey(*this, KeyCode, topic, mActionMode))
        KeyCode = 0;
}

void frmFind::Form_KeyUp(int &KeyCode, int Shift)
{
    // The grid's key, whether the grid or the editor of its cell has the focus.
    QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == vspSearch || vspSearch->isAncestorOf(focus)))
        vspSearch_KeyUp(KeyCode, Shift);
}

void frmFind::Form_Unload(bool &)
{
    store("FindForm_X", Left());
    store("FindForm_Y", Top());
    store("FindForm_Width", Width());
    store("FindForm_Height", Height());
    store("Search_Match", optBlur->Value() ? 1 : 0);
    store("Search_UL", optUL_Yes->Value() ? 1 : 0);
}
