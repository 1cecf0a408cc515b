#include "countsheet/countlinesql.h"

#include "countsheet/checkbillsql.h"
#include "countsheet/countline.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "host/db/appconnection.h"
#include "host/db/recordset.h"
#include "services/appconn.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <string_view>

namespace PubVariant {
namespace {

std::string updateKeyCondition(const CountLine &k)
{
    std::string s;
    s += " Where FInterID = " + std::to_string(module().gCurInterID) +
         " And FStockID=" + std::to_string(k.stockId) + host::kCrLf;
    s += " AND FItemID=" + std::to_string(k.itemId) + host::kCrLf;
    s += " AND FStockPlaceID=" + std::to_string(k.stockPlaceId) + host::kCrLf;
    s += " AND CONVERT(DATETIME,FKFDate)=" + host::sqlString(k.kfDate) + host::kCrLf;
    s += " AND FKFPeriod=" + std::to_string(k.kfPeriod) + host::kCrLf;
    s += " AND FBatchNo=" + host::sqlString(k.batchNo) + host::kCrLf;
    s += " AND FMtoNo=" + host::sqlString(k.mtoNo) + host::kCrLf;
    s += " AND FAuxPropID=" + std::to_string(k.auxPropId) + host::kCrLf;
    s += " And FUnitID=" + std::to_string(k.unitId) + host::kCrLf;
    return s;
}

} // namespace

void GetUpdateRowSQL(host::StringBuilder &sbSQL, const CountLine &oRow)
{
    const CountLine &v = oRow;
    const std::string where = updateKeyCondition(v);
    auto line = [&](const std::string &text) { sbSQL.Append(text).Append(host::kCrLf); };

    line("Update ICInvBackup Set ");
    line("FCheckQty=" + host::sqlNumber(v.checkQty) + ",");
    line("FQtyAct=" + host::sqlNumber(v.checkQty + v.diffQty) + ",");
    line("FAuxQty=" + host::sqlNumber(v.cuUnitQty) + ",");
    line("FQty=" + host::sqlNumber(v.qty) + ",");
    line("FAuxCheckQty=" + host::sqlNumber(v.cuUnitCheckQty) + ",");
    line("FAuxQtyAct=" + host::sqlNumber(v.cuUnitCheckQty + v.cuUnitDiffQty) + ",");
    line("FChecker=" + std::to_string(module().gOperatorID) + ",");
    line("FNote=" + host::sqlString(v.note) + ",");
    line("FAdjQty=" + host::sqlNumber(v.adjQty) + ",");
    line("FSecQty=" + host::sqlNumber(v.secQty) + ",");
    line("FSecQtyAct=" + host::sqlNumber(v.secCheckQty + v.secDiffQty) + ",");
    line("FSecCheckQty=" + host::sqlNumber(v.secCheckQty) + ",");
    line("FSecAdjQty=" + host::sqlNumber(v.secAdjQty));
    sbSQL.Append(where);

    line("Update ICInvBackup Set ");
    line("FMinus=FQtyAct-FQty-(FAdjQty*" + host::sqlNumber(v.coefficient) + "),");
    line("FSecMinus=FSecQtyAct-FSecQty-FSecAdjQty");
    sbSQL.Append(where);
}

bool DeleteCheckRow(long lSPID, const std::string &sKFDate, long lKFPeriod, long lItemID,
                    long lStockID, const std::string &sBatchNo, const std::string &sMtoNo,
                    long lAuxPropID, long lUnitID, long lInterID)
{
    try {
        std::string sql;
        sql += std::string("Delete FROM ICInvBackup ") + host::kCrLf;
        sql += "WHERE FItemID=" + std::to_string(lItemID) +
               " AND FStockID=" + std::to_string(lStockID) + host::kCrLf;
        sql += "AND FBatchNo=" + host::sqlString(sBatchNo) + host::kCrLf;
        sql += "AND FMtoNo=" + host::sqlString(sMtoNo) + host::kCrLf;
        sql += "AND FStockPlaceID=" + std::to_string(lSPID) + host::kCrLf;
        sql += "AND FKFPeriod=" + std::to_string(lKFPeriod) + host::kCrLf;
        sql += "AND FAuxPropID=" + std::to_string(lAuxPropID) + host::kCrLf;
        sql += "AND FUnitID=" + std::to_string(lUnitID) + host::kCrLf;
        sql += "AND FInterID=" + std::to_string(lInterID) + host::kCrLf;
        sql += "AND CONVERT(DATETIME,FKFDate)=" +
               (lKFPeriod == 0 ? std::string("''") : host::sqlString(sKFDate));
        appConn().Execute(sql);
        return true;
    } catch (const std::exception &) {
        MsgBox(MParse::LoadLangString("删除物料时数据存取错误!"), vbOKOnly);
        return false;
    }
}

bool ExecSQL(const std::string &sSQL, std::shared_ptr<host::Recordset> &rs)
{
    try {
        rs = appConn().Execute(sSQL);
        return true;
    } catch (const std::exception &e) {
        MsgBox(MParse::LoadLangString("数据存取错误：") + e.what(), vbOKOnly);
        return false;
    }
}

} // namespace PubVariant
