#include "host/billdata/systemprofile.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"

namespace host {
namespace {

std::string quotedList(const std::vector<std::string> &values)
{
    std::string out;
    for (const auto &value : values)
        out += (out.empty() ? "" : ",") + sqlString(value);
    return out;
}

} // namespace

std::vector<SystemOption> readSystemOptions(AppConnection &connection,
                                            const std::vector<std::string> &categories,
                                            const std::vector<std::string> &keys)
{
    std::vector<SystemOption> options;
    if (categories.empty() || keys.empty())
        return options;
    const auto rs =
        connection.Execute("select fkey,fvalue from t_systemprofile where fcategory in (" +
                           quotedList(categories) + ") and fkey in (" + quotedList(keys) + ")");
    for (; rs && rs->State() != Recordset::adStateClosed && !rs->EOF(); rs->MoveNext())
        options.push_back({Trim(CStr(rs->Fields("fkey").Value())), rs->Fields("fvalue").Value()});
    return options;
}

std::optional<Variant> readSystemOption(AppConnection &connection, std::string_view category,
                                        std::string_view key)
{
    auto options = readSystemOptions(connection, {std::string(category)}, {std::string(key)});
    if (options.empty())
        return std::nullopt;
    return std::move(options.front().value);
}

Variant requireSystemOption(AppConnection &connection, std::string_view category,
                            std::string_view key)
{
    auto value = readSystemOption(connection, category, key);
    if (!value)
        throw HostError("No system value " + std::string(category) + "/" + std::string(key) + ".");
    return std::move(*value);
}

} // namespace host
