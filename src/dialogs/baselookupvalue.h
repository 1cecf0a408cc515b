#pragma once

#include <optional>
#include <string>

// The F7 lookup of the filter and find dialogs: opens the base-data lookup of an item class
// and returns the text to write into the value cell, or nothing when the class has no lookup
// or the user chose nothing. Classes: -55/-15 stock places (code/name), -5/5 stocks, 4/-4
// items (code/name). Failures of the lookup reach the caller.
std::optional<std::string> lookUpBaseValue(long itemClassId);
