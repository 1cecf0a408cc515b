#include "countsheet/sheettext.h"

#include "host/core/datetime.h"
#include "host/core/variant.h"

#include <optional>

namespace {

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t charCount(std::string_view text)
{
    size_t count = 0;
    for (char c : text)
        if (!isContinuationByte(c))
            ++count;
    return count;
}

std::string leftChars(std::string_view text, size_t chars)
{
    size_t end = 0;
    for (size_t seen = 0; end < text.size(); ++end) {
        if (!isContinuationByte(text[end]) && seen++ == chars)
            break;
    }
    return std::string(text.substr(0, end));
}

} // namespace

std::string shownCaption(std::string_view caption)
{
    const size_t length = charCount(caption);
    return leftChars(host::Trim(caption), length == 0 ? 0 : length - 1);
}

std::string shownDate(const host::Variant &value)
{
    std::optional<double> date;
    if (value.type() == host::VariantType::Date)
        date = value.dateValue();
    else if (value.type() == host::VariantType::String)
        date = host::parseDate(value.stringValue());
    return date ? host::formatDate(*date, "YYYY/MM/DD") : host::CStr(value);
}
