#pragma once

#include "host/core/variant.h"

#include <filesystem>
#include <vector>

struct XlsWriting
{
    // The cells under the first row as formulas whose results are the values, Null ones too.
    bool formulas = false;
    // An Excel 5 workbook, its texts in the code page of Simplified Chinese.
    bool excel5 = false;
    // The workbook in the short sectors a compound document keeps small streams in.
    bool shortStream = false;
    // A chart sheet listed before the worksheet.
    bool chartFirst = false;
};

// Writes cells as the first worksheet of an Excel 97-2003 workbook: a BIFF8 stream (or BIFF5) in
// a compound document, as small as a reader accepts, of any size. Numbers become number cells,
// TRUE, FALSE and the texts of error values ("#N/A") logical and error cells, everything else text
// cells from the shared string table (or of their own); Null cells are left out.
void writeXls(const std::filesystem::path &file,
              const std::vector<std::vector<host::Variant>> &rows, const XlsWriting &how = {});
