#pragma once

#include <string>
#include <variant>
#include <vector>

using BareCell = std::variant<std::string, double>;

// A plain program's export of cells it holds, the first row the captions: libxlsxwriter makes
// the workbook (constant memory, as the module's) with bold captions; the rows, whose numbers
// libxlsxwriter would write with 16 digits rather than the shortest that read back the same,
// are streamed into the sheet through libzip at its fastest deflate level, numbers as numbers,
// empty cells left out.
void bareExport(const std::string &path, const std::vector<std::vector<BareCell>> &cells);
