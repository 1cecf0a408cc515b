#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace host {

// A stream at the top of a compound document, the container of an .xls workbook, read whole.
// The first of the names found is taken, its case ignored. Nothing the file says is trusted:
// every chain of sectors is followed within the file and no further than it has sectors, and a
// stream its chain cannot hold is damage. Throws WorkbookError when the file is damaged or has
// none of the streams.
std::string readCompoundStream(const std::filesystem::path &file,
                               std::initializer_list<std::string_view> names);

} // namespace host
