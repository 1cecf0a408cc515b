#pragma once

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

// Runs statements through SQLite itself; throws on failure.
inline void runBare(sqlite3 *db, const std::string &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "sqlite3_exec failed";
        sqlite3_free(error);
        throw std::runtime_error(message + "\n" + sql);
    }
}

// The baselines' way of reading a query: every row, every column as text in memory, as a
// program that holds a sheet would.
inline std::vector<std::vector<std::string>> bareRowsAsText(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *query = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    std::vector<std::vector<std::string>> table;
    const auto columns = static_cast<std::size_t>(sqlite3_column_count(query));
    while (sqlite3_step(query) == SQLITE_ROW) {
        std::vector<std::string> row(columns);
        for (std::size_t c = 0; c < columns; ++c)
            if (const unsigned char *text = sqlite3_column_text(query, static_cast<int>(c)))
                row[c] = reinterpret_cast<const char *>(text);
        table.push_back(std::move(row));
    }
    sqlite3_finalize(query);
    return table;
}
