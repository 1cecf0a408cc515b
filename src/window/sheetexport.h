#pragma once

#include "services/columntemplate.h"

#include <vector>

namespace host {
class Dictionary;
namespace ui {
class LedgerGrid;
class SpreadGrid;
} // namespace ui
} // namespace host

// File-out of the count sheet through the host export engine, which asks for the file.

// The entry grid of input mode: columns 2 to 33, the plan-tracking column 12 only in
// plan-tracking mode, typed and sized by the column-type dictionary (key: the column number);
// one row per count line, the totals row left out. Nothing when the grid has no rows.
void exportEntryGrid(host::ui::SpreadGrid &grid, bool mtoPlanMode,
                     const host::Dictionary &colTypes);

// The ledger of check and print mode: its visible columns, captions from its title row, number
// columns by the column template; every row below the title rows.
void exportLedger(host::ui::LedgerGrid &ledger, const std::vector<ColumnTemplate> &columns);
