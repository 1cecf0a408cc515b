#include "dialogs/currentline.h"

#include "countsheet/countline.h"
#include "countsheet/countlinegrid.h"
#include "dialogs/sheetdialogsstate.h"

void copyCurrentLine(const host::ui::SpreadGrid &vsCheck, int row)
{
    const CountLine line = readCountLine(vsCheck, row);
    SheetDialogsState &dialogs = sheetDialogsState();
    dialogs.gCurItemID = line.itemId;
    dialogs.gCurItemNumber = line.itemNumber;
    dialogs.gCurBatchNo = line.batchNo;
    dialogs.gCurMtoNo = line.mtoNo;
    dialogs.gCurKFDate = line.kfDate;
    dialogs.gCurSPID = line.stockPlaceId;
    dialogs.gCurStockID = line.stockId;
    dialogs.gCurStockName = line.stockName;
    dialogs.gCurKFPeriod = line.kfPeriod;
    dialogs.gCurQtyDecimal = line.qtyDecimals;
    dialogs.gCurQty = line.qty;
    dialogs.gCurCheckQty = line.checkQty;
    dialogs.gCurAuxPropID = line.auxPropId;
    dialogs.gCurSecQty = line.secQty;
}

void keepCurrentLine(const CountLine &line)
{
    SheetDialogsState &dialogs = sheetDialogsState();
    dialogs.gCurQty = line.qty;
    dialogs.gCurQtyAct = line.qtyAct;
    dialogs.gCurCheckQty = line.checkQty;
    dialogs.gCurDiffQty = line.diffQty;
    dialogs.gCurCUUnitQty = line.cuUnitQty;
    dialogs.gCurCUUnitQtyAct = line.cuUnitQtyAct;
    dialogs.gCurCUUnitCheckQty = line.cuUnitCheckQty;
    dialogs.gCurCUUnitDiffQty = line.cuUnitDiffQty;
    dialogs.gCurAdjQty = line.adjQty;
    dialogs.gCurSecCoefficient = line.secCoefficient;
    dialogs.gCurSecQty = line.secQty;
    dialogs.gCurSecQtyAct = line.secQtyAct;
    dialogs.gCurSecCheckQty = line.secCheckQty;
    dialogs.gCurSecAdjQty = line.secAdjQty;
    dialogs.gCurSecDiffQty = line.secDiffQty;
    dialogs.gCurAuxPropID = line.auxPropId;
    dialogs.gCurStockID = line.stockId;
}
