#pragma once

#include "services/modulestate.h"

#include <array>
#include <string_view>

// Background of the totals rows of both grids: red 255, green 238, blue 232.
inline constexpr long kTotalsBackColor = 0x00E8EEFF;

// The twelve count-sheet totals: the sheet field each sums and where the module keeps it.
struct SheetTotal
{
    std::string_view field;
    double ModuleState::*total;
};

inline constexpr std::array<SheetTotal, 12> kSheetTotals{{
    {"FQty", &ModuleState::gSumQty},
    {"FQtyAct", &ModuleState::gSumQtyAct},
    {"FOverQty", &ModuleState::gSumOverQty},
    {"FDownQty", &ModuleState::gSumDownQty},
    {"FCUUnitQty", &ModuleState::gSumCUUnitQty},
    {"FCUUnitQtyAct", &ModuleState::gSumCUUnitQtyAct},
    {"FCUUnitOverQty", &ModuleState::gSumCUUnitOverQty},
    {"FCUUnitDownQty", &ModuleState::gSumCUUnitDownQty},
    {"FSecQty", &ModuleState::gSumSecQty},
    {"FSecQtyAct", &ModuleState::gSumSecQtyAct},
    {"FSecOverQty", &ModuleState::gSumSecOverQty},
    {"FSecDownQty", &ModuleState::gSumSecDownQty},
}};
