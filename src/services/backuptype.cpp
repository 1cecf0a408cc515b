#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

namespace PubVariant {
namespace {

constexpr long kObjectRequired = 91;

} // namespace

bool SetBackupType(long lProcID, long lBackupType, const std::shared_ptr<host::Dictionary> &dict)
{
    const long log = modQelLogMsg::LogStart("ZarvoStockCheck.PubVariant.SetBackupType");
    const std::string id = std::to_string(lProcID);
    try {
        const auto &conn = module().gAppConn;
        if (!conn || !dict)
            throw host::HostError("Object variable not set.", kObjectRequired);
        conn->Execute("UPDATE ICStockCheckProcess \r\n"
                      "   SET FBackupType = " +
                      std::to_string(lBackupType) +
                      "\r\n"
                      " WHERE FID = " +
                      id +
                      "\r\n"
                      "UPDATE ICStockCheckProcess \r\n"
                      "   SET FMaxBillInterID = (SELECT MAX(FMaxBillInterID) FROM ICInvBackup "
                      "WHERE FInterID = " +
                      id +
                      ")\r\n"
                      " WHERE FID = " +
                      id + " AND ISNULL(FMaxBillInterID,0) = 0\r\n");
        const auto rs = conn->Execute("SELECT * FROM ICStockCheckProcess WHERE FID = " + id);
        if (!rs || rs->State() == host::Recordset::adStateClosed)
            throw host::HostError("Object variable not set.", kObjectRequired);
        if (rs->RecordCount() > 0) {
            dict->SetValue(id + "|BackupType", rs->Fields("FBackupType").Value());
            dict->SetValue(id + "|MaxInterID", rs->Fields("FMaxBillInterID").Value());
        }
        rs->Close();
        modQelLogMsg::LogEnd(log, 0);
        return true;
    } catch (const std::exception &) {
        modQelLogMsg::LogEnd(log, 1);
        MsgBox(MParse::LoadLangString("设置盘点方案备份类型错误!"), vbOKOnly);
        return false;
    }
}

} // namespace PubVariant
