#include "dialogs/currentline.h"

#include "countsheet/countline.h"
#include "countsheet/countlinegrid.h"
#include "services/modulestate.h"

void copyCurrentLine(const host::ui::SpreadGrid &vsCheck, int row)
{
    const CountLine line = readCountLine(vsCheck, row);
    ModuleState &m = module();
    m.gCurItemID = line.itemId;
    m.gCurItemNumber = line.itemNumber;
    m.gCurBatchNo = line.batchNo;
    m.gCurMtoNo = line.mtoNo;
    m.gCurKFDate = line.kfDate;
    m.gCurSPID = line.stockPlaceId;
    m.gCurStockID = line.stockId;
    m.gCurStockName = line.stockName;
    m.gCurKFPeriod = line.kfPeriod;
    m.gCurQtyDecimal = line.qtyDecimals;
    m.gCurQty = line.qty;
    m.gCurCheckQty = line.checkQty;
    m.gCurAuxPropID = line.auxPropId;
    m.gCurSecQty = line.secQty;
}

void keepCurrentLine(const CountLine &line)
{
    ModuleState &m = module();
    m.gCurQty = line.qty;
    m.gCurQtyAct = line.qtyAct;
    m.gCurCheckQty = line.checkQty;
    m.gCurDiffQty = line.diffQty;
    m.gCurCUUnitQty = line.cuUnitQty;
    m.gCurCUUnitQtyAct = line.cuUnitQtyAct;
    m.gCurCUUnitCheckQty = line.cuUnitCheckQty;
    m.gCurCUUnitDiffQty = line.cuUnitDiffQty;
    m.gCurAdjQty = line.adjQty;
    m.gCurSecCoefficient = line.secCoefficient;
    m.gCurSecQty = line.secQty;
    m.gCurSecQtyAct = line.secQtyAct;
    m.gCurSecCheckQty = line.secCheckQty;
    m.gCurSecAdjQty = line.secAdjQty;
    m.gCurSecDiffQty = line.secDiffQty;
    m.gCurAuxPropID = line.auxPropId;
    m.gCurStockID = line.stockId;
}
