#pragma once

#include "host/core/variant.h"

#include <filesystem>
#include <vector>

// Writes cells as the first worksheet of an Excel 97-2003 workbook: a BIFF8 stream in a compound
// document, as small as a reader accepts. Numbers become number cells, everything else text
// cells from the shared string table; Null cells are left out.
void writeXls(const std::filesystem::path &file,
              const std::vector<std::vector<host::Variant>> &rows);
