// Another program's connection to a database file, for tests whose point is what a second
// process sees of the locks the test's own process holds: SQLite shares its locks between the
// connections of one process, so only another process can tell whether they are really held.
//
//   other_connection FILE [SQL]
//
// Takes the write lock at once, without waiting, runs the statements and commits, then closes
// the connection as a program that ends does. Prints the rows the statements yield, a line each
// with its values separated by tabs, then "written"; or "locked" when another connection holds
// the write lock. Any other failure is printed with status 1.
#include "host/db/sqlite/sqlitedb.h"
#include "host/db/tsql/tsqlfunctions.h"

#include <sqlite3.h>

#include <cstdio>
#include <string>

namespace {

int printRow(void *, int columns, char **values, char **)
{
    for (int i = 0; i < columns; ++i)
        std::printf("%s%s", i > 0 ? "\t" : "", values[i] ? values[i] : "NULL");
    std::puts("");
    return 0;
}

int run(sqlite3 *db, const std::string &sql)
{
    return sqlite3_exec(db, sql.c_str(), printRow, nullptr, nullptr);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FILE [SQL]\n", argv[0]);
        return 2;
    }
    host::sqlite::guardEveryConnection();
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        // The program's collation, which the tables' indexes are ordered by.
        host::tsql::registerFunctions(db);
        rc = run(db, "BEGIN IMMEDIATE");
    }
    if ((rc & 0xFF) == SQLITE_BUSY) {
        std::puts("locked");
        sqlite3_close(db);
        return 0;
    }
    if (rc == SQLITE_OK && argc == 3)
        rc = run(db, argv[2]);
    if (rc == SQLITE_OK)
        rc = run(db, "COMMIT");
    if (rc != SQLITE_OK)
        std::printf("failed: %s\n", sqlite3_errmsg(db));
    else
        std::puts("written");
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
}
