#pragma once

#include "host/core/dictionary.h"
#include "host/core/variant.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace host {
class Recordset;
}

// The sheet of an import as the reader hands it over: columns are found by position, each
// position under a fixed internal name.
namespace ImportSheet {

// Internal column name -> 0-based field index. With the plan-tracking mode on the sheet has the
// plan-tracking number at 10 and every later column one place further right.
std::shared_ptr<host::Dictionary> columnMap(bool mtoPlanMode);

// A cell as text for keys and messages: Null gives the empty text.
std::string cellText(const host::Variant &cell);

} // namespace ImportSheet

// The current record of the sheet, read by internal column names (the column map as it is when
// the row is made).
class SheetRow
{
public:
    SheetRow(host::Recordset &sheet, const host::Dictionary &columns);

    host::Variant cell(std::string_view column) const;
    // The cell's text unchanged (Null gives the empty text).
    std::string text(std::string_view column) const;
    std::string trimmed(std::string_view column) const;
    // Null, or blanks only.
    bool isEmpty(std::string_view column) const;
    // The trimmed texts of a number and a name column joined by "|".
    std::string key(std::string_view numberColumn, std::string_view nameColumn) const;

private:
    struct NameHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view name) const
        {
            return std::hash<std::string_view>{}(name);
        }
    };

    host::Recordset &m_sheet;
    const host::Dictionary &m_columns;
    // Positions by the names as the map spells them, read row after row without folding case.
    std::unordered_map<std::string, long, NameHash, std::equal_to<>> m_positions;
};
