#pragma once

#include <sqlite3.h>

namespace host::tsql {

// Registers on a connection what the translated statements call: the collation TSQL (SQL
// Server's default: case-insensitive, trailing blanks ignored), SQL Server's built-in functions
// as tsql_* functions, the conversions on assignment, and the catalogue view sysobjects.
void registerFunctions(sqlite3 *db);

// The collation's comparison, for callers that sort or compare texts the same way.
int compareText(const char *a, int lengthA, const char *b, int lengthB);

} // namespace host::tsql
