#pragma once

#include <string>
#include <string_view>

// A template caption as the sheet's lists show it: trimmed and cut to one character less than
// the stored caption had, which drops the "$" the template ends its captions with. Characters
// are counted, not UTF-8 bytes.
std::string shownCaption(std::string_view caption);
