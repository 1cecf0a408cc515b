#pragma once

#include "host/core/variant.h"

#include <string>
#include <string_view>

namespace host {

// The host date formatter (gDateFormatter): a date, or a text that reads as one, in a pattern
// such as "YYYY-MM-DD". Empty, Null and blank text give an empty text; other values are a
// TypeMismatch.
class DateFormatter
{
public:
    std::string format(const Variant &value, std::string_view pattern) const;
};

} // namespace host
