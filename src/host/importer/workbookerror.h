#pragma once

#include "host/core/hosterror.h"

#include <filesystem>
#include <string>

namespace host {

// The error of a workbook that cannot be read: the file and what is wrong with it.
inline HostError workbookError(const std::filesystem::path &file, const std::string &what)
{
    return HostError("Cannot read the workbook " + file.string() + ": " + what);
}

} // namespace host
