#pragma once

#include <string>
#include <string_view>

namespace backup {

// Statements are sent as lines joined by CR LF, the way the host database expects its batches.
inline constexpr std::string_view kCrLf = "\r\n";

// Appends the pieces and a line break.
template <typename... Pieces> void addLine(std::string &sql, const Pieces &...pieces)
{
    ((sql += pieces), ...);
    sql += kCrLf;
}

} // namespace backup
