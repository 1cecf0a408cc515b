#pragma once

#include "host/core/variant.h"

#include <filesystem>
#include <vector>

namespace host {

// The cells of a worksheet, row by row from the first line; an empty cell is Null. Rows may be
// shorter than the widest one.
using SheetGrid = std::vector<std::vector<Variant>>;

// The first worksheet of an Excel 97-2003 workbook (.xls). Throws HostError when the file
// cannot be read.
SheetGrid readXls(const std::filesystem::path &file);
// The first worksheet of an Office Open XML workbook (.xlsx).
SheetGrid readXlsx(const std::filesystem::path &file);

// Either kind, told apart by the file's signature rather than its extension.
SheetGrid readWorkbook(const std::filesystem::path &file);

} // namespace host
