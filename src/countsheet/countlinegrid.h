#pragma once

#include "countsheet/countline.h"

namespace host::ui {
class SpreadGrid;
}

// The count lines of the entry grid's rows. Numbers are the cells' values, never the texts they
// show; texts are trimmed.

// The line of a grid row. keyRead, when given, tells whether the key cells hold what finds the
// line: an item, unit and stock, ids that are numbers and a shelf-life date that reads as one.
CountLine readCountLine(const host::ui::SpreadGrid &grid, int row, bool *keyRead = nullptr);
// Only the numbers and ids of the line, all an edit's recompute needs; its texts stay empty.
CountLine readCountLineNumbers(const host::ui::SpreadGrid &grid, int row);
// The line as its row record holds it, all its statements need: its numbers, ids, key and
// note; its other texts stay empty.
CountLine readCountLineRecord(const host::ui::SpreadGrid &grid, int row, bool *keyRead);

// Writes the columns of the line into the row; a blank column leaves its cell empty.
void writeCountLine(host::ui::SpreadGrid &grid, int row, const CountLine &line,
                    const ColumnSet &columns);

// Makes the grid's addressed cells the number cells of an entry-grid column: its type, limits,
// grouping and the decimals its rule gives beyond the line's own, which the caller sets.
void setUpNumberCells(host::ui::SpreadGrid &grid, const EntryColumn &column);
