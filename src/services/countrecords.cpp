#include "services/countrecords.h"

#include "host/core/sqltext.h"

#include <string>

namespace {

std::string column(std::string_view alias, std::string_view name)
{
    return alias.empty() ? std::string(name) : std::string(alias) + "." + std::string(name);
}

} // namespace

std::string countLineKeyCondition(const CountLineKey &key, KFDateMatch match,
                                  std::string_view alias)
{
    auto number = [&](std::string_view name, long value) {
        return column(alias, name) + "=" + std::to_string(value);
    };
    auto text = [&](std::string_view name, const std::string &value) {
        return column(alias, name) + "=" + host::sqlString(value);
    };
    const std::string kfDate =
        match == KFDateMatch::AsDate
            ? "CONVERT(DATETIME," + column(alias, "FKFDate") + ")=" + host::sqlString(key.FKFDate)
            : text("FKFDate", key.FKFDate);
    return number("FInterID", key.FInterID) + " AND " + number("FItemID", key.FItemID) + " AND " +
           number("FAuxPropID", key.FAuxPropID) + " AND " + number("FUnitID", key.FUnitID) +
           " AND " + text("FBatchNo", key.FBatchNo) + " AND " + text("FMtoNo", key.FMtoNo) +
           " AND " + kfDate + " AND " + number("FKFPeriod", key.FKFPeriod) + " AND " +
           number("FStockID", key.FStockID) + " AND " + number("FStockPlaceID", key.FStockPlaceID);
}
