#include "command_initdb.h"

#include "democount.h"

#include "sampledata/sampledata.h"
#include "sampledata/schema.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"

#include <sqlite3.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

namespace {

constexpr int kFailed = 1;

// Whether the file is a database with at least one table in it. Asked of SQLite itself: the
// question is about the file, not about the host's tables.
bool holdsTables(const std::filesystem::path &path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) || std::filesystem::file_size(path, ec) == 0)
        return false;
    sqlite3 *db = nullptr;
    bool tables = true; // a file SQLite cannot read is not ours to overwrite either
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, "select count(*) from sqlite_master where type = 'table'", -1,
                               &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            tables = sqlite3_column_int(statement, 0) > 0;
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return tables;
}

void removeDatabase(const std::filesystem::path &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(path.string() + suffix);
}

// Builds the database beside its place and moves it there when complete, so a failure never
// leaves a half-made database behind. The scaled company is book stock for the benchmarks to
// count; only the demo company gets a count of its own.
sampledata::SampleSummary createDatabase(const std::filesystem::path &path, long rows,
                                         bool withCount)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    const std::filesystem::path building = path.string() + ".building";
    removeDatabase(building);
    sampledata::SampleSummary summary;
    try {
        const auto connection = std::make_shared<host::AppConnection>();
        connection->openDatabase(building.string());
        sampledata::createSchema(*connection);
        sampledata::SampleOptions options;
        options.rows = rows;
        summary = sampledata::generateSampleData(*connection, options);
        if (withCount && rows == 0)
            makeDemoCount(connection);
        connection->close();
    } catch (...) {
        removeDatabase(building);
        throw;
    }
    removeDatabase(path);
    std::filesystem::rename(building, path);
    return summary;
}

bool create(const std::filesystem::path &path, long rows, bool withCount, std::ostream &report)
{
    try {
        const auto summary = createDatabase(path, rows, withCount);
        report << "stockcheck: created " << path.string() << ": " << summary.stocks << " stocks, "
               << summary.items << " items, " << summary.stockRows << " rows of book stock, "
               << summary.bills << " stock bills"
               << (withCount && rows == 0 ? ", one count of the current stock" : "") << "\n";
        return true;
    } catch (const host::HostError &error) {
        std::cerr << "stockcheck: cannot create " << path.string() << ": " << error.Description()
                  << "\n";
    } catch (const std::exception &error) {
        std::cerr << "stockcheck: cannot create " << path.string() << ": " << error.what() << "\n";
    }
    return false;
}

} // namespace

int runInitDb(const Options &options)
{
    if (!options.force && holdsTables(options.database)) {
        std::cerr << "stockcheck: " << options.database.string()
                  << " already holds a database; use --force to replace it\n";
        return kFailed;
    }
    return create(options.database, options.rows, !options.noCount, std::cout) ? 0 : kFailed;
}

bool ensureDatabase(const Options &options)
{
    // A server's database is the company's own; the program makes only its own file.
    if (!options.odbc.empty())
        return true;
    // An empty file counts as missing: opening a database that is not there leaves one.
    if (holdsTables(options.database))
        return true;
    // Only the default database is made on first use: a named one that is not there is most
    // likely a mistyped name.
    if (options.databaseGiven) {
        std::cerr << "stockcheck: no database at " << options.database.string()
                  << "; make one with: stockcheck --db " << options.database.string()
                  << " init-db\n";
        return false;
    }
    // Standard output belongs to the command that asked for the database.
    return create(options.database, 0, true, std::cerr);
}
