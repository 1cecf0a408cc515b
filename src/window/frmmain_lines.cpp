// Removing a count line from the sheet.
#include "window/frmmain.h"

#include "countsheet/countlinegrid.h"
#include "countsheet/countlinesql.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

void frmMain::mnuSubItem_Click()
{
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    const int row = vsCheck->ActiveRow();
    if (row == vsCheck->MaxRows() || vsCheck->MaxRows() < 2)
        return;
    if (PubVariant::MsgBox(MParse::LoadLangString("是否真的要删除此项物料？"),
                           PubVariant::vbYesNo | PubVariant::vbQuestion) == PubVariant::vbNo)
        return;
    const CountLine line = readCountLine(*vsCheck, row);
    if (line.qty != 0) {
        PubVariant::MsgBox(MParse::LoadLangString("不能删除有账存余额的物料"),
                           PubVariant::vbOKOnly);
        return;
    }
    if (PubVariant::DeleteCheckRow(line.stockPlaceId, line.kfDate, line.kfPeriod, line.itemId,
                                   line.stockId, line.batchNo, line.mtoNo, line.auxPropId,
                                   line.unitId, module().gCurInterID))
        FillGrid({});
}
