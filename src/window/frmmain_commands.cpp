// The add-line and bill-selection commands.
#include "window/frmmain.h"

#include "backup/frmbackuptype.h"
#include "dialogs/currentline.h"
#include "dialogs/frmadditem.h"
#include "dialogs/frmselect.h"
#include "host/core/dictionary.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/modqellogmsg.h"
#include "services/notavailable.h"
#include "services/pubvariant.h"

#include <QAction>

void frmMain::mnuAddItem_Click()
{
    SaveStockData(true);
    PubVariant::SaveAlertSameCheck(mnuAlertSame->isChecked());
    {
        // No stock is preset: the line's stock is entered in the window.
        frmAddItem addItem;
        addItem.Show(1);
    }
    mnuView_Refresh_Click();
}

void frmMain::mnuVSelectBill_Click()
{
    // The entry ends on every way out of the command.
    const modQelLogMsg::LogEntry log("ZarvoStockCheck.frmMain.mnuVSelectBill_Click");
    SaveStockData(true);
    const long fid = lstStock->ItemData(lstStock->ListIndex());
    if (host::CLng(DicupInfo->GetValue(std::to_string(fid) + "|BackupType", 0L)) == 0) {
        FrmBackupType backupType;
        backupType.Show(1);
        if (backupType.Cancel() ||
            !PubVariant::SetBackupType(fid, backupType.BackupType(), DicupInfo))
            return;
    }
    const int row = vsCheck->ActiveRow();
    if (vsCheck->GetText(EntryCol::ItemID, row).trimmed().isEmpty())
        return;
    copyCurrentLine(*vsCheck, row);
    frmSelect select;
    select.setProcID(fid);
    select.setDicupInfo(DicupInfo);
    select.setLineSQL([this, row](double diffQty, double secDiffQty) {
        return BillLineSQL(row, diffQty, secDiffQty);
    });
    connect(&select, &frmSelect::CalFactQty, this,
            [this] { guard([this] { mfrmSelect_CalFactQty(); }); });
    mfrmSelect = &select;
    select.Show(1);
    mfrmSelect = nullptr;
}

void frmMain::mfrmSelect_CalFactQty()
{
    // A refused or empty calculation leaves the line as it was.
    if (mfrmSelect->CalcateOK())
        FillDiffQty();
    mfrmSelect->Unload();
}
