#pragma once

#include "host/core/variant.h"
#include "host/db/bulkinsert.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sampledata {

using Row = std::vector<host::Variant>;

// Loads one row per record into a table; one table is loaded at a time.
template <typename Records, typename MakeRow>
void load(host::AppConnection &connection, const std::string &table,
          std::vector<std::string> columns, const Records &records, MakeRow makeRow)
{
    host::BulkInsert insert(connection, table, std::move(columns));
    for (const auto &record : records)
        insert.add(makeRow(record));
    insert.commit();
}

inline host::Variant orNull(const std::optional<int> &value)
{
    return value ? host::Variant(*value) : host::Variant::null();
}

inline host::Variant dateOrNull(const std::optional<double> &serial)
{
    return serial ? host::Variant::fromDate(*serial) : host::Variant::null();
}

inline host::Variant flag(bool value)
{
    return host::Variant(value ? 1 : 0);
}

} // namespace sampledata
