#pragma once

#include <string>

namespace PubVariant {

// Imports the counted quantities of a spreadsheet file into the current count process: reads
// the file through the host spreadsheet reader, refuses a sheet without data lines or whose
// column 11 is not headed as the plan-tracking mode expects, and runs the import on it. Shows
// its own messages. False when the sheet had no data line or reading it failed.
bool ImportFromExcel(const std::string &fileName);

} // namespace PubVariant
