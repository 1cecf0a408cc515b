#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

// The host's text formatter: "%1", "%2", ... are replaced by the arguments in order. A marker
// without an argument stays as written; "%%" is a literal percent sign.
std::string formatText(std::string_view text, const std::vector<std::string> &args);

} // namespace host
