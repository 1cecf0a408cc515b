// Saving the counted quantities of the marked lines of the entry grid.
#include "window/frmmain.h"

#include "countsheet/countlinesql.h"
#include "countsheet/savebatch.h"
#include "host/core/dateformatter.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/core/stringbuilder.h"
#include "host/db/appconnection.h"
#include "host/db/recordset.h"
#include "host/displayer/dispbuilder.h"
#include "host/ui/numberformat.h"
#include "host/ui/spreadgrid.h"
#include "services/appconn.h"
#include "services/langtext.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "window/windowbusy.h"

#include <QAction>

#include <cmath>

namespace {

constexpr int kRowsPerBatch = 100;

// Codes of GetRowData beyond the two checks: a line whose key cells do not all read.
constexpr long kKeyUnreadable = 3;

const char *const kRefusalTexts[] = {
    nullptr,
    "账存数量为负且实存数量小于账存数量，盘点数据未能成功保存，请检查数据！",
    "基本单位与辅助计量单位盘盈盘亏方向不一致，盘点数据未能成功保存，请检查数据！",
    "盘点数据的关键字段无法读取，盘点数据未能成功保存，请检查数据！",
};
const char *const kUnmatchedText = "数据库中没有此盘点数据，盘点数据未能成功保存，请刷新后再试！";

// The cells of a RowData, in the order the record holds them.
struct RowField
{
    enum Kind
    {
        Key,         // a whole number; blank reads as 0
        RequiredKey, // a whole number the line cannot be without
        Date,
        Text,
        Number
    };
    const char *key;
    int col;
    Kind kind;
};

constexpr RowField kRowFields[] = {
    {"SPID", 35, RowField::Key},
    {"KFDate", 13, RowField::Date},
    {"KFPeriod", 14, RowField::Key},
    {"ItemID", 1, RowField::RequiredKey},
    {"UnitID", 37, RowField::RequiredKey},
    {"BatchNo", 11, RowField::Text},
    {"MtoNo", 12, RowField::Text},
    {"CheckQty", 19, RowField::Number},
    {"DiffQty", 36, RowField::Number},
    {"CUUnitDiffQty", 39, RowField::Number},
    {"CUUnitAccountQty", 22, RowField::Number},
    {"CUUnitCheckQty", 24, RowField::Number},
    {"Note", 33, RowField::Text},
    {"AdjQty", 25, RowField::Number},
    {"SecUnitQty", 29, RowField::Number},
    {"SecQtyAct", 30, RowField::Number},
    {"SecCheckQty", 31, RowField::Number},
    {"SecAdjQty", 32, RowField::Number},
    {"SecDiffQty", 43, RowField::Number},
    {"FCoefficient", 34, RowField::Number},
    {"StockID", 42, RowField::RequiredKey},
    {"AccountQty", 17, RowField::Number},
    {"AuxPropID", 41, RowField::Key},
};

// The current-line values the row reader leaves behind, with their columns.
constexpr std::pair<double ModuleState::*, int> kCurrentLine[] = {
    {&ModuleState::gCurQty, 17},
    {&ModuleState::gCurQtyAct, 18},
    {&ModuleState::gCurCheckQty, 19},
    {&ModuleState::gCurCUUnitQty, 22},
    {&ModuleState::gCurCUUnitCheckQty, 24},
    {&ModuleState::gCurAdjQty, 25},
    {&ModuleState::gCurSecCoefficient, 28},
    {&ModuleState::gCurSecQty, 29},
    {&ModuleState::gCurSecQtyAct, 30},
    {&ModuleState::gCurSecCheckQty, 31},
    {&ModuleState::gCurSecAdjQty, 32},
    {&ModuleState::gCurDiffQty, 36},
    {&ModuleState::gCurCUUnitDiffQty, 39},
    {&ModuleState::gCurSecDiffQty, 43},
};

int sign(double value)
{
    return (value > 0) - (value < 0);
}

} // namespace

// The error list of one save, with the columns of the refused lines.
class SaveErrorList
{
public:
    explicit SaveErrorList(bool withMto)
        : m_list(host::CreateObjectAs<host::DispBuilder>(host::DispBuilder::ProgId)),
          m_withMto(withMto)
    {
        std::vector<std::pair<const char *, long>> columns = {
            {"仓库", 800},     {"仓位", 600}, {"物料代码", 1100},     {"错误类型", 1600},
            {"辅助属性", 800}, {"批次", 600}, {"生产/采购日期", 900}, {"保质期(天)", 800}};
        if (withMto)
            columns.insert(columns.begin() + 6, {"计划跟踪号", 800});
        m_list->Cols(static_cast<long>(columns.size()));
        std::string titles;
        for (const auto &[title, width] : columns)
            titles += MParse::LoadLangString(title) + "|";
        m_list->titles(titles);
        for (std::size_t i = 0; i < columns.size(); ++i)
            m_list->SetColWidth(static_cast<long>(i) + 1, columns[i].second);
        m_list->Caption(MParse::LoadLangString("盘点错误数据提示"));
    }

    void add(const host::ui::SpreadGrid &grid, int row, const char *message)
    {
        auto cell = [&](int col) { return grid.GetText(col, row).toStdString() + "|"; };
        std::string line = cell(3) + cell(5) + cell(6) + MParse::LoadLangString(message) + "|" +
                           cell(10) + cell(11);
        if (m_withMto)
            line += cell(12);
        line += cell(13) + cell(14);
        m_list->Add(line);
        m_empty = false;
    }
    bool empty() const { return m_empty; }
    void show() { m_list->Show(1); }

private:
    std::shared_ptr<host::DispBuilder> m_list;
    bool m_withMto;
    bool m_empty = true;
};

frmMain::SaveResult frmMain::SaveStockData(bool bAsk)
{
    if (!mModified)
        return SaveResult::Saved;
    const modQelLogMsg::LogEntry log("ZarvoStockCheck.frmMain.SaveStockData");
    if (bAsk &&
        PubVariant::MsgBox(MParse::LoadLangString("盘点数据已经修改，是否保存？"),
                           PubVariant::vbYesNo | PubVariant::vbQuestion) != PubVariant::vbYes)
        return SaveResult::Declined;

    const WindowBusy busy(*this, *staBar, langText("正在保存数据,请稍候..."));
    try {
        SaveErrorList errors(module().gMtoPlanMode != 0);
        host::StringBuilder batch;
        std::vector<int> unmatched;
        auto send = [&] {
            const std::string text = SaveBatch::begin() + batch.StringValue() + SaveBatch::end();
            batch.Remove(1, batch.Length());
            m_sheetStale = true;
            const auto rs = appConn().Execute(text);
            if (rs && rs->State() == host::Recordset::adStateOpen && rs->RecordCount() > 0) {
                rs->MoveFirst();
                for (int row : SaveBatch::unmatchedRows(host::CStr(rs->Fields(0L).Value())))
                    unmatched.push_back(row);
            }
        };
        const int lastRow = vsCheck->MaxRows() - 1;
        for (int r = 1; r <= lastRow; ++r) {
            if (static_cast<std::size_t>(r) <= mRowChanged.size() && mRowChanged[r - 1]) {
                const long before = batch.Length();
                const long code = GetRowData(r, batch);
                if (code != 0)
                    errors.add(*vsCheck, r, kRefusalTexts[code]);
                else if (batch.Length() > before)
                    batch.Append(SaveBatch::markUnmatched(r));
            }
            if (r % kRowsPerBatch == 0 && batch.Length() > 0)
                send();
        }
        if (batch.Length() > 0)
            send();
        // A line the database no longer holds is not saved, whatever the statement said.
        for (int row : unmatched)
            errors.add(*vsCheck, row, kUnmatchedText);
        if (!errors.empty()) {
            errors.show();
            return SaveResult::Failed;
        }
        mModified = false;
        return SaveResult::Saved;
    } catch (const std::exception &e) {
        PubVariant::MsgBox(MParse::LoadLangString("保存盘点数据时出错：") + e.what(),
                           PubVariant::vbCritical | PubVariant::vbOKOnly);
        return SaveResult::Failed;
    }
}

long frmMain::GetRowData(int row, host::StringBuilder &sbSQL)
{
    if (row == 0)
        return 0;
    ModuleState &m = module();
    auto text = [&](int col) { return host::Trim(vsCheck->GetText(col, row).toStdString()); };
    auto number = [&](int col) { return host::Val(text(col)); };
    // A key cell that is blank where the line must have a value, or that holds no number,
    // would match the wrong line or none.
    bool keyReadable = true;
    auto value = [&](const RowField &field) -> host::Variant {
        const std::string cell = text(field.col);
        switch (field.kind) {
        case RowField::Text:
            return cell;
        case RowField::Number:
            return host::Val(cell);
        case RowField::Date:
            try {
                return host::DateFormatter().format(host::Variant(cell), "YYYY-MM-DD");
            } catch (...) {
                keyReadable = false;
                return std::string();
            }
        case RowField::Key:
        case RowField::RequiredKey:
            break;
        }
        if (cell.empty()) {
            keyReadable = keyReadable && field.kind != RowField::RequiredKey;
            return 0L;
        }
        const auto parsed = host::ui::parseNumber(QString::fromStdString(cell));
        keyReadable = keyReadable && parsed.has_value();
        return parsed ? std::lround(*parsed) : 0L;
    };
    auto rowData = std::make_shared<host::Dictionary>();
    for (const RowField &field : kRowFields)
        rowData->SetValue(field.key, value(field));
    for (const auto &[current, col] : kCurrentLine)
        m.*current = number(col);
    m.gCurAuxPropID = std::lround(number(41));
    m.gCurStockID = std::lround(number(42));

    const double account = number(17);
    const double actual = number(18);
    const double d = number(25) * number(34) + account - actual;
    const double s = number(29) + number(32) - number(30);
    if (account < 0 && actual < account)
        return 1;
    if ((d == 0 && s != 0) || (d != 0 && s != 0 && sign(d) != sign(s)))
        return 2;
    if (!keyReadable)
        return kKeyUnreadable;
    PubVariant::GetUpdateRowSQL(sbSQL, *rowData);
    return 0;
}

void frmMain::FillDiffQty()
{
    const ModuleState &m = module();
    const int r = vsCheck->ActiveRow();
    m_rowBeforeEdit = r;
    m_valuesBeforeEdit = summedValues(r);
    setCellNumber(36, r, m.gCurDiffQty);
    setCellNumber(43, r, m.gCurSecDiffQty);
    vsCheck->SetActiveCell(19, r);
    vsCheck_Change(19, r);
    host::StringBuilder sb;
    // A refused line is said at once; it stays marked, so the next save lists it too.
    const long code = GetRowData(r, sb);
    if (code != 0) {
        PubVariant::MsgBox(MParse::LoadLangString(kRefusalTexts[code]), PubVariant::vbOKOnly);
        return;
    }
    if (sb.Length() > 0) {
        m_sheetStale = true;
        appConn().Execute(sb.StringValue());
    }
}
