#include "backup/icbackupinv.h"

#include "backup/backupstate.h"
#include "backup/dbaccess.h"
#include "host/core/dateformatter.h"
#include "host/core/sqltext.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <exception>

namespace {

std::string textOf(const host::Dictionary &dict, std::string_view key)
{
    return host::CStr(dict.Value(key));
}

// Reads a single value and marks the ids users had reserved up to it as taken.
long takeMaximum(std::string_view maxSql, std::string_view tableName)
{
    const long maximum = host::CLng(backup::fieldValue(backup::execute(maxSql), 0));
    backup::execute("UPDATE IC_MaxNum SET FFlag = 1 WHERE FUserID <> 0 AND FTableName = '" +
                    std::string(tableName) + "' AND FNumber <= " + std::to_string(maximum) +
                    " AND FFlag = 0");
    return maximum;
}

} // namespace

std::string ICBackupInv::SyncPosBill()
{
    std::string sql;
    host::addLine(sql, "IF EXISTS (SELECT 1 FROM t_SystemProfile WHERE FKey='ICBillPos' AND "
                       "FCategory='IC' AND FValue = '1')");
    host::addLine(sql, "EXECUTE Prc_synchronizationData 0 , '',0");
    try {
        backup::execute(sql);
        return {};
    } catch (const std::exception &) {
        return MParse::LoadLangString("自动提交单据失败！");
    }
}

bool ICBackupInv::GetStockBillMaxID()
{
    auto &snapshot = backupState();
    snapshot.gSnapshotMaxima = BackupState::SnapshotMaxima::ReadFailed;
    try {
        snapshot.gMaxBillInterID =
            takeMaximum("Select ISNULL(Max(FInterID),0) From ICStockBill", "ICStockBill");
        snapshot.gMaxMTOChangeID =
            takeMaximum("Select ISNULL(Max(FID),0) From t_MTOChange", "t_MTOChange");
        snapshot.gSnapshotMaxima = BackupState::SnapshotMaxima::Taken;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

std::string ICBackupInv::CheckStockRecCount(const host::Dictionary &vDict, bool blnIsCutDate,
                                            double /*CutDate*/)
{
    // A cut-off balance makes the same test on its own result.
    if (blnIsCutDate)
        return {};
    try {
        const std::string stock = vDict.Exists("Stock") ? textOf(vDict, "Stock") : "-1";
        std::string sql;
        host::addLine(sql, " select a.fitemid from icinventory a");
        host::addLine(sql, " left join t_stock b on a.fstockid = b.fitemid");
        host::addLine(sql, " left join t_stockplace t5 on a.fstockplaceid = t5.fspid");
        host::addLine(sql, " left join t_icitem t4 on a.fitemid = t4.fitemid");
        host::addLine(sql, " where b.fitemid in (", stock, ") ", textOf(vDict, "Filter"));
        if (!host::hasRows(backup::execute(sql)))
            return MParse::LoadLangString("没有可用的数据，不能备份！");
        return {};
    } catch (const std::exception &) {
        return MParse::LoadLangString("检查仓库是否有数据时出错。");
    }
}

std::string ICBackupInv::CheckBillInterID(const host::Dictionary &vDict)
{
    try {
        const std::string stock = textOf(vDict, "Stock");
        auto stocks = backup::execute("select fitemid,-1 from t_stock where fitemid in(" + stock +
                                      ") order by fitemid");
        std::string condition = textOf(vDict, "Filter");
        if (host::CBool(vDict.GetValue("isCutDate", false)))
            condition += " And b.FDate<='" +
                         host::DateFormatter().format(vDict.Value("CutDate"), "YYYY-MM-DD") + "'";
        std::string inserts;
        for (; host::hasRows(stocks); backup::moveNext(stocks))
            host::addLine(inserts, BuildUnauditedBillSQL(host::CLng(backup::fieldValue(stocks, 0)),
                                                         condition, vDict));

        std::string sql;
        host::addLine(sql, "set nocount on ");
        host::addLine(sql, "create table #Temp(fstock int,fsp int)");
        sql += inserts;
        host::addLine(sql, " Select Distinct FStock,Fsp Into #Temp2  From  #Temp where FStock in (",
                      stock, ")");
        host::addLine(sql, " select b.fname,c.fname from #Temp2 a");
        host::addLine(sql,
                      " join t_stock b on a.fstock=b.fitemid join t_stockplace c on a.fsp "
                      "=c.fspid",
                      " drop table #Temp,#Temp2 ");
        auto places = backup::execute(sql);
        if (!host::hasRows(places))
            return {};
        std::string lines;
        for (; host::hasRows(places); backup::moveNext(places))
            host::addLine(lines,
                          MParse::FormatLangString("[%1]仓库,[%2]仓位",
                                                   {host::Trim(backup::fieldValue(places, 0)),
                                                    host::Trim(backup::fieldValue(places, 1))}));
        return MParse::LoadLangString("以下仓库(仓位)有未审核的单据，不能备份：") +
               std::string(host::kCrLf) + lines;
    } catch (const std::exception &) {
        std::string message =
            MParse::LoadLangString("查找该仓库中在本最大内码之前是否还有未审核的单据出错。");
        PubVariant::ShowMsg(message, 0);
        return message;
    }
}

std::string ICBackupInv::BuildUnauditedBillSQL(long stockId, const std::string &condition,
                                               const host::Dictionary &vDict)
{
    const std::string s = std::to_string(stockId);
    const std::string maxBill = std::to_string(backupState().gMaxBillInterID);
    std::string head;
    host::addLine(head, "Insert into #Temp",
                  " Select Distinct case when b.ftrantype = 41 then ( Case When a.FDCStockID in (",
                  textOf(vDict, "Stock"),
                  ") Then  isnull(a.FDCStockID,0) Else isnull(a.FSCStockID,0) end )  else "
                  "(isnull(a.FDCStockID,0)+isnull(a.FSCStockID,0)) end as fstock,",
                  "case when b.ftrantype = 41 then ( Case When a.FDCStockID in (", s,
                  ") Then  isnull(a.FDCSPID,0) Else isnull(a.FSCSPID,0) end ) else "
                  "isnull(a.FDCSPID,0)+isnull(a.FSCSPID,0) end as fsp",
                  " From ICStockBillEntry a ");
    host::addLine(head, " join t_icitem t4 on a.fitemid = t4.fitemid ");
    host::addLine(head, " join ICStockBill b on a.FInterID=b.FInterID ");
    host::addLine(head,
                  " join t_stockplace t5 on (isnull(a.FDCSPID,0)+isnull(a.FSCSPID,0))=t5.fspid ");
    host::addLine(head,
                  " where b.FCancellation=0 And (b.FCheckerID Is NUll) And a.FInterID<=", maxBill);
    host::addLine(head, " And (isnull(a.FSCStockID,0) = ", s, " or isnull(a.FDCStockID,0) = ", s,
                  ") ", condition);

    std::string sql;
    host::addLine(sql, head, " And a.FDCStockID = ", s,
                  " And b.FTranType<=43 And b.FTranType<>41 And b.FTranType<>24");
    host::addLine(sql, head, " And isnull(a.FSCStockID,0) = ", s, " And b.FTranType=24");
    host::addLine(sql, head, " And ((isnull(a.FSCStockID,0) = ", s,
                  " or isnull(a.FDCStockID,0) = ", s, ") ", host::kCrLf, " ) And b.FTranType=41");
    host::addLine(sql, "Insert into #Temp", " Select Distinct isnull(a.FStockID,0) as fstock,",
                  " isnull(a.FSPID,0) as fsp", " From t_MTOChangeEntry a ");
    host::addLine(sql, " join t_icitem t4 on a.fitemid = t4.fitemid ");
    host::addLine(sql, " join t_MTOChange b on a.FID=b.FID ");
    host::addLine(sql, " join t_stockplace t5 on isnull(a.FSPID,0)=t5.fspid ");
    host::addLine(sql, " where a.FID<=", std::to_string(backupState().gMaxMTOChangeID));
    host::addLine(sql,
                  " AND b.FClassTypeID = 1107011 AND ISNULL(b.FCheckerID,0) = 0 And "
                  "(isnull(a.FStockID,0) = ",
                  s, ") ", condition);
    return sql;
}
