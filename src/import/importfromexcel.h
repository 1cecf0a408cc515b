#pragma once

#include <string>

namespace PubVariant {

// Imports the counted quantities of a spreadsheet file into the current count process: reads
// the file through the host spreadsheet reader, refuses a sheet without data lines or whose
// column 11 is not headed as the plan-tracking mode expects (in Simplified Chinese, or as any
// of the module's languages shows that caption), and runs the import on the records as they
// are read. Shows its own messages. False when the sheet had no data line or opening it
// failed.
bool ImportFromExcel(const std::string &fileName);

} // namespace PubVariant
