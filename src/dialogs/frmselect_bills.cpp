#include "dialogs/frmselect.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/decimaltext.h"
#include "countsheet/sheettext.h"
#include "dialogs/billselectsql.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/billdata/systemprofile.h"
#include "host/core/dateformatter.h"
#include "host/core/dictionary.h"
#include "host/core/hosterror.h"
#include "host/core/settingsstore.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/form/twips.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/ledger/uihelper.h"
#include "host/ui/modal/modalservices.h"
#include "host/ui/toolbar/buttonbar.h"
#include "services/appconn.h"
#include "services/langtext.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/transaction.h"

#include <QAction>

#include <iterator>

namespace {

constexpr int kCols = 23;
constexpr int kFirstDataRow = 3;
constexpr int colBillId = 1;
constexpr int colMark = 2;
constexpr int colInOrOut = 4;
constexpr int colPlanTracking = 13;
constexpr int colQty = 17;
constexpr int colSecQty = 19;
constexpr int colEntryId = 20;
constexpr int colRedBlue = 21;
constexpr int colType = 22;
constexpr int colChanged = 23;
// Fields of the bill list by position: the quantities in the base and the second unit.
constexpr long fieldQty = 16;
constexpr long fieldSecQty = 18;

std::string dictKey(long procId, const char *suffix)
{
    return std::to_string(procId) + suffix;
}

// Puts the list's record on the row of the ledger that shows it.
void moveToRow(host::Recordset &rs, int row)
{
    rs.MoveFirst();
    rs.Move(row - kFirstDataRow);
}

// The record's field behind a ledger column: the columns show the fields in their order.
constexpr long fieldOf(int col)
{
    return col - 1;
}

// A whole number of the list's record, by the ledger column that shows it; none counts 0.
long recordWhole(host::Recordset &rs, int col)
{
    const host::Variant value = rs.Fields(fieldOf(col)).Value();
    return value.isNull() ? 0 : host::CLng(host::Val(value));
}

// A quantity of the list's record; none counts 0.
double recordQuantity(host::Recordset &rs, long field)
{
    const host::Variant value = rs.Fields(field).Value();
    return value.isNull() ? 0 : host::Val(value);
}

QString fieldText(const host::Variant &value)
{
    return value.isNull() ? QString() : QString::fromStdString(host::CStr(value));
}

} // namespace

long frmSelect::GetRSSelect()
{
    const std::string typeKey = dictKey(m_procId, "|BackupType");
    if (!m_dicupInfo || !m_dicupInfo->Exists(typeKey)) {
        PubVariant::MsgBox(MParse::LoadLangString("没有设置盘点方案信息!"), PubVariant::vbOKOnly);
        return 0;
    }
    const modQelLogMsg::LogEntry log("ZarvoStockCheck.frmSelect.GetRSSelect");
    try {
        BillSelectOptions options;
        options.procId = m_procId;
        const long backupType = host::CLng(m_dicupInfo->Value(typeKey));
        if (backupType == 2)
            setSnapshotConditions(
                options, backupType,
                host::DateFormatter().format(m_dicupInfo->Value(dictKey(m_procId, "|CuteDate")),
                                             "YYYY-MM-DD"),
                0, 0);
        else
            setSnapshotConditions(
                options, backupType, {},
                host::CLng(m_dicupInfo->Value(dictKey(m_procId, "|MaxInterID"))),
                host::CLng(m_dicupInfo->Value(dictKey(m_procId, "|MaxMTOChangeID"))));
        if (const auto value = host::readSystemOption(appConn(), "IC", "UseShortNumber"))
            options.shortNumber = !value->isNull() && host::CStr(*value) == "1";
        options.planMode = module().gMtoPlanMode != 0;
        options.billTypeName = MParse::AddLangSuffix("x1.FName");
        // Without a language in the host context the changes are named in the plain column.
        const std::string language = MParse::GetPropsItem("LANGUAGE");
        options.changeTypeName = language.empty() ? "x1.FName" : "x1.FName_" + language;
        const SheetDialogsState &current = sheetDialogsState();
        BillSelectLine line;
        line.stockId = current.gCurStockID;
        line.itemId = current.gCurItemID;
        line.batchNo = current.gCurBatchNo;
        line.mtoNo = current.gCurMtoNo;
        line.stockPlaceId = current.gCurSPID;
        line.auxPropId = current.gCurAuxPropID;
        line.kfPeriod = current.gCurKFPeriod;
        line.kfDate = current.gCurKFDate;
        mRsSelect = appConn().Execute(billSelectSQL(line, options));
        return 1;
    } catch (const host::HostError &e) {
        mRsSelect.reset();
        PubVariant::ShowMsg(
            MParse::LoadLangString("选择盘点期间内发生的单据出错!") + e.Description(), 0);
        return 0;
    }
}

void frmSelect::setUpGrid()
{
    auto face = ldgSelect->Face();
    face.setCols(kCols);
    face.setBackColor(0xFFFFFF);
    face.setRows(2);
    if (mRsSelect) {
        if (mRsSelect->RecordCount() > 0) {
            face.setRows(static_cast<int>(mRsSelect->RecordCount()) + 2);
        } else {
            mnuVCalulate->setEnabled(false);
            tlbRpt->Buttons(2).setEnabled(false);
        }
    }
    ldgSelect->Refresh();
    for (const int col : {colBillId, colInOrOut, colEntryId, colRedBlue, colType, colChanged})
        ldgSelect->Col(col).setSwitch(host::ui::LedgerGrid::HiddenSwitch, true);
    // Widths until the user's own are restored on activation.
    const int widths[] = {0,    900,  1200, 0,    1800, 1500, 1300, 1300, 1600, 1100,
                          1800, 1100, 1900, 2300, 1100, 900,  1300, 1300, 1500};
    for (int col = 1; col <= static_cast<int>(std::size(widths)); ++col) {
        if (widths[col - 1] > 0)
            ldgSelect->Col(col).setWidth(widths[col - 1]);
    }
    ldgSelect->Col(colQty).setStyle(1);
    ldgSelect->Col(colSecQty).setStyle(1);
    if (module().gMtoPlanMode == 0)
        ldgSelect->Col(colPlanTracking).setSwitch(host::ui::LedgerGrid::HiddenSwitch, true);
}

void frmSelect::ldgSelect_FetchRow(int Row, QString &Text, long &)
{
    if (Row == 1)
        Text = host::ui::UIHelper::titleRow(*ldgSelect, 1, langText(mHeaderSpec.toStdString()));
    else if (Row > 2)
        Text = GetRowText(Row);
}

QString frmSelect::GetRowText(int row)
{
    QString text;
    try {
        moveToRow(*mRsSelect, row);
        text = fieldText(mRsSelect->Fields("FInterID").Value()) + "|";
        text += (host::CLng(mRsSelect->Fields("FCheckSelect").Value()) == 1 ? QStringLiteral("Y")
                                                                            : QString()) +
                "|";
        const int decimals = sheetDialogsState().gCurQtyDecimal;
        for (long field = 2; field < mRsSelect->FieldCount(); ++field) {
            const host::Variant &value = mRsSelect->Fields(field).Value();
            QString cell = fieldText(value);
            if ((field == 2 || field == 13) && !cell.isEmpty())
                cell = QString::fromStdString(shownDate(value));
            else if ((field == fieldQty || field == fieldSecQty) && !cell.isEmpty())
                cell = QString::fromStdString(formatDecimal(host::CDbl(value), decimals, true));
            else if (field == 14 && cell.isEmpty())
                cell = QStringLiteral("0");
            text += cell + "|";
        }
    } catch (const std::exception &) {
        // The row shows what could be read of it.
    }
    return text;
}

void frmSelect::ldgSelect_ToggleSelect(short &Action)
{
    auto face = ldgSelect->Face();
    if (Action != 1 || face.Rows() < kFirstDataRow || face.Row() <= 2 || face.Col() != colMark)
        return;
    const int row = ldgSelect->Row();
    const QString mark = ldgSelect->Cell(row, colMark).Text() == QLatin1String("Y")
                             ? QString()
                             : QStringLiteral("Y");
    // Bills are told apart by the list's record, not by the texts it shows.
    auto billIdAt = [this](int r) {
        moveToRow(*mRsSelect, r);
        return recordWhole(*mRsSelect, colBillId);
    };
    const long billId = billIdAt(row);
    auto markRow = [&](int r) {
        ldgSelect->Cell(r, colMark).setText(mark);
        ldgSelect->Cell(r, colChanged).setText(QStringLiteral("1"));
    };
    markRow(row);
    // The list is in bill order, so the lines of one bill stand together.
    for (int r = row - 1; r >= kFirstDataRow; --r) {
        if (billIdAt(r) != billId)
            break;
        markRow(r);
    }
    for (int r = row + 1; r <= face.Rows(); ++r) {
        if (billIdAt(r) != billId)
            break;
        markRow(r);
    }
    ldgSelect->Refresh();
}

void frmSelect::Calculate()
{
    SheetDialogsState &dialogs = sheetDialogsState();
    m_calcateOK = false;
    dialogs.gCurDiffQty = 0;
    dialogs.gCurSecDiffQty = 0;
    std::string marks;
    const int rows = ldgSelect->Face().Rows();
    for (int r = kFirstDataRow; r <= rows; ++r) {
        const bool marked = ldgSelect->Cell(r, colMark).Text() == QLatin1String("Y");
        if (!marked && ldgSelect->Cell(r, colChanged).Text() != QLatin1String("1"))
            continue;
        // The ids, kinds and quantities are the list's record, every digit of them, not the
        // texts it shows.
        moveToRow(*mRsSelect, r);
        const long billId = recordWhole(*mRsSelect, colBillId);
        const long entryId = recordWhole(*mRsSelect, colEntryId);
        const host::Variant type = mRsSelect->Fields(fieldOf(colType)).Value();
        if (!host::IsNumeric(type)) {
            PubVariant::MsgBox(
                MParse::FormatLangString("在向库存表写入选单选中的标志时发生错误:%1", {billId}),
                PubVariant::vbOKOnly);
            continue;
        }
        marks += markBillEntrySQL(billId, entryId, marked ? m_procId : 0,
                                  static_cast<long>(host::Val(type)));
        if (!marked)
            continue;
        double qty = recordQuantity(*mRsSelect, fieldQty);
        double secQty = recordQuantity(*mRsSelect, fieldSecQty);
        // A receipt after the snapshot is stock the count saw and the books did not.
        if (recordWhole(*mRsSelect, colInOrOut) == 1) {
            qty = -qty;
            secQty = -secQty;
        }
        dialogs.gCurDiffQty += qty;
        dialogs.gCurSecDiffQty += secQty;
    }
    if (marks.empty())
        return;
    if (dialogs.gCurQty < 0 && dialogs.gCurCheckQty + dialogs.gCurDiffQty < dialogs.gCurQty) {
        PubVariant::MsgBox(
            MParse::LoadLangString("不允许账存数量为负且实存数量小于账存数量，计算失败！"),
            PubVariant::vbOKOnly);
        return;
    }
    std::string line;
    if (m_lineSQL) {
        const std::optional<std::string> statements =
            m_lineSQL(dialogs.gCurDiffQty, dialogs.gCurSecDiffQty);
        if (!statements)
            return;
        line = *statements;
    }
    // The marks and the line they fill are written together or not at all.
    try {
        executeInTransaction(line + marks);
        m_calcateOK = true;
    } catch (const host::HostError &e) {
        PubVariant::ShowMsg(
            MParse::LoadLangString("选择盘点期间内发生的单据出错!") + e.Description(), 0);
    }
}

void frmSelect::LoadSaveColumnWidths(int save)
{
    const auto &ini = countSheetState().gIni;
    if (!ini)
        return;
    const int cols = ldgSelect->Face().Cols();
    for (int i = 1; i <= cols; ++i) {
        const std::string key = "Col" + std::to_string(i);
        try {
            if (save == 1) {
                const double width = ldgSelect->Col(i).Width();
                ini->write("ldgSelect", key,
                           static_cast<double>(static_cast<float>(
                               host::ui::readableColumnWidth(width).value_or(width))));
            } else {
                const host::Variant width = ini->read("ldgSelect", key, "");
                if (!host::IsNumeric(width))
                    continue;
                if (const auto readable = host::ui::readableColumnWidth(host::CDbl(width)))
                    ldgSelect->Col(i).setWidth(*readable);
            }
        } catch (const std::exception &) {
            // A width that cannot be read or written stays as it is.
        }
    }
}
