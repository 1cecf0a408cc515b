#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace host {

// The language the host runs in ("CHS", "CHT" or "EN"), for the texts of its own windows and
// messages; the host program sets it once from its command line. CHS until set.
void setHostLanguage(std::string language);
const std::string &hostLanguage();

// A text of the host's own windows, given in Simplified Chinese, in the host's language.
std::string hostText(std::string_view source);
QString hostCaption(std::string_view source);

} // namespace host
