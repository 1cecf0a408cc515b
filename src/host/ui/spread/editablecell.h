#pragma once

#include <utility>

namespace host::ui {

class SpreadGrid;

// The first column of the row whose cell takes typing (shown and not locked); 0 when none does.
int firstEditableCol(const SpreadGrid &grid, int row);
// Whether the cell shows and takes typing.
bool isEditableCell(const SpreadGrid &grid, int col, int row);
// The cell (column, row) that takes typing next after the one given, row by row, or before it,
// wrapping round the grid's ends; {0, 0} when no other cell near enough does.
std::pair<int, int> nextEditableCell(const SpreadGrid &grid, int col, int row, bool forward);

} // namespace host::ui
