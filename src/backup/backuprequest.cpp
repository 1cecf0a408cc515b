#include "backup/frmbackupinv.h"
#include "backup/icbackupinv.h"
#include "host/core/datetime.h"
#include "host/core/sqltext.h"
#include "host/ui/controls/datepicker.h"
#include "host/ui/controls/listbox.h"
#include "host/ui/controls/optionbutton.h"
#include "host/ui/controls/tabcontrol.h"
#include "host/ui/form/busycursor.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "services/modqellogmsg.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <cmath>

namespace {

std::string cellText(const host::ui::SpreadGrid &grid, int col, int row)
{
    return grid.GetText(col, row).toStdString();
}

} // namespace

void frmBackupInv::cmdOK_Click()
{
    const long log = modQelLogMsg::LogStart("ZarvoStockCheck.frmBackupInv.cmdOK_Click");
    if (!backUp()) {
        returnToEntry();
        return;
    }
    modQelLogMsg::LogEnd(log, 0);
    PubVariant::MsgBox(MParse::LoadLangString("仓库备份已经完成!请按“确定”返回!"));
    Unload();
}

bool frmBackupInv::backUp()
{
    try {
        const host::ui::BusyCursor busy;
        if (!ValidateInput())
            return false;
        m_params = BuildBackupParams();
        const BackupScope scope;
        const bool isCutDate = OptCutDate->Value();
        const double cutDate =
            host::parseDate(dtpDate->Value().toString(QStringLiteral("yyyy-MM-dd")).toStdString())
                .value_or(0);
        if (!CheckBeforeBackup(*m_params, isCutDate, cutDate))
            return false;
        std::string itemTable;
        return m_backup->BackUpData(*m_params, isCutDate, cutDate, false, true, false, false,
                                    &itemTable);
    } catch (const std::exception &) {
        // The backup and its checks report their own failures; the window stays as it was.
        return false;
    }
}

bool frmBackupInv::ValidateInput()
{
    m_itemCondition = false;
    m_placeCondition = false;
    for (int row = 1; row <= vsProc->MaxRows(); ++row) {
        const int name = choice(1, row);
        m_itemCondition = m_itemCondition || name == 1 || name == 2;
        m_placeCondition = m_placeCondition || name == 3 || name == 4;
    }
    bool anyStock = false;
    for (int i = 0; i < StockList->ListCount() && !anyStock; ++i)
        anyStock = StockList->Selected(i);

    std::string message;
    if (!anyStock) {
        message = MParse::LoadLangString(m_itemCondition && !m_placeCondition
                                             ? "已经选择了物料，请再选择要盘点的仓库!"
                                             : "请选择要盘点的仓库、仓位或物料!");
        sstCheckStock->setTab(0);
    } else {
        const int rows = vsProc->MaxRows();
        for (int row = 1; row <= rows; ++row) {
            const char *incomplete = nullptr;
            if (!GetGridCell(row, 2, row, 4).empty() && GetGridCell(row, 1).empty())
                incomplete = "第%1行，[名称]列数据不完整！";
            else if (!GetGridCell(row, 1).empty() && GetGridCell(row, 2).empty())
                incomplete = "第%1行，[比较]列数据不完整！";
            else if (row < rows && !GetGridCell(row + 1, 1, row + 1, 4).empty() &&
                     GetGridCell(row, 4).empty())
                incomplete = "第%1行，[逻辑]列数据不完整！";
            if (incomplete) {
                message = MParse::FormatLangString(incomplete, {row});
                sstCheckStock->setTab(1);
            }
        }
    }
    if (message.empty())
        return true;
    PubVariant::ShowMsg(message, 0);
    return false;
}

std::shared_ptr<host::Dictionary> frmBackupInv::BuildBackupParams()
{
    auto params = std::make_shared<host::Dictionary>();
    std::string stock;
    for (int i = 0; i < StockList->ListCount(); ++i) {
        if (StockList->Selected(i))
            stock += std::to_string(StockList->ItemData(i)) + ",";
    }
    if (!stock.empty())
        stock.pop_back();
    params->SetValue("Stock", stock);

    std::string filter;
    if (m_itemCondition || m_placeCondition) {
        std::string text;
        for (int row = 1; row <= vsProc->MaxRows(); ++row) {
            const int name = choice(1, row);
            if (name < 1)
                break;
            const int comparison = choice(2, row);
            const std::string &affix =
                comparison < static_cast<int>(m_affixes.size()) ? m_affixes[comparison] : "";
            // The value is typed by the user: its quotes are doubled so it stays one text.
            text += m_fields[name] + " " + cellText(*vsProc, 2, row) + " '";
            text += affix;
            text += host::sqlEscape(cellText(*vsProc, 3, row));
            text += affix;
            text += "' " + cellText(*vsProc, 4, row) + " ";
        }
        text = TrimTrailingLogic(text);
        if (!host::Trim(text).empty())
            filter = " and (" + text + ")";
    }
    params->SetValue("Filter", filter);

    const QDate date = OptCutDate->Value() ? dtpDate->Value() : QDate::currentDate();
    params->SetValue("Date", date.toString(QStringLiteral("yyyy-MM-dd")).toStdString());
    params->SetValue("Operater", static_cast<long>(MParse::GetUserID()));
    return params;
}

std::string frmBackupInv::TrimTrailingLogic(const std::string &text)
{
    return host::trimTrailingLogic(text);
}

bool frmBackupInv::CheckBeforeBackup(host::Dictionary &params, bool isCutDate, double cutDate)
{
    try {
        const std::string startText = PubVariant::GetStartDate();
        if (startText.empty())
            return false;
        const auto startDate = host::parseDate(startText);
        if (isCutDate && startDate && std::floor(*startDate) > std::floor(cutDate)) {
            PubVariant::ShowMsg(MParse::LoadLangString("截止日期不能小于系统启用日期！"), 0);
            return false;
        }
        if (!m_backup)
            m_backup = std::make_unique<ICBackupInv>();
        auto refused = [](const std::string &reason) {
            if (reason.empty())
                return false;
            PubVariant::ShowMsg(reason, 0);
            return true;
        };
        if (refused(m_backup->SyncPosBill()))
            return false;
        // A backup on old maxima is not made.
        if (!m_backup->GetStockBillMaxID()) {
            ICBackupInv::ReportMaximaFailure();
            return false;
        }
        if (refused(m_backup->CheckStockRecCount(params, isCutDate, cutDate)))
            return false;
        params.SetValue("isCutDate", isCutDate);
        params.SetValue("CutDate", host::Variant::fromDate(cutDate));
        return !refused(m_backup->CheckBillInterID(params));
    } catch (const std::exception &) {
        return false;
    }
}

std::string frmBackupInv::GetGridCell(int row, int col, int lastRow, int lastCol) const
{
    if (lastRow == 0 && lastCol == 0)
        return host::Trim(cellText(*vsProc, col, row));
    std::string text;
    for (int r = row; r <= lastRow; ++r) {
        for (int c = col; c <= lastCol; ++c)
            text += cellText(*vsProc, c, r);
    }
    return host::Trim(text);
}
