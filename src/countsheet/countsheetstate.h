#pragma once

#include "countsheet/columntemplate.h"

#include <memory>
#include <string>
#include <vector>

namespace host {
class Dictionary;
class SettingsStore;
} // namespace host

// The module-wide variables of the count-sheet engine: the sheet's mode, query, column template,
// filter and totals, which the count-sheet window and dialogs read and set.
struct CountSheetState
{
    long gShowType = 0;                        // 1 check, 3 print book, 4 input
    std::shared_ptr<host::SettingsStore> gIni; // per-user view settings, "StockCheck.ini"
    std::string gHeaderSQL;               // the column-template query of the last built show type
    std::string gMainSQL;                 // the count-sheet query body, up to its WHERE conditions
    std::vector<ColumnTemplate> gColumns; // element i - 1 is ledger column i

    // The filter dialog's result: "Filter" and "SortBy" of the sheet, and whether it was
    // cancelled.
    std::shared_ptr<host::Dictionary> gFilterDict;
    bool gFilterCancelled = false;

    double gSumQty = 0;
    double gSumQtyAct = 0;
    double gSumOverQty = 0;
    double gSumDownQty = 0;
    double gSumCUUnitQty = 0;
    double gSumCUUnitQtyAct = 0;
    double gSumCUUnitOverQty = 0;
    double gSumCUUnitDownQty = 0;
    double gSumSecQty = 0;
    double gSumSecQtyAct = 0;
    double gSumSecOverQty = 0;
    double gSumSecDownQty = 0;
};

CountSheetState &countSheetState();
