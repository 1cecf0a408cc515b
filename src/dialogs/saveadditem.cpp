#include "dialogs/saveadditem.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/db/servertransaction.h"
#include "services/appconn.h"
#include "services/databasefailure.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

namespace {

std::string num(double value)
{
    return host::sqlNumber(value);
}

// RAISERROR reads "%" in its message as a format mark.
std::string raiseErrorText(const std::string &message)
{
    std::string text;
    for (const char c : message) {
        text += c;
        if (c == '%')
            text += '%';
    }
    return host::sqlString(text);
}

// The adjustment in the second unit, by the rate the line's two counted quantities give (base
// units per second unit), as an edit of the adjustment in the entry grid gives it; 0 for an
// item without a second unit or a line without a second-unit count.
double secondUnitAdjustment(const AddedLine &line)
{
    if (line.secUnitId < 1 || line.secQty == 0)
        return 0;
    const double rate = line.coefficient * line.qty / line.secQty;
    return rate == 0 ? 0 : line.adjQty * line.coefficient / rate;
}

} // namespace

std::string addItemBatchSQL(const AddedLine &line, const std::string &backupTime,
                            long maxBillInterId, const std::string &refusedMessage)
{
    const CountLineKey &k = line.key;
    const std::string where =
        "  Where " + countLineKeyCondition(k, KFDateMatch::AsText) + host::kCrLf;
    const double baseQty = line.coefficient * line.qty;
    std::string sql;
    host::addLine(sql, "If not Exists(select * from ICInvBackUp where " +
                           countLineKeyCondition(k, KFDateMatch::AsText) + ") ");
    host::addLine(sql, "  Insert ICInvBackup");
    host::addLine(
        sql,
        "  (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FQty,FSelect,FAdj,"
        "FAdjQty,");
    host::addLine(
        sql,
        "  FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,"
        "FNote,FStockPlaceID,FKFDate,FKFPeriod,FSecUnitID,FSecQty,  FSecQtyAct,FSecCheckQty,"
        "FSecAdjQty,FSecMinus)");
    host::addLine(sql, "  Values(" + std::to_string(k.FInterID) + ",'0'," +
                           std::to_string(k.FItemID) + "," + std::to_string(k.FAuxPropID) + "," +
                           std::to_string(k.FUnitID) + "," + host::sqlString(k.FBatchNo) + "  ," +
                           host::sqlString(k.FMtoNo));
    host::addLine(sql, "  ," + std::to_string(k.FStockID) + ",0,0,0," + num(line.adjQty) + "," +
                           host::sqlString(backupTime) + "," + std::to_string(maxBillInterId));
    host::addLine(sql, "  ," + num(baseQty) + "," + num(baseQty) + "," + num(line.qty) + "," +
                           num(line.qty) + ",0,0," + host::sqlString(line.note));
    host::addLine(sql, "  ," + std::to_string(k.FStockPlaceID) + "," + host::sqlString(k.FKFDate) +
                           "," + std::to_string(k.FKFPeriod) + "," +
                           std::to_string(line.secUnitId) + ",0," + num(line.secQty) + "," +
                           num(line.secQty) + "," + num(secondUnitAdjustment(line)) + ",0)");
    host::addLine(sql, "Else");
    host::addLine(sql, "BEGIN");
    host::addLine(sql, "  UPDATE ICInvBackUp");
    host::addLine(sql, "  SET FCheckQty=FCheckQty + " + num(baseQty) +
                           ",FAuxCheckQty=FAuxCheckQty + " + num(line.qty) +
                           ",FSecCheckQty =FSecCheckQty + " + num(line.secQty) + ",");
    host::addLine(sql, "  FQtyAct=FQtyAct + " + num(baseQty) + ",FAuxQtyAct=FAuxQtyAct + " +
                           num(line.qty) + ",FSecQtyAct=FSecQtyAct + " + num(line.secQty));
    sql += where;
    host::addLine(sql, "END");
    // A new line and an added-to line get their differences from the same rule.
    host::addLine(sql, "  UPDATE ICInvBackUp");
    host::addLine(sql, "  SET FMinus = FQtyAct - FQty - FAdjQty * " + num(line.coefficient) +
                           ",FSecMinus = FSecQtyAct - FSecQty - FSecAdjQty ");
    sql += where;
    host::addLine(sql, "IF EXISTS (SELECT 1 FROM ICInvBackUp");
    sql += where;
    host::addLine(sql, " AND (" + std::string(CountRules::kDirectionConflictSql) + "))");
    host::addLine(sql, "    RAISERROR (" + raiseErrorText(refusedMessage) + ",16,1)");
    return sql;
}

namespace PubVariant {

bool SaveAddItem(long lItemID, long lUnitID, long lStockID, const std::string &sBatchNo,
                 const std::string &sMtoNo, const host::Variant &vQty, const std::string &sNote,
                 long lSPID, const std::string &sKFDate, long lKFPeriod, double dCoefficient,
                 long lAuxPropID, double dAdjQty, long lSecUnitID, double dSecQty)
{
    AddedLine line;
    line.key = {module().gCurInterID,
                lItemID,
                lAuxPropID,
                lUnitID,
                sBatchNo,
                sMtoNo,
                sKFDate,
                lKFPeriod,
                lStockID,
                lSPID};
    // A blank or non-numeric quantity counts by its leading number, 0 when it has none.
    line.qty = host::Val(vQty);
    line.coefficient = dCoefficient;
    line.adjQty = dAdjQty;
    line.secUnitId = lSecUnitID;
    line.secQty = dSecQty;
    line.note = sNote;
    try {
        const std::string backupTime = host::formatDate(host::now(), "YYYY-MM-DD HH:NN:SS");
        auto rs =
            appConn().Execute("SELECT DISTINCT FMaxBillInterID FROM ICInvBackup WHERE FInterID=" +
                              std::to_string(module().gCurInterID));
        rs->MoveFirst();
        const host::Variant mark = rs->Fields("FMaxBillInterID").Value();
        const long maxBillInterId = mark.isNull() ? 0 : host::CLng(mark);
        rs->Close();
        if (module().gAlertSameCheckStockRecord &&
            appConn()
                    .Execute("select 1 from ICInvBackUp where " +
                             countLineKeyCondition(line.key, KFDateMatch::AsText))
                    ->RecordCount() > 0 &&
            MsgBox(MParse::LoadLangString("已有相同记录，保存后将会累加盘点数量，是否继续？"),
                   vbYesNo) != vbYes)
            return false;
        host::ServerTransaction transaction(appConn());
        appConn().ExecuteRaiseErr(
            addItemBatchSQL(line, backupTime, maxBillInterId,
                            MParse::LoadLangString(
                                "添加物料基本单位与辅助计量单位盘盈盘亏方向不一致，添加失败！")));
        transaction.commit();
        return true;
    } catch (const host::HostError &e) {
        // The batch's own refusal is the module's sentence already.
        if (e.Number() == host::HostError::RaisedByBatch)
            ShowMsg(e.Description(), 0);
        else
            ShowMsg(MParse::LoadLangString("添加物料失败，原因：") + failureDescription(e), 0);
        return false;
    }
}

} // namespace PubVariant
