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

void updateKeyCondition(host::SqlBatch &s, const CountLine &k)
{
    s << " Where FInterID = ";
    s.whole(module().gCurInterID) << " And FStockID=";
    s.whole(k.stockId) << host::kCrLf << " AND FItemID=";
    s.whole(k.itemId) << host::kCrLf << " AND FStockPlaceID=";
    s.whole(k.stockPlaceId) << host::kCrLf << " AND CONVERT(DATETIME,FKFDate)=";
    s.quoted(k.kfDate) << host::kCrLf << " AND FKFPeriod=";
    s.whole(k.kfPeriod) << host::kCrLf << " AND FBatchNo=";
    s.quoted(k.batchNo) << host::kCrLf << " AND FMtoNo=";
    s.quoted(k.mtoNo) << host::kCrLf << " AND FAuxPropID=";
    s.whole(k.auxPropId) << host::kCrLf << " And FUnitID=";
    s.whole(k.unitId) << host::kCrLf;
    s.endStatement();
}

// One line of a statement: its text, a number, then what follows the number.
void numberLine(host::SqlBatch &s, const char *name, double value, const char *after = ",")
{
    s << name;
    s.number(value) << after << host::kCrLf;
}

} // namespace

void GetUpdateRowSQL(host::SqlBatch &sbSQL, const CountLine &oRow)
{
    const CountLine &v = oRow;
    host::SqlBatch &s = sbSQL;
    s << "Update ICInvBackup Set " << host::kCrLf;
    numberLine(s, "FCheckQty=", v.checkQty);
    numberLine(s, "FQtyAct=", v.checkQty + v.diffQty);
    numberLine(s, "FAuxQty=", v.cuUnitQty);
    numberLine(s, "FQty=", v.qty);
    numberLine(s, "FAuxCheckQty=", v.cuUnitCheckQty);
    numberLine(s, "FAuxQtyAct=", v.cuUnitCheckQty + v.cuUnitDiffQty);
    s << "FChecker=";
    s.whole(module().gOperatorID) << "," << host::kCrLf << "FNote=";
    s.quoted(v.note) << "," << host::kCrLf;
    numberLine(s, "FAdjQty=", v.adjQty);
    numberLine(s, "FSecQty=", v.secQty);
    numberLine(s, "FSecQtyAct=", v.secCheckQty + v.secDiffQty);
    numberLine(s, "FSecCheckQty=", v.secCheckQty);
    numberLine(s, "FSecAdjQty=", v.secAdjQty, "");
    updateKeyCondition(s, v);

    s << "Update ICInvBackup Set " << host::kCrLf;
    numberLine(s, "FMinus=FQtyAct-FQty-(FAdjQty*", v.coefficient, "),");
    s << "FSecMinus=FSecQtyAct-FSecQty-FSecAdjQty" << host::kCrLf;
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
