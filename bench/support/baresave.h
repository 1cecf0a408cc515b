#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

// The save of a count's lines as a plain program writes it for SQLite.

// The values of one line as the save writes them.
struct LineValues
{
    std::vector<double> set; // FCheckQty .. FSecAdjQty, FNote apart
    std::string note;
    double coefficient = 0;
    std::vector<long long> key; // FStockID, FItemID, FStockPlaceID, FKFPeriod, FAuxPropID, FUnitID
    std::string kfDate, batchNo, mtoNo;
};

// The lines of count process 1 that the count sheet shows, as stored.
std::vector<LineValues> sheetLines(sqlite3 *db);

using PlainConnection = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;

// A plain program's own connection to the file, set as the module's is (WAL, synchronous=NORMAL,
// no mutex), its texts compared as SQL Server compares them, as the file's indexes order them.
PlainConnection openPlain(const std::string &path);

// The statement that leaves the lines of a table as the backup writes them: quantities held to
// their scale as the module stores them, without the checker, note and differences a save writes
// first. It needs the T-SQL layer's functions on the connection (host::tsql::registerFunctions).
std::string asBackedUp(const std::string &table);

// A plain program's save of every line: its own connection to the file, the two UPDATEs
// prepared once, the lines sent in the key index's order, each line's values bound, 100 lines
// a transaction; a line that matched nothing is counted, as the save tells it. It finds a line
// through the whole key's index, the date compared as stored, and writes only the lines the
// sheet shows (an item deleted since stays out of it): a baseline on the module's connection
// that also wrote the hidden lines measured a save the module never does.
long bareSave(const std::string &path, const std::vector<LineValues> &lines);
