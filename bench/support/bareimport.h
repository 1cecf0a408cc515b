#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace host {
class Recordset;
}

// The import of a count sheet as a plain program writes it for SQLite, and the workbook the
// import benchmarks read.

// Writes the sheet as the count sheet's export does: a header line, then one line per record,
// numbers as numbers and texts as texts, empty cells left out.
void writeWorkbook(const std::filesystem::path &file, host::Recordset &sheet);

// The sheet of a count: a line for each count line whose item takes it as it stands (a batch
// exactly where the item is batch-managed, an auxiliary property exactly where it has a class, a
// production date and shelf life exactly where it tracks them), each counted one more than the
// book in its counting unit and, where it has a second-unit quantity, in the second unit: so
// that no line is refused. Without the plan-tracking mode a sheet carries no plan-tracking
// number, so only lines without one can match.
std::string sheetQuery(long long interId, long sheetLines);

// A workbook to import into a count of a database, as the operator.
struct BareImport
{
    sqlite3 *db;
    std::filesystem::path workbook;
    long long interId;
    long operatorId;
};

// The same work as the module's import written for SQLite directly: the same base data read into
// hash maps, the same workbook read from disk as it streams out of the archive, the same row
// checks, the same staging rows through one prepared statement in the module's batches, the same
// direction check (completion from the count lines and refusal of rows whose units disagree),
// then the same place correction, update and insert over the staging table in one transaction.
// It does not skip the row checks or the direction check: a baseline without them would measure
// less work than the module does. The connection needs the TSQL collation. The rows refused.
size_t bareImport(const BareImport &import);

// Every column of the count lines of a table as text with the type it is stored as; the time of
// the import's staging, which each side takes when it runs, only when asked for.
std::string storedRows(const std::string &table, bool withBackupTime = false);
