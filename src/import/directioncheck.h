#pragma once

#include <memory>
#include <string>

namespace host {
class Recordset;
}

namespace PubVariant {

// Completes the staged rows with the book quantities of the count lines they will overwrite,
// computes both differences, and removes the rows whose base and second-unit differences point
// different ways. Returns those rows' FRowNum. A failure is reported as "GetErrRecordSet!" and
// thrown on: rows that were not checked, or refused and not removed, must not be merged.
std::shared_ptr<host::Recordset> CheckTempUnitDirection(const std::string &tableName);

} // namespace PubVariant
