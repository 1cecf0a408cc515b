#pragma once

#include "countsheet/countline.h"

// The arithmetic of a count line as input mode works it: what an edit recomputes, what the bills
// selected for the line change, and the checks a line must pass before it is saved.

// True when an edit of the column changes what the line saves: the counted quantities, the
// adjustment, the second unit's rate and the note.
bool editFeedsSave(int col);

// Recomputes the line's dependent quantities after an edit of the column; the columns it wrote.
// Nothing is rounded: the line keeps every digit of its values.
ColumnSet recomputeLine(CountLine &line, int col);

// The bill quantities of the bills selected for the line: its actual quantities follow, as after
// an edit of the base counted quantity. The columns written.
ColumnSet takeBillQuantities(CountLine &line, double diffQty, double secDiffQty);

// The checks of a line before it is saved, in this order; 0 accepted.
enum LineCheck : long
{
    LineAccepted = 0,
    // A negative book quantity with the actual quantity below it.
    NegativeBookBelow = 1,
    // The base-unit and second-unit differences point different ways, or only the second unit
    // has one.
    DirectionConflict = 2
};
// The differences are taken at the database's scale, so a difference made only of the double
// arithmetic's last bits, which the database stores as 0, is 0.
long checkLine(const CountLine &line);
