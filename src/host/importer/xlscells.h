#pragma once

#include "host/core/variant.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace host {

// A cell of an .xls workbook's first worksheet that the library reading the workbook does not
// give as it is: a formula, which it reads as empty, or TRUE, FALSE or an error value, which it
// reads as 1 or 0. The value is what an .xlsx workbook gives for the same cell: the result the
// workbook holds for the formula, TRUE or FALSE, or the error's text ("#N/A").
struct XlsCell
{
    std::uint16_t row;
    std::uint16_t column;
    Variant value;
};

// Those cells, in the order of their rows and columns, read from the workbook's records.
// Throws WorkbookError when the records are damaged.
std::vector<XlsCell> readXlsCells(const std::filesystem::path &file);

} // namespace host
