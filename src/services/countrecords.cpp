#include "services/countrecords.h"

#include "host/core/sqltext.h"

#include <cmath>
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

namespace CountRules {

double roundQty(double value)
{
    const double factor = std::pow(10.0, kQtyScale);
    const double rounded = std::round(value * factor) / factor;
    return rounded == 0 ? 0 : rounded;
}

bool isZeroQty(double value)
{
    return roundQty(value) == 0;
}

double toCountingUnit(double baseQty, double coefficient)
{
    return coefficient == 0 ? baseQty : roundQty(baseQty / coefficient);
}

double toBaseUnit(double countingQty, double coefficient)
{
    return coefficient == 0 ? countingQty : roundQty(countingQty * coefficient);
}

double baseDifference(double qtyAct, double qty, double adjQty, double coefficient)
{
    return roundQty(qtyAct - qty - adjQty * coefficient);
}

double secondDifference(double secQtyAct, double secQty, double secAdjQty)
{
    return roundQty(secQtyAct - secQty - secAdjQty);
}

bool directionConflict(double minus, double secMinus)
{
    const double m = roundQty(minus);
    const double s = roundQty(secMinus);
    return (m == 0 && s != 0) || (m > 0 && s < 0) || (m < 0 && s > 0);
}

} // namespace CountRules
