#pragma once

#include <string>

struct sqlite3;

// The count sheet of a show type (1 check, 3 print with every item, 4 input) of count process 1
// as SQLite itself would be asked for it: the same joins, columns, case expressions, rounding,
// condition and order as the module's query, so that each column holds the module's value. It
// sorts by the TSQL collation and rounds with round_decimal.
std::string bareSheetQuery(long showType, const std::string &condition = {});

// What the query needs of the connection: the TSQL collation, texts sorted as SQL Server sorts
// them, and round_decimal(value, decimals), a decimal rounded to its scale as the module's
// database rounds it (half away from zero, within the 15 digits of a double). SQLite's own
// round() goes through text, several times slower, and may differ in the last digit.
void registerSheetFunctions(sqlite3 *db);
