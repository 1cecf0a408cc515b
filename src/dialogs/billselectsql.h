#pragma once

#include <string>

// The statements of the bill selection: the stock bills and plan-tracking changes posted after a
// count's snapshot that move the stock of one count line, and the marks that tell which count
// process took a bill line. Texts are quoted safely, numbers written in decimal.

// What a bill line must match of the count line.
struct BillSelectLine
{
    long stockId = 0;
    long itemId = 0;
    std::string batchNo;
    std::string mtoNo;
    long stockPlaceId = 0;
    long auxPropId = 0;
    long kfPeriod = 0;
    std::string kfDate; // 'YYYY-MM-DD', '' for none
};

// The query options that come from the count process and the user.
struct BillSelectOptions
{
    long procId = 0;
    // Conditions that keep what was posted after the snapshot: on stock bills ("AND u1....")
    // and on plan-tracking changes (a WHERE clause).
    std::string billCondition;
    std::string changeCondition;
    bool shortNumber = false;   // item codes by FShortNumber
    bool planMode = false;      // plan-tracking changes are listed too
    std::string billTypeName;   // the bill-type name column of the user's language
    std::string changeTypeName; // the change-type name column of the user's language
};

// The snapshot conditions of a count process: after its cut-off date (backup type 2), else after
// the highest bill and change ids it saw.
void setSnapshotConditions(BillSelectOptions &options, long backupType, const std::string &cutDate,
                           long maxInterId, long maxChangeId);

// The 22-column list of the bill lines, ordered by bill date and number.
std::string billSelectSQL(const BillSelectLine &line, const BillSelectOptions &options);

// Marks a bill line as taken by the process (0 frees it); type 1107011 is a plan-tracking change.
std::string markBillEntrySQL(long billId, long entryId, long procId, long type);

inline constexpr long kPlanTrackingChangeType = 1107011;
