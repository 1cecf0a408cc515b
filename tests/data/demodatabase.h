#pragma once

#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"

#include <memory>
#include <string>
#include <vector>

// Helpers of the data tests: a fresh in-memory database and short ways to read it.

std::unique_ptr<host::AppConnection> openMemoryDatabase();

// The first field of the first row; Empty when the query gives no row.
host::Variant scalar(host::AppConnection &connection, const std::string &sql);

// All rows, every field as text (CStr), for comparing whole tables.
std::vector<std::vector<std::string>> rowsAsText(host::AppConnection &connection,
                                                 const std::string &sql);
