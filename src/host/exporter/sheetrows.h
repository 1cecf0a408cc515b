#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The rows of a worksheet below its captions, as the workbook writer would stream them: inline
// strings, numbers as numbers, empty cells and rows left out. Numbers keep the shortest digits
// that read back as the same double, which the writer's 16 significant digits do not always do
// (9.3 would come out as 9.300000000000001).
class SheetRows
{
public:
    explicit SheetRows(long cols);

    // Rows count from 0 for the captions, so the first row of data is 1; each row follows the
    // one before it, and its cells in the order of their columns (from 0).
    void number(long row, long col, double value);
    void text(long row, long col, std::string_view text);
    // Closes the last row.
    void finish();
    // The text made since the last call, which it takes from the writer.
    void moveTo(std::string &out);
    std::size_t size() const { return m_buffer.size(); }

    // The last row given a cell, 0 when none was.
    long lastRow() const { return m_lastRow; }

private:
    void cell(long row, long col);

    std::vector<std::string> m_colNames;
    std::string m_buffer;
    std::string m_rowNumber;
    long m_lastRow = 0;
};

// Appends the shortest text of the value that reads back as it, in the writer's notation
// (100000, 1.5E-05, 1E+16).
void appendSheetNumber(std::string &out, double value);

} // namespace host
