#pragma once

namespace host::ui {

class SpreadGrid;

// The first column of the row whose cell takes typing (shown and not locked); 0 when none does.
int firstEditableCol(const SpreadGrid &grid, int row);
// Whether the cell shows and takes typing.
bool isEditableCell(const SpreadGrid &grid, int col, int row);

} // namespace host::ui
