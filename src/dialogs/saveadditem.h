#pragma once

#include "services/countrecords.h"

#include <string>

namespace host {
class Variant;
}

// One count line entered by hand, in the counting unit of the line.
struct AddedLine
{
    CountLineKey key;       // FInterID is the current count process
    double qty = 0;         // counted quantity in the counting unit
    double coefficient = 0; // counting unit to base unit
    double adjQty = 0;      // adjustment
    long secUnitId = 0;     // 0 when the item has no second unit
    double secQty = 0;      // counted quantity in the second unit
    std::string note;
};

// The batch that adds the line to the count lines, to be run in a transaction: a new line, or
// the quantities added to the line of the same key; both then get their differences from the
// same recompute, and a line whose base and second-unit differences point different ways is
// refused with refusedMessage raised at severity 16, on which the caller rolls back. A new line's
// second-unit adjustment follows from its adjustment by the rate of its two counted quantities.
std::string addItemBatchSQL(const AddedLine &line, const std::string &backupTime,
                            long maxBillInterId, const std::string &refusedMessage);

namespace PubVariant {

// Adds a line entered by hand to the current count process (gCurInterID). With the duplicate
// alert on, asks before adding to a line of the same key. True when the batch committed; false
// when the user declined or after a failure, which it has shown.
bool SaveAddItem(long lItemID, long lUnitID, long lStockID, const std::string &sBatchNo,
                 const std::string &sMtoNo, const host::Variant &vQty, const std::string &sNote,
                 long lSPID, const std::string &sKFDate, long lKFPeriod, double dCoefficient,
                 long lAuxPropID, double dAdjQty, long lSecUnitID, double dSecQty);

} // namespace PubVariant
