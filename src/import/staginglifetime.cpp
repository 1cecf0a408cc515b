#include "import/staginglifetime.h"

#include "host/core/datetime.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/databasefault.h"
#include "host/db/recordset/recordset.h"
#include "import/stagingtable.h"
#include "services/appconn.h"

#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

namespace StagingTable {
namespace {

constexpr int kMaxNames = 99;
constexpr std::string_view kPrefix = "IcInvBackUpTemp_";

bool exists(const std::string &tableName)
{
    const auto rs = appConn().Execute("select OBJECT_ID(" + host::sqlString(tableName) + ")");
    return !rs->EOF() && !rs->Fields(0).Value().isNull();
}

// The start of the run a table name carries after the user's prefix: "yymmddhhmmss", maybe
// followed by "_n". Nothing when the rest is not of that form.
std::optional<double> startOf(std::string_view rest)
{
    if (rest.size() < 12)
        return std::nullopt;
    for (size_t i = 0; i < rest.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(rest[i])) != 0;
        if (i < 12 ? !digit : !(digit || (i == 12 && rest[i] == '_')))
            return std::nullopt;
    }
    const auto two = [&rest](size_t at) { return (rest[at] - '0') * 10 + (rest[at + 1] - '0'); };
    host::DateParts parts;
    parts.year = 2000 + two(0);
    parts.month = two(2);
    parts.day = two(4);
    parts.hour = two(6);
    parts.minute = two(8);
    parts.second = two(10);
    if (!host::isValidDate(parts.year, parts.month, parts.day))
        return std::nullopt;
    return host::makeDate(parts);
}

// Whether a name is a staging table's: the user's id, "_" and the run's start as startOf reads it.
bool isStagingName(std::string_view name)
{
    if (!name.starts_with(kPrefix))
        return false;
    const std::string_view rest = name.substr(kPrefix.size());
    const size_t user = rest.find_first_not_of("0123456789");
    return user != 0 && user != std::string_view::npos && rest[user] == '_' &&
           startOf(rest.substr(user + 1));
}

std::vector<std::string> tablesNamedFrom(const std::string &prefix)
{
    const auto rs =
        appConn().Execute("select name from sysobjects where xtype='U' and SUBSTRING(name,1," +
                          std::to_string(prefix.size()) + ")=" + host::sqlString(prefix));
    std::vector<std::string> names;
    for (; !rs->EOF(); rs->MoveNext())
        names.push_back(host::CStr(rs->Fields(0).Value()));
    return names;
}

std::string dropSql(const std::string &tableName)
{
    return "IF OBJECT_ID(" + host::sqlString(tableName) + ") IS NOT NULL DROP TABLE " + tableName;
}

} // namespace

Claim create(long userId, double startTime)
{
    const std::string base = name(userId, startTime);
    for (int n = 1; n <= kMaxNames; ++n) {
        std::string candidate = n == 1 ? base : base + "_" + std::to_string(n);
        // Held before it is made, so that no other run takes the new table for a leftover.
        auto hold = appConn().holdName(candidate);
        if (!hold)
            continue;
        try {
            appConn().Execute(createSql(candidate));
            return {std::move(candidate), std::move(hold)};
        } catch (const std::exception &error) {
            // A failure of the database itself says nothing of the name: in a file deleted
            // under the run the table is even there.
            if (host::databaseFault(error) != host::DatabaseFault::None || !exists(candidate))
                throw;
        }
    }
    throw NameTaken("Every staging table name of " + base + " is held by another import.");
}

void dropLeftovers(long userId, double now)
{
    try {
        const std::string userPrefix = std::string(kPrefix) + std::to_string(userId) + "_";
        std::vector<std::string> leftovers;
        // Whether the database tells holds at all: asked of a name no run holds.
        const bool holdsTold = appConn().isNameHeld(userPrefix).has_value();
        if (holdsTold) {
            for (auto &tableName : tablesNamedFrom(std::string(kPrefix))) {
                if (isStagingName(tableName) && appConn().isNameHeld(tableName) == false)
                    leftovers.push_back(std::move(tableName));
            }
        } else {
            for (auto &tableName : tablesNamedFrom(userPrefix)) {
                const auto start = startOf(std::string_view(tableName).substr(userPrefix.size()));
                if (start && now - *start > kLeftoverAge)
                    leftovers.push_back(std::move(tableName));
            }
        }
        for (const auto &tableName : leftovers)
            appConn().Execute(dropSql(tableName));
    } catch (const std::exception &error) {
        // Left for a later run. A database still busy after the wait would only keep the run
        // waiting once more for its own table.
        if (host::databaseFault(error) == host::DatabaseFault::Busy)
            throw;
    }
}

void drop(const std::string &tableName) noexcept
{
    try {
        appConn().Execute(dropSql(tableName));
    } catch (const std::exception &) {
        // A table that stays is dropped as a leftover by a later run.
    }
}

} // namespace StagingTable
