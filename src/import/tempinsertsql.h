#pragma once

#include "host/core/variant.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct StagingRow;
struct StagingRun;

namespace PubVariant {

// The insert of one staged row into the run's staging table; twelve lines, each ended by CR LF.
// Book quantities and differences are written as 0 for the direction check to fill. Texts go
// between quotes safely. After a failure it reports "GetInsertTempSQL失败!" and returns an
// empty text.
std::string GetTempInsertSQL(const StagingRun &run, const StagingRow &row);

} // namespace PubVariant

// The staging table's columns in the order tempInsertValues gives them.
extern const std::array<std::string_view, 31> kTempInsertColumns;

// The values GetTempInsertSQL writes into each column, as the database reads them from its
// text: for binding to a prepared insert that stores what the statement would.
void tempInsertValues(const StagingRun &run, const StagingRow &row,
                      std::vector<host::Variant> &values);
