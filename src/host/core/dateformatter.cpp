#include "host/core/dateformatter.h"

#include "host/core/datetime.h"

namespace host {

std::string DateFormatter::format(const Variant &value, std::string_view pattern) const
{
    if (value.isEmpty() || value.isNull())
        return {};
    if (value.type() == VariantType::String && Trim(value.stringValue()).empty())
        return {};
    return formatDate(CDate(value), pattern);
}

} // namespace host
