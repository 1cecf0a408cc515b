#pragma once

#include <functional>
#include <string>

namespace host {

// Puts rows after the captions of the first worksheet of a workbook the writer made with its
// captions only, and widens the sheet's dimension to lastRow (counted from 0 for the captions)
// over cols columns. rows(text) replaces the text with the next rows as the sheet is deflated
// (at the fastest level), and says whether more follow. Throws std::system_error when the system
// refused to write the workbook, HostError when it cannot be read or written otherwise, and what
// rows threw.
void insertSheetRows(const std::string &workbook, long lastRow, long cols,
                     const std::function<bool(std::string &)> &rows);

} // namespace host
