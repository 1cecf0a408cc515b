#pragma once

#include "host/ui/spread/cellattribute.h"
#include "host/ui/spread/celltype.h"

#include <QString>

namespace host::ui {

// The per-cell settings of a spread grid, each at grid, column, row and cell level.
struct SpreadSettings
{
    static constexpr long DefaultColor = -1;

    CellAttribute<CellType> cellType{CellType::Edit};
    CellAttribute<int> maxEditLen{60};
    // The most bytes of the double-byte code page a text cell takes, as the varchar column it
    // fills holds (see codePageBytes); -1 for no limit beyond maxEditLen.
    CellAttribute<int> maxEditBytes{-1};
    CellAttribute<double> floatMin{-9999999999.99};
    CellAttribute<double> floatMax{9999999999.99};
    CellAttribute<int> decimals{2};
    // A number cell shows up to this many decimals where its value has more than `decimals`.
    CellAttribute<int> moreDecimals{0};
    CellAttribute<bool> separator{false};
    CellAttribute<bool> lock{false};
    CellAttribute<long> backColor{DefaultColor};
    CellAttribute<long> foreColor{DefaultColor};
    CellAttribute<bool> bold{false};
    // Items of a combo cell, each preceded by a tab, so "\tA\tB" offers "", "A" and "B".
    CellAttribute<QString> comboList{QString()};

    void dropRowsFrom(int firstRow);
    void permuteRows(int first, const std::vector<int> &order);
};

} // namespace host::ui
