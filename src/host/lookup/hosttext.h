#pragma once

#include <QString>

#include <string_view>

namespace host {

// A caption of the host's own windows in the language of the host context string
// ("LANGUAGE=" of the shared property "PropsString"); the text itself for Simplified Chinese.
QString hostText(std::string_view source);

} // namespace host
