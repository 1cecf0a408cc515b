#include "backup/icbackupinv.h"

#include "backup/dbaccess.h"
#include "host/components/hostprocedures.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "services/databasefailure.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/transaction.h"

ICBackupInv::ICBackupInv()
{
    auto connection = host::CreateObjectAs<host::AppConnection>("ZarvoConnection.AppConnection");
    host::registerHostProcedures(*connection);
    module().gAppConn = std::move(connection);
}

std::string ICBackupInv::GetStockBillByProcID(long vProcID)
{
    auto rs = backup::execute("Select FBillNo From ICStockBill Where FProcID = " +
                              std::to_string(vProcID));
    std::string numbers;
    for (; host::hasRows(rs); backup::moveNext(rs)) {
        if (!numbers.empty())
            numbers += ',';
        numbers += host::CStr(backup::fieldValue(rs, "FBillNo"));
    }
    return numbers;
}

bool ICBackupInv::DelProcAndBackupData(long vProcID)
{
    const std::string id = std::to_string(vProcID);
    // One transaction: a failure must leave neither lines without their process nor a process
    // without its lines.
    std::string sql;
    host::addLine(sql, "delete icstockcheckprocess where fid=", id);
    host::addLine(sql, "delete icinvbackup where finterid=", id);
    host::addLine(sql,
                  "UPDATE ICStockBillEntry SET FSelectedProcID =0 WHERE FSelectedProcID =", id);
    try {
        executeInTransaction(sql);
        return true;
    } catch (const std::exception &e) {
        // Said here, where the cause is known: the caller only learns that nothing was deleted.
        PubVariant::MsgBox(
            explainFailure(
                e, MParse::LoadLangString("删除盘点方案失败，方案和它的盘点数据都没有改动。")),
            PubVariant::vbInformation);
        return false;
    }
}

std::shared_ptr<host::Recordset> ICBackupInv::GetProcList(bool ShowCloseProc, bool blnSortByDesc)
{
    std::string sql = "select b.fname as username,a.* from icstockcheckprocess a join t_user b on "
                      "a.foperatorid=b.fuserid ";
    if (!ShowCloseProc)
        sql += " and a.fstatus=0 ";
    sql += " order by fid ";
    sql += blnSortByDesc ? "Asc" : "Desc";
    return backup::execute(sql);
}

bool ICBackupInv::SaveProc(const host::Vector &vVect)
{
    try {
        std::string sql;
        for (long i = 1; i <= vVect.Count(); ++i) {
            const auto change = vVect.Item(i).as<host::Dictionary>();
            if (!change)
                throw host::HostError("ProcChange", host::HostError::TypeMismatch);
            host::addLine(sql, "update ICStockCheckProcess set FProcessID='",
                          host::sqlEscape(host::CStr(change->Value("ProcID"))), "',FRemark='",
                          host::sqlEscape(host::CStr(change->Value("Remark"))),
                          "' where FID = ", std::to_string(host::CLng(change->Value("FID"))));
        }
        backup::execute(sql);
        return true;
    } catch (const std::exception &e) {
        PubVariant::MsgBox(
            MParse::LoadLangString("保存盘点方案失败，请刷新盘点方案确信修改的方案名称不存在！") +
                "\n" + failureDescription(e),
            PubVariant::vbInformation);
        return false;
    }
}

bool ICBackupInv::StockIsBackuped(long StockID)
{
    try {
        return host::hasRows(backup::execute("Select TOP 1 1 From ICInvBackup Where FStockID=" +
                                             std::to_string(StockID)));
    } catch (const std::exception &e) {
        PubVariant::ShowMsg(
            MParse::LoadLangString("是否该仓库已备份过出错。") + failureDescription(e), 0);
        return false;
    }
}

bool ICBackupInv::StockIsFinished(long StockID)
{
    const std::string lines =
        "Select FBillInterID From ICInvBackup Where FStockID=" + std::to_string(StockID);
    try {
        if (!host::hasRows(backup::execute(lines)))
            return true;
        return host::hasRows(backup::execute(lines +
                                             " And FBillInterID Is Not Null And "
                                             "FBillInterID IN " +
                                             "(Select Distinct FInterID From ICStockBill)"));
    } catch (const std::exception &e) {
        PubVariant::ShowMsg(
            MParse::LoadLangString("是否该仓库已完成输出盘点单据.") + failureDescription(e), 0);
        return false;
    }
}
