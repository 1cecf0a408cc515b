#pragma once

#include <string>
#include <string_view>

namespace backup {

// The texts that find the items due for a cycle count. Both leave the due positions in #temp1;
// the caller's batch reads and drops it.

// The due date of an item's cycle, "... end as CurCycDate into #temp1": days, weeks (on the
// weekday FDaysPer, Monday first) or months (on the day FDaysPer of the month).
std::string dueDateSql();

// The due stock positions with their stock, item and unit names; an empty stockCondition takes
// every stock, else it is one stock id.
std::string checkCycItemSql(bool useFullNumber, std::string_view stockCondition);

// The stocks that hold at least one due item, ascending.
std::string checkCycStockIdSql();

} // namespace backup
