#pragma once

#include "host/db/appconnection.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace testdb {

// The host tables that the module's statements touch, with SQL Server types as the host
// declares them (only the columns the statements use).
void createHostTables(host::AppConnection &db);

// Lines joined and ended by CR LF, as the module builds its batches.
std::string crlf(std::initializer_list<std::string_view> lines);

// The first field of the first row.
host::Variant scalar(host::AppConnection &db, std::string_view sql);

} // namespace testdb
