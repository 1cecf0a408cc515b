#pragma once

#include "countsheet/columntemplate.h"

#include <vector>

class MainDo;

namespace host {
class Dictionary;
namespace ui {
class LedgerGrid;
class SpreadGrid;
} // namespace ui
} // namespace host

// File-out of the count sheet through the host export engine, which asks for the file. Number
// columns carry numbers, never a shown text with its thousands separators.

// The entry grid of input mode: its columns from the stock code to the note, the plan-tracking
// number only in plan-tracking mode, typed and sized by the column-type dictionary (key: the
// column number); one row per count line, the totals row left out. Nothing when the grid has no
// rows.
void exportEntryGrid(host::ui::SpreadGrid &grid, bool mtoPlanMode,
                     const host::Dictionary &colTypes);

// The ledger of check and print mode: its visible columns, captions from its title row, number
// columns by the column template; every row below the title rows, as the engine makes them.
void exportLedger(host::ui::LedgerGrid &ledger, const std::vector<ColumnTemplate> &columns,
                  MainDo &sheet);
