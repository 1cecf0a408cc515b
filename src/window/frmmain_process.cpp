// The process list, the choice of a process and the fill of the grid of the mode.
#include "window/frmmain.h"

#include "backup/backupstate.h"
#include "backup/frmbackuptype.h"
#include "backup/icbackupinv.h"
#include "countsheet/countsheetstate.h"
#include "countsheet/countsheetwindows.h"
#include "countsheet/maindo.h"
#include "countsheet/sheettext.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/core/dateformatter.h"
#include "host/core/dictionary.h"
#include "host/db/recordset/recordset.h"
#include "host/lang/resloader.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/form/pendingedit.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/ledger/uihelper.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/langtext.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/trystep.h"
#include "window/sheetwindowstate.h"

#include <QAction>
#include <QApplication>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr long kWarnAbove = 10000;

std::string processKey(long id, const char *suffix)
{
    return std::to_string(id) + suffix;
}

} // namespace

void frmMain::ListStock()
{
    ModuleState &m = module();
    const modQelLogMsg::LogEntry log("ZarvoStockCheck.frmMain.ListStock");
    // The list runs oldest first; the store's sort flag reads the other way round (true lists
    // by ascending id).
    auto rs = m_backupInv->GetProcList(mnuShowCloseProc->isChecked(), true);
    DicupInfo = std::make_shared<host::Dictionary>();
    mWarnedProcs = std::make_shared<host::Dictionary>();
    lstStock->Clear();
    if (!host::hasRows(rs)) {
        sheetWindowState().gSelInterID = 0;
        m.gCurInterID = 0;
        FillGrid({});
        setListCommandsEnabled(false);
        return;
    }
    // Commands an earlier empty listing switched off are offered again.
    setListCommandsEnabled(true);
    int selected = 0;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
        const long id = host::CLng(rs->Fields("FID").Value());
        lstStock->AddItem(QString::fromStdString(host::CStr(rs->Fields("FProcessID").Value())));
        lstStock->setItemData(lstStock->NewIndex(), id);
        DicupInfo->SetValue(processKey(id, "|CuteDate"), rs->Fields("FDate").Value());
        DicupInfo->SetValue(processKey(id, "|BackupType"), rs->Fields("FBackupType").Value());
        DicupInfo->SetValue(processKey(id, "|MaxInterID"), rs->Fields("FMaxBillInterID").Value());
        DicupInfo->SetValue(processKey(id, "|MaxMTOChangeID"),
                            rs->Fields("FMaxMTOChangeID").Value());
        if (id == m.gCurInterID)
            selected = lstStock->NewIndex();
    }
    lstStock->setListIndex(selected);
}

void frmMain::setListCommandsEnabled(bool enabled)
{
    for (const char *key : {"AddItem", "SubItem", "Export", "Import"})
        barlist->Tools(QString::fromLatin1(key)).setEnabled(enabled);
    for (QAction *item : {mnuAddItem, mnuSubItem, mnuFileOut, mnuFileIn})
        item->setEnabled(enabled);
}

void frmMain::lstStock_Click()
{
    ModuleState &m = module();
    CountSheetState &sheet = countSheetState();
    const int index = lstStock->ListIndex();
    const bool chosen = lstStock->ListCount() > 0 && index >= 0;
    const long id = chosen ? lstStock->ItemData(index) : 0;
    // Whether the sheet is loaded afresh, which drops what it holds unsaved: another process
    // is shown, or the same one again in a window opened from the process list. A relisting
    // moves the entries, so the process decides, not the entry's place in the list.
    const bool another = chosen && id != m.gCurInterID;
    // A count still in a cell's editor (the list opened by a click leaves it open) is taken
    // first; a text the cell refuses keeps the process shown, and the text in its cell.
    if (another && !host::ui::endPendingEdit(*this)) {
        selectShownProcess();
        return;
    }
    if (isVisible() && (another || (chosen && m.gOpenFromProcList))) {
        // Unsaved counts of the process shown are offered first; a save that failed keeps
        // that process on screen, and the keys go back to a line it left, not to the box,
        // where the next arrow key would choose again.
        if (SaveStockData(true) == SaveResult::Failed) {
            selectShownProcess();
            returnToUnsavedLine();
            return;
        }
        if (another && host::CLng(DicupInfo->GetValue(processKey(id, "|BackupType"), 0L)) == 0) {
            FrmBackupType dialog;
            dialog.Show(1);
            if (dialog.Cancel() || !PubVariant::SetBackupType(id, dialog.BackupType(), DicupInfo)) {
                selectShownProcess();
                return;
            }
        }
        if (another && m.gShowFilterBeforeCheck && countSheetWindows().showFilter)
            countSheetWindows().showFilter(sheet.gShowType, 0);
    }
    if (!m.gShowFilterBeforeCheck) {
        if (!sheet.gFilterDict)
            sheet.gFilterDict = std::make_shared<host::Dictionary>();
        sheet.gFilterDict->SetValue("Filter", "");
        sheet.gFilterDict->SetValue("SortBy", "");
    }
    if (!chosen || (id == m.gCurInterID && !m.gOpenFromProcList))
        return;
    SheetWindowState &window = sheetWindowState();
    window.gSelProcName = lstStock->Text().toStdString();
    window.gSelInterID = id;
    m.gCurInterID = id;
    mFindSort.clear();
    mFindFilter.clear();
    // Select bills waits for a line with an item again; the line the fill or the first count
    // makes current is one.
    enableSelectBill(false);
    if (mDataView == 1 && mnuVSelectData_All->isVisible())
        mnuVSelectData_All_Click();
    else
        FillGrid({});
    // The grid filled afresh has no current cell, and keys that reach it would go nowhere.
    if (sheet.gShowType == 4)
        activateFirstCount();
}

void frmMain::selectShownProcess()
{
    // Going back loads nothing, so the list raises no choice.
    const QSignalBlocker quiet(lstStock);
    int shown = -1;
    for (int i = 0; i < lstStock->ListCount() && shown < 0; ++i) {
        if (lstStock->ItemData(i) == module().gCurInterID)
            shown = i;
    }
    lstStock->setListIndex(shown);
}

void frmMain::returnToUnsavedLine()
{
    const int row = vsCheck->ActiveRow();
    const auto unsaved = std::find(mRowChanged.begin(), mRowChanged.end(), true);
    if (unsaved != mRowChanged.end() &&
        (row < 1 || static_cast<std::size_t>(row) > mRowChanged.size() || !mRowChanged[row - 1]))
        vsCheck->SetActiveCell(std::max(vsCheck->ActiveCol(), 1),
                               static_cast<int>(unsaved - mRowChanged.begin()) + 1);
    vsCheck->setFocus(Qt::OtherFocusReason);
}

void frmMain::enableSelectBill(bool enabled)
{
    mnuVSelectBill->setEnabled(enabled);
    barlist->Tools(QStringLiteral("SelectBill")).setEnabled(enabled);
}

void frmMain::FillGrid(const std::string &sFilter)
{
    const CountSheetState &sheet = countSheetState();
    const long procId = sheetWindowState().gSelInterID;
    mModified = false;
    m_sheetStale = false;
    m_lastCondition = sFilter;
    ResetTotals();
    const bool allData = sheet.gShowType == 3 && mDataView == 0;
    m_mainDo->GetRsMain(procId, sFilter, allData ? 1 : 0, sheet.gFilterDict.get());
    const std::shared_ptr<host::Recordset> rs = m_mainDo->p_RSMain;
    if (!host::hasRows(rs)) {
        ClearGrid();
        return;
    }
    const long count = rs->RecordCount();
    const std::string procKey = std::to_string(procId);
    if (!allData && count > kWarnAbove && !host::CBool(mWarnedProcs->GetValue(procKey, false))) {
        PubVariant::MsgBox(MParse::LoadLangString("方案数据已超过一万条，数据操作可能比较慢"),
                           PubVariant::vbInformation | PubVariant::vbOKOnly);
        mWarnedProcs->SetValue(procKey, true);
    }

    rs->Sort(" FDateBackup ASC ");
    rs->MoveFirst();
    const host::Variant maxBill = rs->Fields("FMaxBillInterID").Value();
    BackupState &snapshot = backupState();
    snapshot.gMaxBillInterID = maxBill.isNull() ? 0 : host::CLng(maxBill);
    snapshot.gMaxMTOChangeID = host::CLng(DicupInfo->GetValue(procKey + "|MaxMTOChangeID", 0L));
    labCheckDate->setCaption(langText("账存日期:") +
                             QString::fromStdString(host::DateFormatter().format(
                                 rs->Fields("FDateBackup").Value(), "YYYY-MM-DD HH:MM")));
    ArrangeControls();
    staBar->Panels(2).setText(
        QString::fromStdString(MParse::FormatLangString("仓库中共有%1条记录", {count})));

    tryStep([&] {
        const host::Variant sortBy =
            sheet.gFilterDict ? sheet.gFilterDict->GetValue("SortBy", "") : host::Variant("");
        rs->Sort(m_sortOverride ? *m_sortOverride : host::CStr(sortBy));
    });
    tryStep([&] {
        try {
            rs->Filter(mFindFilter);
        } catch (...) {
            rs->Filter("");
            throw;
        }
    });

    if (sheet.gShowType == 4) {
        const int row = vsCheck->ActiveRow();
        const int col = vsCheck->ActiveCol();
        m_mainDo->InputFillRow(*vsCheck);
        keepCurrentOnALine(col, row);
    } else {
        fillLedger();
        if (ldgCheck->Face().Rows() >= 3) {
            mnuFOutBill->setEnabled(true);
            barlist->Tools(QStringLiteral("OutProBill")).setEnabled(true);
        }
    }
    // Every refill starts the marks again, so a later save never writes a line the grid no
    // longer shows as edited.
    mRowChanged.assign(static_cast<std::size_t>(std::max(0, vsCheck->MaxRows() - 1)), false);
    m_rowBeforeEdit = 0;
}

void frmMain::keepCurrentOnALine(int col, int row)
{
    // A sheet filled with fewer lines (a filter, a line deleted) or after none at all leaves the
    // cell the user was in past its lines or on the totals row, where typed counts go nowhere.
    const int lastLine = vsCheck->MaxRows() - 1;
    if (lastLine < 1)
        return;
    if (row < 1)
        activateFirstCount();
    else if (row > lastLine)
        vsCheck->SetActiveCell(col, lastLine);
}

void frmMain::fillLedger()
{
    host::ui::LedgerGrid::FaceRef face = ldgCheck->Face();
    face.setRows(1);
    face.setRows(2);
    tryStep([&] { m_mainDo->GetSumData(); });
    const long count = m_mainDo->p_RSMain ? m_mainDo->p_RSMain->RecordCount() : 0;
    face.setRows(static_cast<int>(count) + (countSheetState().gShowType == 1 ? 3 : 2));
    face.Recalculate();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ldgCheck->Refresh();
}

void frmMain::ClearGrid()
{
    BackupState &snapshot = backupState();
    ldgCheck->Face().setRows(2);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ldgCheck->Refresh();
    vsCheck->setMaxRows(0);
    mRowChanged.clear();
    m_rowBeforeEdit = 0;
    // Nothing of the process shown before stays on screen or in the snapshot maxima.
    labCheckDate->setCaption({});
    snapshot.gMaxBillInterID = 0;
    snapshot.gMaxMTOChangeID = 0;
    staBar->Panels(2).setText(langText("仓库中共有 0 条记录"));
}

void frmMain::ResetTotals()
{
    CountSheetState &sheet = countSheetState();
    for (double CountSheetState::*total :
         {&CountSheetState::gSumQty, &CountSheetState::gSumQtyAct, &CountSheetState::gSumOverQty,
          &CountSheetState::gSumDownQty, &CountSheetState::gSumCUUnitQty,
          &CountSheetState::gSumCUUnitQtyAct, &CountSheetState::gSumCUUnitOverQty,
          &CountSheetState::gSumCUUnitDownQty})
        sheet.*total = 0;
}

void frmMain::ldgCheck_SortColumn()
{
    const std::shared_ptr<host::Recordset> rs = m_mainDo->p_RSMain;
    const int col = ldgCheck->Face().Col();
    const int row = ldgCheck->Face().Row();
    if (!rs || row == 0 || col == 0 || rs->State() != host::Recordset::adStateOpen || col < 2 ||
        col > 27 || row >= 3)
        return;
    const auto &columns = sheetDialogsState().gQueryColumns;
    const auto found = std::find_if(columns.begin(), columns.end(),
                                    [col](const QueryColumn &q) { return q.ColumnKey == col; });
    if (found == columns.end())
        return;
    const std::string current = rs->Sort();
    const bool descending = current.find(found->FieldName + " ") != std::string::npos &&
                            current.find(" ASC") != std::string::npos;
    rs->Sort(found->FieldName + (descending ? " DESC" : " ASC"));
    ResetTotals();
    fillLedger();
}

void frmMain::ldgCheck_FetchRow(int Row, QString &Text, long &BackColor)
{
    if (m_fetchBusy)
        return;
    m_fetchBusy = true;
    tryStep([&] {
        if (Row == 1)
            Text = host::ui::UIHelper::titleRow(*ldgCheck, 1,
                                                QString::fromStdString(m_mainDo->TRowData(0)));
        else if (Row > 2)
            Text = QString::fromStdString(m_mainDo->DRowData(Row, &BackColor));
    });
    m_fetchBusy = false;
}

void frmMain::BuildQueryColumns()
{
    std::vector<QueryColumn> &columns = sheetDialogsState().gQueryColumns;
    columns.clear();
    const std::shared_ptr<host::Recordset> rs = m_mainDo->GetRSHeader();
    if (!rs || rs->State() != host::Recordset::adStateOpen)
        return;
    rs->Filter("FVisForQuest=1");
    columns.resize(static_cast<std::size_t>(std::max(rs->RecordCount(), 0L)));
    // Compared as Taiwan's words now give them: a database keeps the captions of the day it
    // was made.
    const std::string itemCode = host::toTraditionalChinese(MParse::LoadLangString("物料代码"));
    // A column the build cannot read (a caption that is Null) ends it quietly: the columns
    // before it are searchable, the rest stay empty and no column gets its sort choice.
    try {
        std::size_t i = 0;
        for (rs->MoveFirst(); !rs->EOF() && i < columns.size(); rs->MoveNext(), ++i) {
            QueryColumn &q = columns[i];
            q.Caption = shownCaption(host::CStr(rs->Fields("FColCaption").Value()));
            q.ItemClassID = host::CLng(rs->Fields("FItemClassID").Value());
            q.FieldName = host::toTraditionalChinese(q.Caption) == itemCode
                              ? (module().gUseShortNumber ? "FNumber" : "FShortNumber")
                              : host::Trim(host::CStr(rs->Fields("FColName").Value()));
            switch (host::CLng(rs->Fields("FColType").Value())) {
            case 0:
                q.DataType = 7;
                break;
            case 2:
                q.DataType = 5;
                break;
            case 3:
                q.DataType = 3;
                break;
            default:
                q.DataType = 8;
            }
            q.ColumnKey = host::CLng(rs->Fields("FInterID").Value());
        }
        for (QueryColumn &q : columns)
            q.SortOrder = -1;
    } catch (const std::exception &) {
    }
}
