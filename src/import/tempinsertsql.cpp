#include "import/tempinsertsql.h"

#include "host/core/datetime.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

namespace PubVariant {
namespace {

std::string number(const host::Variant &value)
{
    return host::numberToText(host::CDbl(value));
}

// The shelf-life date as 'YYYY-MM-DD'; a text that is no date is kept as it is.
std::string shelfLifeDate(const host::Variant &value)
{
    if (value.type() == host::VariantType::Date)
        return host::formatDate(value.dateValue(), "YYYY-MM-DD");
    const std::string text = host::Trim(host::CStr(value));
    if (text.empty())
        return text;
    const auto date = host::parseDate(text);
    return date ? host::formatDate(*date, "YYYY-MM-DD") : text;
}

} // namespace

std::string GetTempInsertSQL(const host::Dictionary &row)
{
    try {
        const auto &m = module();
        const double checkQty = host::CDbl(row.Value("CheckQty"));
        const std::string baseQty =
            host::numberToText(checkQty * host::CDbl(row.Value("FCoefficientByUnit")));
        const std::string auxQty = host::numberToText(checkQty);
        host::StringBuilder sql;
        sql.Append("Insert Into " + host::CStr(row.Value("strTempTable")) + "\r\n");
        sql.Append("  (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,\r\n");
        sql.Append("FBatchNo,FMtoNo,FStockID,FQty,FSelect,FAdj,FAdjQty,\r\n");
        sql.Append("  FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,\r\n");
        sql.Append(" FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,FNote,\r\n");
        sql.Append(" FStockPlaceID,FKFDate,FKFPeriod,FSecUnitID,FSecQty,FChecker,FSecQtyAct,"
                   "FSecCheckQty,FSecAdjQty,FRowNum)\r\n");
        sql.Append("  Values('" + std::to_string(m.gCurInterID) + "','0'" + "," +
                   number(row.Value("ItemID")) + "," + number(row.Value("AuxPropID")) + "," +
                   number(row.Value("UnitID")) + "," +
                   host::sqlString(host::Trim(host::CStr(row.Value("BatchNo")))) + "\r\n");
        sql.Append("," + host::sqlString(host::Trim(host::CStr(row.Value("MtoNO")))) + "\r\n");
        sql.Append("  ," + number(row.Value("StockID")) + "," + "0,0,0," +
                   number(row.Value("AdjQty")) + "," +
                   host::sqlString(host::CStr(row.Value("FDateBackup"))) + "," +
                   number(row.Value("FMaxBillInterID")) + "\r\n");
        sql.Append("  ," + baseQty + "," + baseQty + "," + auxQty + "," + auxQty + "," + "0," +
                   "0," + host::sqlString(host::CStr(row.Value("sNote"))) + "\r\n");
        sql.Append("  ," + number(row.Value("SPID")) + "," +
                   host::sqlString(shelfLifeDate(row.Value("KFDate"))) + "," +
                   number(row.Value("KFPeriod")) + "," + number(row.Value("SecUnitID")) + "," +
                   "0," + std::to_string(m.gOperatorID) + "," + number(row.Value("FSecQtyAct")) +
                   "," + number(row.Value("FSecCheckQty")) + "," + number(row.Value("FSecAdjQty")) +
                   "," + "\r\n");
        sql.Append(number(row.Value("FRowNum")) + ")" + "\r\n");
        return sql.StringValue();
    } catch (const std::exception &) {
        ShowErrMsg(MParse::LoadLangString("GetInsertTempSQL失败!"));
        return {};
    }
}

} // namespace PubVariant
