#pragma once

#include <memory>
#include <string>

namespace host {
class Recordset;
}

namespace PubVariant {

// Completes the staged rows with the book quantities of the count lines they will overwrite,
// computes both differences, and removes the rows whose base and second-unit differences point
// different ways. Returns those rows' FRowNum; after a failure it reports "GetErrRecordSet!" and
// returns what it has (nothing when the query itself failed).
std::shared_ptr<host::Recordset> CheckTempUnitDirection(const std::string &tableName);

} // namespace PubVariant
