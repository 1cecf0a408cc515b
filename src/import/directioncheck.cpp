#include "import/directioncheck.h"

#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "services/appconn.h"
#include "services/countrecords.h"
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
    // A counting-unit count the sheet brings back unchanged keeps the line's base-unit count:
    // the counting-unit quantity is a rounded quotient, and multiplying it back by the
    // coefficient would not give the base quantity it came from (80 pieces are 6.6666666667
    // dozen, and 6.6666666667 dozen are 80.0000000004 pieces).
    const std::string sameCount = "CASE WHEN t.FAuxCheckQty = b.FAuxCheckQty THEN b.FCheckQty ";
    std::string sql;
    host::addLines(sql, {"SET NOCOUNT ON",
                         ("UPDATE t SET t.FQty = b.FQty,t.FSecQty = b.FSecQty,t.FSecAdjQty = "
                          "ROUND(t.FSecAdjQty,c.FQtyDecimal),"),
                         "t.FCheckQty = " + sameCount + "ELSE t.FCheckQty END,",
                         "t.FQtyAct = " + sameCount + "ELSE t.FQtyAct END ",
                         "  FROM " + tableName,
                         " t inner join IcInvBackUp b ",
                         "on t.FItemID = b.FItemID",
                         "and  t.FInterID = b.FInterID",
                         "and t.FAuxPropID = b.FAuxPropID",
                         "and t.FUnitID = b.FUnitID",
                         "and t.FBatchNo = b.FBatchNo",
                         "and t.FMtoNo = b.FMtoNo",
                         "and t.FKFDate = b.FKFDate",
                         "and t.FKFPeriod = b.FKFPeriod",
                         "and t.FStockID = b.FStockID",
                         "and t.FStockPlaceID = b.FStockPlaceID",
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
        throw;
    }
    return refused;
}

} // namespace PubVariant
