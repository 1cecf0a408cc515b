#pragma once

#include <string>
#include <string_view>

namespace host {
class Variant;
}

// A template caption as the sheet's lists show it: trimmed and cut to one character less than
// the stored caption had, which drops the "$" the template ends its captions with. Characters
// are counted, not UTF-8 bytes.
std::string shownCaption(std::string_view caption);

// A date, or a text that reads as one, as the sheet shows it: "2024/05/01". Any other value is
// shown as its text.
std::string shownDate(const host::Variant &value);
