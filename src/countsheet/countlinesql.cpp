#include "countsheet/countlinesql.h"

#include "countsheet/checkbillsql.h"
#include "countsheet/countline.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/db/tsql/sqlbatch.h"
#include "services/appconn.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <string_view>

namespace PubVariant {
namespace {

// Each piece of fixed text below ends its line (CR LF) where a value does not follow.
void updateKeyCondition(host::SqlBatch &s, const CountLine &k)
{
    s << " Where FInterID = ";
    s.whole(module().gCurInterID) << " And FStockID=";
    s.whole(k.stockId) << "\r\n AND FItemID=";
    s.whole(k.itemId) << "\r\n AND FStockPlaceID=";
    s.whole(k.stockPlaceId) << "\r\n AND CONVERT(DATETIME,FKFDate)=";
    s.quoted(k.kfDate) << "\r\n AND FKFPeriod=";
    s.whole(k.kfPeriod) << "\r\n AND FBatchNo=";
    s.quoted(k.batchNo) << "\r\n AND FMtoNo=";
    s.quoted(k.mtoNo) << "\r\n AND FAuxPropID=";
    s.whole(k.auxPropId) << "\r\n And FUnitID=";
    s.whole(k.unitId) << "\r\n";
    s.endStatement();
}

} // namespace

void GetUpdateRowSQL(host::SqlBatch &sbSQL, const CountLine &oRow)
{
    const CountLine &v = oRow;
    host::SqlBatch &s = sbSQL;
    s << "Update ICInvBackup Set \r\nFCheckQty=";
    s.number(v.checkQty) << ",\r\nFQtyAct=";
    s.number(v.checkQty + v.diffQty) << ",\r\nFAuxQty=";
    s.number(v.cuUnitQty) << ",\r\nFQty=";
    s.number(v.qty) << ",\r\nFAuxCheckQty=";
    s.number(v.cuUnitCheckQty) << ",\r\nFAuxQtyAct=";
    s.number(v.cuUnitCheckQty + v.cuUnitDiffQty) << ",\r\nFChecker=";
    s.whole(module().gOperatorID) << ",\r\nFNote=";
    s.quoted(v.note) << ",\r\nFAdjQty=";
    s.number(v.adjQty) << ",\r\nFSecQty=";
    s.number(v.secQty) << ",\r\nFSecQtyAct=";
    s.number(v.secCheckQty + v.secDiffQty) << ",\r\nFSecCheckQty=";
    s.number(v.secCheckQty) << ",\r\nFSecAdjQty=";
    s.number(v.secAdjQty) << "\r\n";
    updateKeyCondition(s, v);

    s << "Update ICInvBackup Set \r\nFMinus=FQtyAct-FQty-(FAdjQty*";
    s.number(v.coefficient) << "),\r\nFSecMinus=FSecQtyAct-FSecQty-FSecAdjQty\r\n";
    updateKeyCondition(s, v);
}

void GetUpdateRowSQL(host::StringBuilder &sbSQL, const CountLine &oRow)
{
    host::SqlBatch statements;
    GetUpdateRowSQL(statements, oRow);
    sbSQL.Append(statements.text());
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
