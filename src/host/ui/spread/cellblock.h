#pragma once

namespace host::ui {

// A rectangle of grid cells, in grid numbers (row 0 the header row, column 0 the row-number
// column). A whole dimension is what the vendor grid writes as -1.
struct CellBlock
{
    int col1 = 1;
    int col2 = 1;
    int row1 = 1;
    int row2 = 1;
    bool allCols = false;
    bool allRows = false;

    bool contains(int col, int row) const
    {
        return (allCols || (col >= col1 && col <= col2)) &&
               (allRows || (row >= row1 && row <= row2));
    }
};

} // namespace host::ui
