#pragma once

#include <string>

namespace PubVariant {

// Imports the counted quantities of a spreadsheet file into the current count process.
bool ImportFromExcel(const std::string &fileName);

} // namespace PubVariant
