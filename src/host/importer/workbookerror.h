#pragma once

#include "host/core/hosterror.h"

#include <filesystem>
#include <string>

namespace host {

// The error of a workbook that cannot be read: the file and what is wrong with it.
class WorkbookError : public HostError
{
public:
    WorkbookError(const std::filesystem::path &file, const std::string &what)
        : HostError("Cannot read the workbook " + file.string() + ": " + what)
    {}
};

} // namespace host
