#include "import/tempinsertsql.h"

#include "host/core/datetime.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "import/stagingrow.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <cmath>
#include <iterator>

const std::array<std::string_view, 31> kTempInsertColumns = {
    "FInterID",    "FBrNo",           "FItemID",   "FAuxPropID",    "FUnitID",      "FBatchNo",
    "FMtoNo",      "FStockID",        "FQty",      "FSelect",       "FAdj",         "FAdjQty",
    "FDateBackup", "FMaxBillInterID", "FCheckQty", "FQtyAct",       "FAuxCheckQty", "FAuxQtyAct",
    "FAuxQty",     "FMinus",          "FNote",     "FStockPlaceID", "FKFDate",      "FKFPeriod",
    "FSecUnitID",  "FSecQty",         "FChecker",  "FSecQtyAct",    "FSecCheckQty", "FSecAdjQty",
    "FRowNum"};

namespace {

std::string number(double value)
{
    return host::numberToText(value);
}

std::string number(const host::Variant &value)
{
    return host::numberToText(host::CDbl(value));
}

// A number as the statement's text carries it: the digits it is written with, read back.
double asWritten(double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return value;
    return host::parseNumber(host::numberToText(value)).value_or(value);
}

// The shelf-life date as 'YYYY-MM-DD'; a text that is no date is kept as it is.
std::string shelfLifeDate(const host::Variant &value)
{
    if (value.type() == host::VariantType::Date)
        return host::formatDate(value.dateValue(), "YYYY-MM-DD");
    std::string text = host::Trim(host::CStr(value));
    if (text.empty())
        return text;
    const auto date = host::parseDate(text);
    return date ? host::formatDate(*date, "YYYY-MM-DD") : text;
}

} // namespace

namespace PubVariant {

std::string GetTempInsertSQL(const StagingRun &run, const StagingRow &row)
{
    try {
        const auto &m = module();
        const std::string baseQty = number(row.checkQty * row.coefficientByUnit);
        const std::string auxQty = number(row.checkQty);
        host::StringBuilder sql;
        sql.Append("Insert Into " + run.tableName + "\r\n");
        sql.Append("  (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,\r\n");
        sql.Append("FBatchNo,FMtoNo,FStockID,FQty,FSelect,FAdj,FAdjQty,\r\n");
        sql.Append("  FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,\r\n");
        sql.Append(" FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,FNote,\r\n");
        sql.Append(" FStockPlaceID,FKFDate,FKFPeriod,FSecUnitID,FSecQty,FChecker,FSecQtyAct,"
                   "FSecCheckQty,FSecAdjQty,FRowNum)\r\n");
        sql.Append("  Values('" + std::to_string(m.gCurInterID) + "','0'" + "," +
                   number(row.itemId) + "," + number(row.auxPropId) + "," + number(row.unitId) +
                   "," + host::sqlString(host::Trim(row.batchNo)) + "\r\n");
        sql.Append("," + host::sqlString(host::Trim(row.mtoNo)) + "\r\n");
        sql.Append("  ," + number(row.stockId) + "," + "0,0,0," + number(row.adjQty) + "," +
                   host::sqlString(run.backupTime) + "," +
                   number(static_cast<double>(run.maxBillInterID)) + "\r\n");
        sql.Append("  ," + baseQty + "," + baseQty + "," + auxQty + "," + auxQty + "," + "0," +
                   "0," + host::sqlString(row.note) + "\r\n");
        sql.Append("  ," + number(row.placeId) + "," + host::sqlString(shelfLifeDate(row.kfDate)) +
                   "," + number(row.kfPeriod) + "," + number(row.secUnitId) + "," + "0," +
                   std::to_string(m.gOperatorID) + "," + number(row.secQtyAct) + "," +
                   number(row.secCheckQty) + "," + number(row.secAdjQty) + "," + "\r\n");
        sql.Append(number(static_cast<double>(row.rowNum)) + ")" + "\r\n");
        return sql.StringValue();
    } catch (const std::exception &) {
        ShowErrMsg(MParse::LoadLangString("GetInsertTempSQL失败!"));
        return {};
    }
}

} // namespace PubVariant

void tempInsertValues(const StagingRun &run, const StagingRow &row,
                      std::vector<host::Variant> &values)
{
    const auto &m = module();
    const auto written = [](const host::Variant &value) {
        return host::Variant(asWritten(host::CDbl(value)));
    };
    const double baseQty = asWritten(row.checkQty * row.coefficientByUnit);
    const double auxQty = asWritten(row.checkQty);
    const host::Variant zero(0L);
    // Built in place and moved, rather than copied out of an initializer list: a row's texts
    // are not copied twice.
    std::array<host::Variant, kTempInsertColumns.size()> fresh = {
        host::Variant(m.gCurInterID),
        host::Variant(std::string("0")),
        written(row.itemId),
        written(row.auxPropId),
        written(row.unitId),
        host::Variant(host::Trim(row.batchNo)),
        host::Variant(host::Trim(row.mtoNo)),
        written(row.stockId),
        zero,
        zero,
        zero,
        host::Variant(asWritten(row.adjQty)),
        host::Variant(run.backupTime),
        host::Variant(run.maxBillInterID),
        host::Variant(baseQty),
        host::Variant(baseQty),
        host::Variant(auxQty),
        host::Variant(auxQty),
        zero,
        zero,
        host::Variant(row.note),
        written(row.placeId),
        host::Variant(shelfLifeDate(row.kfDate)),
        host::Variant(asWritten(row.kfPeriod)),
        written(row.secUnitId),
        zero,
        host::Variant(m.gOperatorID),
        host::Variant(asWritten(row.secQtyAct)),
        host::Variant(asWritten(row.secCheckQty)),
        host::Variant(asWritten(row.secAdjQty)),
        host::Variant(row.rowNum)};
    values.assign(std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
}
