#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "services/appconn.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

namespace PubVariant {
namespace {

std::shared_ptr<host::Recordset> execute(std::string_view sql)
{
    return appConn().Execute(sql);
}

// Every step of the item search returns these columns, so a caller reads the same fields
// whichever step found the item.
constexpr std::string_view kItemColumns =
    "FISSNManage,FItemID,FNumber,FShortNumber,FName,FModel,FStoreUnitID,FUnitID,FQtyDecimal,"
    "FBatchManager,FISKFPeriod,FKFPeriod,FAuxClassID,FSecUnitID";

} // namespace

std::shared_ptr<host::Recordset> GetStockRS(std::string_view stockCode)
{
    host::Vector tables;
    tables.Add("t_Stock");
    host::Vector descriptors;
    descriptors.Add(host::Variant(MMTS::AccessDescriptor("t_Stock", "te", "u1", "FItemID")));
    std::string from;
    std::string where;
    MMTS::GetDataAccessSQL(MMTS::GetPropsString(), MParse::GetUserID(), tables, descriptors, from,
                           where, false);
    std::string code;
    if (!stockCode.empty())
        code = " and (" + std::string(module().gUseShortNumber ? "u1.FNumber" : "u1.FShortNumber") +
               " = " + host::sqlString(stockCode) + ")";
    try {
        return execute("Select u2.FFullName as FName,u1.FItemID,u1.FIsStockMgr From t_Stock "
                       "u1,t_item u2" +
                       (from.empty() ? std::string() : "," + from) +
                       " Where u1.FItemID = u2.FItemID and u1.FDeleted<>1 And u1.FTypeID in "
                       "(500,20291,20293) " +
                       code + (where.empty() ? std::string() : " and " + where) +
                       " Order by u1.FNumber");
    } catch (const host::HostError &e) {
        ShowMsg(MParse::LoadLangString("获取仓库信息时出错。") + e.Description(), 0);
        return nullptr;
    }
}

std::shared_ptr<host::Recordset> GetItemRS(std::string_view itemCode, long itemId)
{
    const std::string code = host::sqlString(itemCode);
    const std::string select = "select " + std::string(kItemColumns) + " From t_ICItem where ";
    // Whichever way it is found, an item may be counted only when it is neither deleted nor of
    // class 6 or 8.
    const std::string countable = "\r\n And FErpClsID Not in(6,8) And FDeleted<>1 ";
    auto rs = execute(select + (module().gUseShortNumber ? "FNumber" : "FShortNumber") + "=" +
                      code + countable + "\r\nOrder By FNumber");
    if (!host::hasRows(rs))
        rs = execute(select + "FHelpCode = " + code + countable + "\r\nOrder By len(FNumber)");
    if (!host::hasRows(rs))
        rs = execute(select +
                     "FItemID in (select fitemid from t_barcode where ftypeid = 4 and fbarcode=" +
                     code + ")" + countable);
    if (host::hasRows(rs) && itemId > 0) {
        rs->Filter(" FItemID = " + std::to_string(itemId));
        if (rs->RecordCount() == 0)
            rs->Filter("");
    }
    return rs;
}

std::string GetUnitInfo(std::string_view unitId, long &unitGroupId, double &coefficient,
                        bool wantGroup) noexcept
{
    try {
        const auto rs = execute("SELECT * FROM t_MeasureUnit WHERE FMeasureUnitID=" +
                                std::to_string(static_cast<long>(host::Val(unitId))));
        coefficient = host::CDbl(rs->Fields("FCoefficient").Value());
        if (wantGroup)
            unitGroupId = host::CLng(rs->Fields("FUnitGroupID").Value());
        return host::CStr(rs->Fields("FName").Value());
    } catch (...) {
        return {};
    }
}

} // namespace PubVariant
