#pragma once

#include <string>

// Reads the first worksheet of an Excel 97-2003 workbook as a plain program would: the file read
// whole, the workbook's stream gathered through the allocation table, its shared texts decoded
// to UTF-8 once, then the sheet's cells made into texts and numbers one line at a time. It
// reads what the bench writes (shared texts, numbers in records of their own or in rows of
// them), not every workbook. Returns how many cells held a value; throws std::runtime_error on
// a file it cannot read.
long bareReadXls(const std::string &path);
