#pragma once

#include "host/core/dictionary.h"
#include "host/core/variant.h"

#include <string>

namespace host {
class Recordset;
}
class SheetRow;
struct BaseDataDicts;

namespace PubVariant {
// defaultText when v is Null, otherwise v as text.
std::string NullToStr(const host::Variant &v, const std::string &defaultText);
} // namespace PubVariant

// What every staged row of one run shares.
struct StagingRun
{
    std::string tableName;
    std::string backupTime; // "YYYY-MM-DD HH:MM:SS"
    long maxBillInterID = 0;
    bool mtoPlanMode = false;
};

// Writes the row record of an accepted sheet record into row (every key anew): the ids from
// the base data, the quantities of the sheet, and the second-unit rate and adjustment computed
// from the counted quantities. units is the unit recordset (FCoefficient by FMeasureUnitID); a
// unit without a row there, a date or number cell that cannot be read, is an error.
void fillStagingRow(host::Dictionary &row, const SheetRow &sheet, const BaseDataDicts &dicts,
                    host::Recordset &units, const StagingRun &run, long recordNo);
