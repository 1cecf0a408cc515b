#pragma once

#include "host/core/dictionary.h"

#include <string>

namespace PubVariant {

// The insert of one staged row into the run's staging table, built from its row record (every
// key of the record must be present); twelve lines, each ended by CR LF. Book quantities and
// differences are written as 0 for the direction check to fill. Texts go between quotes safely.
// After a failure it reports "GetInsertTempSQL失败!" and returns an empty text.
std::string GetTempInsertSQL(const host::Dictionary &row);

} // namespace PubVariant
