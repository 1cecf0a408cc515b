// Saving the counted quantities of the marked lines of the entry grid.
#include "window/frmmain.h"

#include "countsheet/countline.h"
#include "countsheet/countlinecalc.h"
#include "countsheet/countlinegrid.h"
#include "countsheet/countlinesave.h"
#include "countsheet/countlinesql.h"
#include "dialogs/currentline.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/core/objectfactory.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "host/db/commandscope.h"
#include "host/db/databasefault.h"
#include "host/displayer/dispbuilder.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/appconn.h"
#include "services/databasefailure.h"
#include "services/langtext.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "window/windowbusy.h"

#include <QAction>

#include <algorithm>
#include <optional>

namespace {

namespace C = EntryCol;

// Codes of GetRowData beyond the two checks: a line whose key cells do not all read.
constexpr long kKeyUnreadable = 3;

const char *const kRefusalTexts[] = {
    nullptr,
    "账存数量为负且实存数量小于账存数量，盘点数据未能成功保存，请检查数据！",
    "基本单位与辅助计量单位盘盈盘亏方向不一致，盘点数据未能成功保存，请检查数据！",
    "盘点数据的关键字段无法读取，盘点数据未能成功保存，请检查数据！",
};
const char *const kUnmatchedText = "数据库中没有此盘点数据，盘点数据未能成功保存，请刷新后再试！";
const char *const kDatabaseRefusedText =
    "数据库拒绝写入此盘点数据，盘点数据未能成功保存，请检查数据！原因：%1";
const char *const kNotAllSavedText = "盘点数据没有全部保存，没有保存的修改仍在表中，可以再次保存。";

} // namespace

// The error list of one save: the refused lines with their stock, place, item and key.
class SaveErrorList
{
public:
    explicit SaveErrorList(bool withMto)
        : m_list(host::CreateObjectAs<host::DispBuilder>(host::DispBuilder::ProgId)),
          m_withMto(withMto)
    {
        std::vector<std::pair<const char *, long>> columns = {
            {"仓库", 800},      {"仓位", 600},          {"物料代码", 1100},
            {"物料名称", 1300}, {"错误类型", 3200},     {"辅助属性", 800},
            {"批次", 600},      {"生产/采购日期", 900}, {"保质期(天)", 800}};
        if (withMto)
            columns.insert(columns.begin() + 7, {"计划跟踪号", 800});
        m_list->Cols(static_cast<long>(columns.size()));
        std::string titles;
        for (const auto &[title, width] : columns)
            titles += MParse::LoadLangString(title) + "|";
        m_list->titles(titles);
        for (std::size_t i = 0; i < columns.size(); ++i)
            m_list->SetColWidth(static_cast<long>(i) + 1, columns[i].second);
        m_list->Caption(MParse::LoadLangString("盘点错误数据提示"));
    }

    // The row's cells as the grid shows them, and the message in the user's language.
    void add(const host::ui::SpreadGrid &grid, int row, const std::string &message)
    {
        auto cell = [&](int col) { return grid.GetText(col, row).toStdString() + "|"; };
        // The list parts its lines at each bar; the database's reason may hold one.
        std::string reason = message;
        std::replace(reason.begin(), reason.end(), '|', '/');
        std::string line = cell(C::StockName) + cell(C::SPName) + cell(C::ItemNumber) +
                           cell(C::ItemName) + reason + "|" + cell(C::AuxPropName) +
                           cell(C::BatchNo);
        if (m_withMto)
            line += cell(C::MtoNo);
        line += cell(C::KFDate) + cell(C::KFPeriod);
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
        // What the batches write reaches the database file once, when the last is sent.
        std::optional<host::CommandScope> command(std::in_place, appConn());
        SaveErrorList errors(module().gMtoPlanMode != 0);
        CountLineSave save(
            static_cast<std::size_t>(std::count(mRowChanged.begin(), mRowChanged.end(), true)));
        const int lastRow = vsCheck->MaxRows() - 1;
        for (int r = 1; r <= lastRow; ++r) {
            if (static_cast<std::size_t>(r) <= mRowChanged.size() && mRowChanged[r - 1]) {
                const long code = GetRowData(r, save);
                if (code != 0)
                    errors.add(*vsCheck, r, MParse::LoadLangString(kRefusalTexts[code]));
            }
        }
        save.finish();
        command.reset();
        m_sheetStale = m_sheetStale || save.sentAny();
        const auto &failure = save.databaseFailure();
        // A saved line is no longer marked: a later save must not write it over another
        // user's newer count. Unless the file or its log went during the save: then no line
        // of it is in the file at its path.
        const bool lost = failure && host::databaseFault(*failure) == host::DatabaseFault::Moved;
        if (!lost) {
            for (int row : save.saved())
                mRowChanged[static_cast<std::size_t>(row - 1)] = false;
        }
        // A line the database no longer holds is not saved, whatever the statement said.
        for (int row : save.unmatched())
            errors.add(*vsCheck, row, MParse::LoadLangString(kUnmatchedText));
        for (const CountLineSave::Refusal &refusal : save.refused())
            errors.add(*vsCheck, refusal.row,
                       MParse::FormatLangString(kDatabaseRefusedText, {refusal.reason}));
        // A database that could not be written is told once, for every line it left unsaved.
        if (failure)
            PubVariant::MsgBox(explainFailure(*failure, MParse::LoadLangString(kNotAllSavedText)),
                               PubVariant::vbExclamation | PubVariant::vbOKOnly);
        if (!errors.empty())
            errors.show();
        if (failure || !errors.empty())
            return SaveResult::Failed;
        mModified = false;
        return SaveResult::Saved;
    } catch (const std::exception &e) {
        PubVariant::MsgBox(MParse::LoadLangString("保存盘点数据时出错：") + e.what(),
                           PubVariant::vbCritical | PubVariant::vbOKOnly);
        return SaveResult::Failed;
    }
}

long frmMain::GetRowData(int row, CountLineSave &save)
{
    if (row == 0)
        return 0;
    bool keyRead = true;
    const CountLine line = readCountLineRecord(*vsCheck, row, &keyRead);
    keepCurrentLine(line);
    const long code = checkLine(line);
    if (code != LineAccepted)
        return code;
    // A key cell that is blank where the line must have a value, or that holds no number,
    // would match the wrong line or none.
    if (!keyRead)
        return kKeyUnreadable;
    save.add(row, line);
    return 0;
}

std::optional<std::string> frmMain::BillLineSQL(int row, double diffQty, double secDiffQty)
{
    bool keyRead = true;
    CountLine line = readCountLine(*vsCheck, row, &keyRead);
    takeBillQuantities(line, diffQty, secDiffQty);
    long code = checkLine(line);
    if (code == LineAccepted && !keyRead)
        code = kKeyUnreadable;
    if (code != LineAccepted) {
        PubVariant::MsgBox(MParse::LoadLangString(kRefusalTexts[code]), PubVariant::vbOKOnly);
        return std::nullopt;
    }
    host::StringBuilder sql;
    PubVariant::GetUpdateRowSQL(sql, line);
    std::string text = sql.StringValue();
    // A line another user deleted meanwhile takes no bill: the error rolls the marks back too.
    std::string refusal = MParse::LoadLangString(kUnmatchedText);
    for (std::size_t at = refusal.find('%'); at != std::string::npos;
         at = refusal.find('%', at + 2))
        refusal.insert(at, 1, '%');
    host::addLine(text, "IF @@ROWCOUNT=0 RAISERROR (", host::sqlString(refusal), ",16,1)");
    return text;
}

void frmMain::FillDiffQty()
{
    const SheetDialogsState &dialogs = sheetDialogsState();
    const int r = vsCheck->ActiveRow();
    if (r < 1 || r >= vsCheck->MaxRows())
        return;
    const RowValues before = summedValues(r);
    CountLine line = readCountLine(*vsCheck, r);
    const ColumnSet written = takeBillQuantities(line, dialogs.gCurDiffQty, dialogs.gCurSecDiffQty);
    writeCountLine(*vsCheck, r, line, written);
    keepCurrentLine(line);
    moveTotals(r, before);
    // The select-bills window wrote the line with its marks; what it holds is saved.
    mRowChanged.at(static_cast<std::size_t>(r - 1)) = false;
    m_sheetStale = true;
}
