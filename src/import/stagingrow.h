#pragma once

#include "host/core/variant.h"

#include <string>
#include <unordered_map>

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

// The coefficient of each counting unit to the base unit, taken once from the run's unit
// recordset (FCoefficient by FMeasureUnitID).
class UnitCoefficients
{
public:
    explicit UnitCoefficients(host::Recordset &units);
    // Throws HostError for a unit the recordset does not hold.
    double of(const host::Variant &unitId) const;

private:
    std::unordered_map<std::string, double> m_coefficients;
};

// The row record of one accepted sheet record: the ids from the base data, the texts and
// quantities of the sheet, and the second-unit rate and adjustment computed from the counted
// quantities.
struct StagingRow
{
    host::Variant itemId;
    host::Variant unitId;
    host::Variant stockId;
    host::Variant placeId;
    host::Variant auxPropId;
    host::Variant secUnitId;
    std::string batchNo;
    std::string mtoNo;
    std::string note;
    host::Variant kfDate; // a date, or the empty text
    double kfPeriod = 0;
    double adjQty = 0;
    double checkQty = 0;
    double secCheckQty = 0;
    double rate = 0; // base units per counted second unit
    double secQtyAct = 0;
    double secAdjQty = 0;
    double coefficientByUnit = 0;
    long rowNum = 0;
};

// Writes the row record of an accepted sheet record into row (every field anew). A unit
// without a coefficient, a date or number cell that cannot be read, is an error.
void fillStagingRow(StagingRow &row, const SheetRow &sheet, const BaseDataDicts &dicts,
                    const UnitCoefficients &units, bool mtoPlanMode, long recordNo);
