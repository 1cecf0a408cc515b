#pragma once

struct CountLine;

namespace host::ui {
class SpreadGrid;
}

// The module's current-line values: the count line in focus in the entry grid, which the
// select-bills window reads, and the quantities of the line last read or edited.

// Copies the count line of an entry-grid row for the select-bills window: the line's key, its
// code and stock name for the captions, its book and counted quantities and the decimals of its
// quantities. A blank id cell gives 0, a blank production date an empty text.
void copyCurrentLine(const host::ui::SpreadGrid &vsCheck, int row);

// Keeps the quantities of a line read or edited, with its stock and auxiliary property.
void keepCurrentLine(const CountLine &line);
