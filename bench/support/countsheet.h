#pragma once

#include "host/db/appconnection.h"
#include "host/ui/modal/scriptedmodals.h"

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

// The demo company on a database file with one open count process (id 1) of `lines` lines
// over its items, stocks and places: every tenth line has a shelf life, items with a second
// unit have second-unit quantities. One database at a time, in a temporary folder; asking for
// another size replaces it.
std::shared_ptr<host::AppConnection> countSheetDatabase(long lines);
sqlite3 *countSheetHandle(long lines);

// The module as the host hands it a count sheet: connection, operator 16, the show type, no
// filter, settings kept away from the user's own; messages and file dialogs are answered by the
// modals returned.
host::ui::ScriptedModals &setUpCountSheet(long lines, long showType);

// The count sheet of a show type (1 check, 3 print with every item, 4 input) as SQLite itself
// would be asked for it: the same joins, columns, case expressions, condition and order.
std::string bareSheetQuery(long showType, const std::string &condition = {});

// Steps a query, reading every column of every row and keeping nothing but, when named, the
// totals of columns, each line's value rounded to its FQtyDecimal first; the rows stepped.
long stepQuery(sqlite3 *db, const std::string &sql, const std::vector<std::string> &summed = {});
