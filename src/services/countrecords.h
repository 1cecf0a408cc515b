#pragma once

#include <string>
#include <string_view>

// The module's own records: the count line (a row of ICInvBackup) and the count process (a row
// of ICStockCheckProcess), with the difference rule every writer of count lines shares.

// The ten columns that identify a count line; a process holds at most one line per key.
struct CountLineKey
{
    long FInterID = 0;
    long FItemID = 0;
    long FAuxPropID = 0;
    long FUnitID = 0;
    std::string FBatchNo;
    std::string FMtoNo;
    std::string FKFDate; // 'YYYY-MM-DD', '' for none
    long FKFPeriod = 0;
    long FStockID = 0;
    long FStockPlaceID = 0;

    bool operator==(const CountLineKey &) const = default;
};

// How a condition on the key compares the shelf-life date: the row update and delete compare
// it as a date, adding a line by hand and the import compare the text.
enum class KFDateMatch
{
    AsDate,
    AsText
};

// "FInterID=1 AND FItemID=2 ..." over all ten columns (texts quoted safely); with an alias
// every column is qualified by it.
std::string countLineKeyCondition(const CountLineKey &key, KFDateMatch match,
                                  std::string_view alias = {});

enum class BackupType : long
{
    Unset = 0,
    CurrentStock = 1,
    CutOffDate = 2
};

struct CountProcess
{
    long FID = 0;
    std::string FProcessID;
    std::string FDate; // 'yyyy-mm-dd'
    long FOperatorID = 0;
    long FStatus = 0; // 0 open; the list shows 1 as audited
    std::string FRemark;
    BackupType FBackupType = BackupType::Unset;
    long FMaxBillInterID = 0;
    long FMaxMTOChangeID = 0;
};

namespace CountRules {

// The rule every writer of count lines refuses a line by, in SQL over its columns FMinus and
// FSecMinus: the base difference is zero and the second-unit one is not, or the two point
// different ways.
constexpr std::string_view kDirectionConflictSql =
    "(FMinus = 0 AND FSecMinus<>0) OR (FMinus > 0 AND FSecMinus< 0) OR (FMinus< 0 AND "
    "FSecMinus>0)";

} // namespace CountRules
