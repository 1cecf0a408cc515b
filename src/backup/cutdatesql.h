#pragma once

#include <string>

namespace backup {

// The texts that rebuild the book stock at a cut-off date from a period's opening balance and
// the audited movements since its first day.

// Periods that hold the cut-off date, and the current period.
std::string periodLookupSql(const std::string &cutDate, long curYear, long curPeriod);

struct CutDateBalance
{
    long processId = 0;
    std::string cutDate;   // 'YYYY-MM-DD'
    std::string startDate; // first day of the base period, 'YYYY-MM-DD'
    long baseYear = 0;
    long basePeriod = 0;
    long maxBillInterID = 0;
    std::string stock;  // stock ids joined by ","
    std::string filter; // "" or " and (...)" over t4 (item) and t5 (stock place)
};

// Empties ICInvBackupTemp and fills it with one row per opening balance and movement total.
std::string cutDateFillSql(const CutDateBalance &balance);

// The select over ICInvBackupTemp that the backup groups into count lines; ends in "where 1=1".
std::string cutDateSelectSql(const std::string &accessFrom);

} // namespace backup
