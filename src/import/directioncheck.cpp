#include "import/directioncheck.h"

#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "services/appconn.h"
#include "services/countrecords.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

namespace PubVariant {
namespace {

std::string refusedRows()
{
    return " WHERE (" + std::string(CountRules::kDirectionConflictSql) + ")";
}

std::string completeAndSelectSql(const std::string &tableName)
{
    std::string sql;
    host::addLines(sql, {"SET NOCOUNT ON",
                         "UPDATE t SET t.FQty = b.FQty,t.FSecQty = b.FSecQty,t.FSecAdjQty = "
                         "ROUND(t.FSecAdjQty,c.FQtyDecimal) ",
                         "  FROM " + tableName, " t inner join IcInvBackUp b ",
                         "on t.FItemID = b.FItemID", "and  t.FInterID = b.FInterID",
                         "and t.FAuxPropID = b.FAuxPropID", "and t.FUnitID = b.FUnitID",
                         "and t.FBatchNo = b.FBatchNo", "and t.FMtoNo = b.FMtoNo",
                         "and t.FKFDate = b.FKFDate", "and t.FKFPeriod = b.FKFPeriod",
                         "and t.FStockID = b.FStockID", "and t.FStockPlaceID = b.FStockPlaceID",
                         "INNER JOIN t_ICItemBase c ON t.FItemID = c.FItemID",
                         "UPDATE t SET t.FMinus = t.FCheckQty-t.FQty-t.FAdjQty*b.FCoefficient, ",
                         "       t.FSecMinus = t.FSecCheckQty-t.FSecQty-t.FSecAdjQty ",
                         "  FROM " + tableName + " t ",
                         " INNER JOIN t_MeasureUnit b ON t.FUnitID = b.FMeasureUnitID"});
    sql += "SELECT FRowNum FROM " + tableName + refusedRows();
    return sql;
}

} // namespace

std::shared_ptr<host::Recordset> CheckTempUnitDirection(const std::string &tableName)
{
    std::shared_ptr<host::Recordset> refused;
    try {
        refused = appConn().Execute(completeAndSelectSql(tableName));
        appConn().Execute("DELETE " + tableName + refusedRows());
    } catch (const std::exception &) {
        ShowErrMsg(MParse::LoadLangString("GetErrRecordSet!"));
    }
    return refused;
}

} // namespace PubVariant
