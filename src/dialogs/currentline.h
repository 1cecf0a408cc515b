#pragma once

namespace host::ui {
class SpreadGrid;
}

// Copies the count line of an entry-grid row into the module's current-line values, which the
// select-bills window reads: the line's key, its code and stock name for the captions, its book
// and counted quantities and the decimals of its book quantity. Id, period and quantity cells
// are read by their leading number (blank or non-numeric text gives 0); a production date that
// is blank or no date gives an empty text.
void copyCurrentLine(host::ui::SpreadGrid &vsCheck, int row);
