#pragma once

#include <string_view>

// Raises the module's error for a window or function this build does not have.
[[noreturn]] void raiseNotAvailable(std::string_view what);
