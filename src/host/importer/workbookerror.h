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

// A workbook whose contents are encrypted with a password: nothing is wrong with the file, and
// the user must take the password off before it can be read.
class WorkbookLocked : public WorkbookError
{
public:
    explicit WorkbookLocked(const std::filesystem::path &file)
        : WorkbookError(file, "the workbook is protected by a password")
    {}
};

} // namespace host
