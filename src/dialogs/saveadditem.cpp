#include "dialogs/saveadditem.h"

#include "countsheet/checkbillsql.h"
#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/db/recordset.h"
#include "services/appconn.h"
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

} // namespace

std::string addItemBatchSQL(const AddedLine &line, const std::string &backupTime,
                            long maxBillInterId, const std::string &refusedMessage)
{
    const CountLineKey &k = line.key;
    const std::string where =
        "  Where " + countLineKeyCondition(k, KFDateMatch::AsText) + host::kCrLf;
    const double baseQty = line.coefficient * line.qty;
    std::string sql;
    auto add = [&sql](const std::string &text) { sql += text + host::kCrLf; };
    // Any run-time error rolls the whole transaction back on the server too.
    add("SET XACT_ABORT ON");
    add("BEGIN TRAN");
    add("If not Exists(select * from ICInvBackUp where " +
        countLineKeyCondition(k, KFDateMatch::AsText) + ") ");
    add("  Insert ICInvBackup");
    add("  (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FQty,FSelect,FAdj,"
        "FAdjQty,");
    add("  FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,"
        "FNote,FStockPlaceID,FKFDate,FKFPeriod,FSecUnitID,FSecQty,  FSecQtyAct,FSecCheckQty,"
        "FSecAdjQty,FSecMinus)");
    add("  Values(" + std::to_string(k.FInterID) + ",'0'," + std::to_string(k.FItemID) + "," +
        std::to_string(k.FAuxPropID) + "," + std::to_string(k.FUnitID) + "," +
        host::sqlString(k.FBatchNo) + "  ," + host::sqlString(k.FMtoNo));
    add("  ," + std::to_string(k.FStockID) + ",0,0,0," + num(line.adjQty) + "," +
        host::sqlString(backupTime) + "," + std::to_string(maxBillInterId));
    add("  ," + num(baseQty) + "," + num(baseQty) + "," + num(line.qty) + "," + num(line.qty) +
        ",0,0," + host::sqlString(line.note));
    add("  ," + std::to_string(k.FStockPlaceID) + "," + host::sqlString(k.FKFDate) + "," +
        std::to_string(k.FKFPeriod) + "," + std::to_string(line.secUnitId) + ",0," +
        num(line.secQty) + "," + num(line.secQty) + "," + num(line.adjQty) + ",0)");
    add("Else");
    add("BEGIN");
    add("  UPDATE ICInvBackUp");
    add("  SET FCheckQty=FCheckQty + " + num(baseQty) + ",FAuxCheckQty=FAuxCheckQty + " +
        num(line.qty) + ",FSecCheckQty =FSecCheckQty + " + num(line.secQty) + ",");
    add("  FQtyAct=FQtyAct + " + num(baseQty) + ",FAuxQtyAct=FAuxQtyAct + " + num(line.qty) +
        ",FSecQtyAct=FSecQtyAct + " + num(line.secQty));
    sql += where;
    add("END");
    // A new line and an added-to line get their differences from the same rule.
    add("  UPDATE ICInvBackUp");
    add("  SET FMinus = FQtyAct - FQty - FAdjQty * " + num(line.coefficient) +
        ",FSecMinus = FSecQtyAct - FSecQty - FSecAdjQty ");
    sql += where;
    add("IF EXISTS (SELECT 1 FROM ICInvBackUp");
    sql += where;
    add(" AND (" + std::string(CountRules::kDirectionConflictSql) + "))");
    add("  BEGIN");
    add("    RAISERROR (" + raiseErrorText(refusedMessage) + ",16,1)");
    add("    ROLLBACK TRAN");
    add("  END");
    add("  ELSE");
    add("      COMMIT TRAN");
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
        appConn().ExecuteRaiseErr(
            addItemBatchSQL(line, backupTime, maxBillInterId,
                            MParse::LoadLangString(
                                "添加物料基本单位与辅助计量单位盘盈盘亏方向不一致，添加失败！")));
        return true;
    } catch (const host::HostError &e) {
        ShowMsg(e.Description(), 0);
        return false;
    }
}

} // namespace PubVariant
