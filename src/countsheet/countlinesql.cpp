#include "countsheet/countlinesql.h"

#include "countsheet/checkbillsql.h"
#include "host/core/dictionary.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "host/db/appconnection.h"
#include "host/db/recordset.h"
#include "services/appconn.h"
#include "services/countrecords.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <optional>
#include <string_view>

namespace PubVariant {
namespace {

// The values of one RowData, read all at once so that a missing key drops the whole line.
struct RowValues
{
    CountLineKey key;
    double CheckQty, DiffQty, CUUnitDiffQty, CUUnitAccountQty, CUUnitCheckQty, AdjQty;
    double SecUnitQty, SecCheckQty, SecAdjQty, SecDiffQty, FCoefficient, AccountQty;
    std::string Note;
};

class RowReader
{
public:
    explicit RowReader(const host::Dictionary &row) : m_row(row) {}

    long number(std::string_view key) { return static_cast<long>(host::CLng(value(key))); }
    double quantity(std::string_view key) { return host::CDbl(value(key)); }
    std::string text(std::string_view key) { return host::CStr(value(key)); }

private:
    host::Variant value(std::string_view key)
    {
        if (!m_row.Exists(key))
            throw host::HostError("RowData lacks " + std::string(key));
        return m_row.Value(key);
    }
    const host::Dictionary &m_row;
};

std::optional<RowValues> readRow(const host::Dictionary &row) noexcept
{
    try {
        RowReader r(row);
        RowValues v;
        v.key.FInterID = module().gCurInterID;
        v.key.FStockPlaceID = r.number("SPID");
        v.key.FKFDate = r.text("KFDate");
        v.key.FKFPeriod = r.number("KFPeriod");
        v.key.FItemID = r.number("ItemID");
        v.key.FUnitID = r.number("UnitID");
        v.key.FBatchNo = r.text("BatchNo");
        v.key.FMtoNo = r.text("MtoNo");
        v.key.FStockID = r.number("StockID");
        v.key.FAuxPropID = r.number("AuxPropID");
        v.CheckQty = r.quantity("CheckQty");
        v.DiffQty = r.quantity("DiffQty");
        v.CUUnitDiffQty = r.quantity("CUUnitDiffQty");
        v.CUUnitAccountQty = r.quantity("CUUnitAccountQty");
        v.CUUnitCheckQty = r.quantity("CUUnitCheckQty");
        v.Note = r.text("Note");
        v.AdjQty = r.quantity("AdjQty");
        v.SecUnitQty = r.quantity("SecUnitQty");
        v.SecCheckQty = r.quantity("SecCheckQty");
        v.SecAdjQty = r.quantity("SecAdjQty");
        v.SecDiffQty = r.quantity("SecDiffQty");
        v.FCoefficient = r.quantity("FCoefficient");
        v.AccountQty = r.quantity("AccountQty");
        return v;
    } catch (...) {
        return std::nullopt;
    }
}

std::string updateKeyCondition(const CountLineKey &k)
{
    std::string s;
    s += " Where FInterID = " + std::to_string(k.FInterID) +
         " And FStockID=" + std::to_string(k.FStockID) + host::kCrLf;
    s += " AND FItemID=" + std::to_string(k.FItemID) + host::kCrLf;
    s += " AND FStockPlaceID=" + std::to_string(k.FStockPlaceID) + host::kCrLf;
    s += " AND CONVERT(DATETIME,FKFDate)=" + host::sqlString(k.FKFDate) + host::kCrLf;
    s += " AND FKFPeriod=" + std::to_string(k.FKFPeriod) + host::kCrLf;
    s += " AND FBatchNo=" + host::sqlString(k.FBatchNo) + host::kCrLf;
    s += " AND FMtoNo=" + host::sqlString(k.FMtoNo) + host::kCrLf;
    s += " AND FAuxPropID=" + std::to_string(k.FAuxPropID) + host::kCrLf;
    s += " And FUnitID=" + std::to_string(k.FUnitID) + host::kCrLf;
    return s;
}

} // namespace

void GetUpdateRowSQL(host::StringBuilder &sbSQL, const host::Dictionary &oRow)
{
    const std::optional<RowValues> row = readRow(oRow);
    if (!row)
        return;
    const RowValues &v = *row;
    const std::string where = updateKeyCondition(v.key);
    auto line = [&](const std::string &text) { sbSQL.Append(text).Append(host::kCrLf); };

    line("Update ICInvBackup Set ");
    line("FCheckQty=" + host::sqlNumber(v.CheckQty) + ",");
    line("FQtyAct=" + host::sqlNumber(v.CheckQty + v.DiffQty) + ",");
    line("FAuxQty=" + host::sqlNumber(v.CUUnitAccountQty) + ",");
    line("FQty=" + host::sqlNumber(v.AccountQty) + ",");
    line("FAuxCheckQty=" + host::sqlNumber(v.CUUnitCheckQty) + ",");
    line("FAuxQtyAct=" + host::sqlNumber(v.CUUnitCheckQty + v.CUUnitDiffQty) + ",");
    line("FChecker=" + std::to_string(module().gOperatorID) + ",");
    line("FNote=" + host::sqlString(v.Note) + ",");
    line("FAdjQty=" + host::sqlNumber(v.AdjQty) + ",");
    line("FSecQty=" + host::sqlNumber(v.SecUnitQty) + ",");
    line("FSecQtyAct=" + host::sqlNumber(v.SecCheckQty + v.SecDiffQty) + ",");
    line("FSecCheckQty=" + host::sqlNumber(v.SecCheckQty) + ",");
    line("FSecAdjQty=" + host::sqlNumber(v.SecAdjQty));
    sbSQL.Append(where);

    line("Update ICInvBackup Set ");
    line("FMinus=FQtyAct-FQty-(FAdjQty*" + host::sqlNumber(v.FCoefficient) + "),");
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
