#pragma once

#include "countsheet/countsheetstate.h"

#include <array>
#include <string_view>

// Background of the totals rows of both grids: red 255, green 238, blue 232.
inline constexpr long kTotalsBackColor = 0x00E8EEFF;

// The twelve count-sheet totals: the sheet field each sums and where the module keeps it.
struct SheetTotal
{
    std::string_view field;
    double CountSheetState::*total;
};

inline constexpr std::array<SheetTotal, 12> kSheetTotals{{
    {"FQty", &CountSheetState::gSumQty},
    {"FQtyAct", &CountSheetState::gSumQtyAct},
    {"FOverQty", &CountSheetState::gSumOverQty},
    {"FDownQty", &CountSheetState::gSumDownQty},
    {"FCUUnitQty", &CountSheetState::gSumCUUnitQty},
    {"FCUUnitQtyAct", &CountSheetState::gSumCUUnitQtyAct},
    {"FCUUnitOverQty", &CountSheetState::gSumCUUnitOverQty},
    {"FCUUnitDownQty", &CountSheetState::gSumCUUnitDownQty},
    {"FSecQty", &CountSheetState::gSumSecQty},
    {"FSecQtyAct", &CountSheetState::gSumSecQtyAct},
    {"FSecOverQty", &CountSheetState::gSumSecOverQty},
    {"FSecDownQty", &CountSheetState::gSumSecDownQty},
}};
