#pragma once

#include "dialogs/querycolumn.h"
#include "host/core/variant.h"

#include <string>
#include <vector>

namespace host {
class Recordset;
}

// Steps through the count-sheet lines that match the find dialog's entries, one match per
// step, in the sheet's current order. The count of matches visited lives as long as the
// window; it starts again after the last match, and when the criteria change.
class SheetFinder
{
public:
    enum class Outcome
    {
        NoSheet,    // no recordset or no lines: nothing to search
        NoCriteria, // no search value in any entry
        Found,
        NotFound // past the last match (the next step starts at the first again)
    };
    struct Step
    {
        Outcome outcome;
        host::Variant bookmark; // of the match in the sheet, when found
    };

    // Errors of the criteria (a value the filter cannot read) reach the caller; the count of
    // visited matches is then left as it was.
    Step find(host::Recordset *sheet, const std::vector<QueryColumn> &columns, long searchMode,
              bool useShortNumber);

    long visited() const { return m_visited; }

private:
    long m_visited = 0;
    std::string m_lastFilter;
};
