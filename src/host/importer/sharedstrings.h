#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class SheetGrid;
class ZipArchive;

// The shared-string table of an .xlsx workbook: every text end to end in one buffer, so that a
// table of many short texts costs little more than the texts.
class SharedStrings
{
public:
    // Reads the table, when the workbook has one; what it keeps is charged to the grid's budget.
    SharedStrings(const ZipArchive &archive, SheetGrid &grid);

    // The text at the index; empty for an index past the table.
    std::string_view at(std::uint64_t index) const;

private:
    std::string m_text;
    std::vector<std::uint64_t> m_ends;
};

} // namespace host
