#pragma once

#include <filesystem>
#include <string>

// Why the file cannot be imported, checked before the module is asked to: it does not exist, is a
// file of the host's database or is no spreadsheet (.xls or .xlsx by its first bytes). Empty when
// it can be tried.
std::string importFileRefusal(const std::filesystem::path &file);
