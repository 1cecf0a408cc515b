#include "window/sheetfinder.h"

#include "host/db/recordset/recordset.h"
#include "window/findcriteria.h"

SheetFinder::Step SheetFinder::find(host::Recordset *sheet, const std::vector<QueryColumn> &columns,
                                    long searchMode, bool useShortNumber)
{
    if (!sheet || sheet->State() == host::Recordset::adStateClosed || sheet->RecordCount() == 0)
        return {Outcome::NoSheet, {}};
    const std::string criteria = host::Trim(findCriteria(columns, searchMode, useShortNumber));
    if (criteria.size() < 4)
        return {Outcome::NoCriteria, {}};
    // The sheet's own filter, if any, narrows the find further.
    const std::string filter = sheet->Filter().empty() ? criteria.substr(0, criteria.size() - 3)
                                                       : criteria + " (" + sheet->Filter() + ")";

    const auto clone = sheet->Clone();
    clone->Sort(sheet->Sort());
    clone->MoveFirst();
    clone->Filter(filter);
    const long visited = filter == m_lastFilter ? m_visited : 0;
    m_lastFilter = filter;
    if (clone->RecordCount() > visited) {
        clone->Move(visited);
        m_visited = visited + 1;
        return {Outcome::Found, clone->Bookmark()};
    }
    m_visited = 0;
    return {Outcome::NotFound, {}};
}
