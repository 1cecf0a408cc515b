#pragma once

#include "dialogs/querycolumn.h"

#include <string>
#include <vector>

// The criteria of a find over the count-sheet recordset, in the recordset filter's syntax:
// one "field op value AND " per query column with a search value. searchMode 1 matches a part
// of a text, 0 the whole value. The codes of items, stock places and stocks are matched on
// their short numbers unless full numbers are in use (useShortNumber). Quotes in a value are
// doubled.
std::string findCriteria(const std::vector<QueryColumn> &columns, long searchMode,
                         bool useShortNumber);
