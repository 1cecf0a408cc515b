#include "command_initdb.h"

#include "sampledata/sampledata.h"
#include "sampledata/schema.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"

#include <sqlite3.h>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>
#include <system_error>

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct InitDbArguments
{
    long rows = 0;
    bool force = false;
};

std::optional<InitDbArguments> parseArguments(const std::vector<std::string> &arguments,
                                              std::string &error)
{
    InitDbArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view arg = arguments[i];
        if (arg == "--force") {
            parsed.force = true;
        } else if (arg == "--rows") {
            if (++i == arguments.size()) {
                error = "--rows needs a value";
                return std::nullopt;
            }
            const std::string_view value = arguments[i];
            const auto *end = value.data() + value.size();
            const auto result = std::from_chars(value.data(), end, parsed.rows);
            if (result.ec != std::errc() || result.ptr != end || parsed.rows <= 0) {
                error = "--rows needs a positive whole number, not '" + std::string(value) + "'";
                return std::nullopt;
            }
        } else {
            error = "init-db takes --rows N and --force, not '" + std::string(arg) + "'";
            return std::nullopt;
        }
    }
    return parsed;
}

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
// leaves a half-made database behind.
sampledata::SampleSummary createDatabase(const std::filesystem::path &path, long rows)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    const std::filesystem::path building = path.string() + ".building";
    removeDatabase(building);
    sampledata::SampleSummary summary;
    try {
        host::AppConnection connection;
        connection.openDatabase(building.string());
        sampledata::createSchema(connection);
        sampledata::SampleOptions options;
        options.rows = rows;
        summary = sampledata::generateSampleData(connection, options);
        connection.close();
    } catch (...) {
        removeDatabase(building);
        throw;
    }
    removeDatabase(path);
    std::filesystem::rename(building, path);
    return summary;
}

bool create(const std::filesystem::path &path, long rows, std::ostream &report)
{
    try {
        const auto summary = createDatabase(path, rows);
        report << "stockcheck: created " << path.string() << ": " << summary.stocks << " stocks, "
               << summary.items << " items, " << summary.stockRows << " rows of book stock, "
               << summary.bills << " stock bills\n";
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
    std::string error;
    const auto arguments = parseArguments(options.arguments, error);
    if (!arguments) {
        std::cerr << "stockcheck: " << error << "\n";
        return kUsageError;
    }
    if (!arguments->force && holdsTables(options.database)) {
        std::cerr << "stockcheck: " << options.database.string()
                  << " already holds a database; use --force to replace it\n";
        return kFailed;
    }
    return create(options.database, arguments->rows, std::cout) ? 0 : kFailed;
}

bool ensureDatabase(const Options &options)
{
    // A server's database is the company's own; the program makes only its own file.
    if (!options.odbc.empty())
        return true;
    // An empty file counts as missing: opening a database that is not there leaves one.
    if (holdsTables(options.database))
        return true;
    // Standard output belongs to the command that asked for the database.
    return create(options.database, 0, std::cerr);
}
