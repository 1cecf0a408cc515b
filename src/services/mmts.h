#pragma once

#include "host/core/dictionary.h"
#include "host/core/variant.h"
#include "host/core/vector.h"

#include <memory>
#include <string>
#include <string_view>

// Links to host services: help, shared properties (the host context string, the user's name)
// and row-level data access.
namespace MMTS {

// Opens the help topic on F1 (key code 112); any other key does nothing and returns false.
bool ShowHelp(int keyCode, long arg2, std::string_view topic, long arg4, std::string_view subSystem,
              long arg6);

// The user's row-level access as SQL fragments: from is joined after the query's last table,
// where after its conditions with " and ", each only when not empty. Both stay as given when
// access rules are not in use. Errors reach the caller. tableNames holds table names,
// descriptors holds dictionaries with "DataTable", "DataTableAs", "DataCol", "BillTableAs" and
// "BillCol".
// A descriptor: the base-data table whose rights apply, its alias in the fragment, and the
// alias and column of the caller's table that hold its key (matched to its FItemID).
std::shared_ptr<host::Dictionary> AccessDescriptor(std::string_view table, std::string_view tableAs,
                                                   std::string_view billTableAs,
                                                   std::string_view billCol);

// The user's row-level access to the stocks and items of count lines under the alias t1, as a
// join fragment (mode True); errors reach the caller.
void GetCountLineAccessSQL(long userId, std::string &from, std::string &where);

bool GetDataAccessSQL(const std::string &propsString, long userId, host::Vector &tableNames,
                      host::Vector &descriptors, std::string &from, std::string &where, bool mode);

// Asks the host's shared properties for this process's property; a new component per call.
host::Variant GetShareProperty(std::string_view name);
// Neither keeps the value: each call asks the host again.
std::string GetPropsString();
std::string GetUserName();

} // namespace MMTS
