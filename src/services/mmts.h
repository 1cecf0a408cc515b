#pragma once

#include "host/core/variant.h"

#include <string>
#include <string_view>

// Links to host services: shared properties (the host context string, the user's name).
namespace MMTS {

// Asks the host's shared properties for this process's property; a new component per call.
host::Variant GetShareProperty(std::string_view name);
// Neither keeps the value: each call asks the host again.
std::string GetPropsString();
std::string GetUserName();

} // namespace MMTS
