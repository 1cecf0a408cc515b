#pragma once

#include <cstdio>
#include <string>

namespace host {

// Puts the rows of the file (from its start) after the captions of the first worksheet of a
// workbook the writer made with its captions only, and widens the sheet's dimension to the
// last row given a cell (counted from 0 for the captions) over cols columns. The sheet is
// deflated at the fastest level. Throws HostError when the workbook cannot be read or written.
void insertSheetRows(const std::string &workbook, std::FILE &rows, long lastRow, long cols);

} // namespace host
