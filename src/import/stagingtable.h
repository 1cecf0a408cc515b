#pragma once

#include <string>

// The table an import run stages its accepted rows in: the columns of a count line plus the
// sheet record number. One per run, an ordinary table of the host database.
namespace StagingTable {

// "IcInvBackUpTemp_<user>_<yymmddhhmmss>" for a run started at the given date serial.
std::string name(long userId, double startTime);
// The Create Table statement, every line ended by CR LF.
std::string createSql(const std::string &tableName);

} // namespace StagingTable
