#pragma once

#include "dialogs/querycolumn.h"

#include <string>
#include <vector>

// The module-wide variables that the count-sheet window shares with its dialogs: the searchable
// columns the find dialog fills in, and the count line in focus in the entry grid, handed to the
// bill selection, which writes the two bill sums back.
struct SheetDialogsState
{
    std::vector<QueryColumn> gQueryColumns; // element i - 1 is query column i

    long gCurItemID = 0;
    std::string gCurItemNumber;
    std::string gCurStockName;
    std::string gCurBatchNo;
    std::string gCurMtoNo;
    std::string gCurKFDate;
    long gCurKFPeriod = 0;
    long gCurSPID = 0;
    long gCurStockID = 0;
    long gCurAuxPropID = 0;
    int gCurQtyDecimal = 0;
    double gCurQty = 0;
    double gCurQtyAct = 0;
    double gCurCheckQty = 0;
    double gCurDiffQty = 0;
    double gCurCUUnitQty = 0;
    double gCurCUUnitQtyAct = 0;
    double gCurCUUnitCheckQty = 0;
    double gCurCUUnitDiffQty = 0;
    double gCurAdjQty = 0;
    double gCurSecCoefficient = 0;
    double gCurSecQty = 0;
    double gCurSecQtyAct = 0;
    double gCurSecCheckQty = 0;
    double gCurSecAdjQty = 0;
    double gCurSecDiffQty = 0;
};

SheetDialogsState &sheetDialogsState();
