#include "host/access/dataaccess.h"
#include "host/core/text.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/props/shareprops.h"

namespace host {
namespace {

std::string text(const Dictionary &d, std::string_view key)
{
    return Trim(CStr(d.Value(key)));
}

// The records the user may see of one table, as a derived table.
std::string allowedRecords(long userId, const std::string &table)
{
    return "(select distinct FItemID from t_DataAccessRule where FUserID=" +
           std::to_string(userId) + " and FDataTable=" + sqlString(table) + ")";
}

template <typename Append>
std::shared_ptr<Dictionary> fragments(Vector &descriptors, const RowAccessInfo *info, Append append)
{
    std::string from;
    std::string where;
    for (long i = 1; info && i <= descriptors.Count(); ++i) {
        const auto d = descriptors.Item(i).as<Dictionary>();
        if (!d)
            throw HostError("Row-level access descriptor " + std::to_string(i) +
                            " is not a dictionary.");
        const std::string table = text(*d, "DataTable");
        if (!info->restrictedTables->Exists(table))
            continue;
        append(from, where, allowedRecords(info->userId, table), text(*d, "DataTableAs"),
               text(*d, "DataCol"), text(*d, "BillTableAs") + "." + text(*d, "BillCol"));
    }
    auto result = std::make_shared<Dictionary>();
    result->SetValue("From", from);
    result->SetValue("Where", where);
    return result;
}

long contextUserId(const std::string &props)
{
    const size_t at = findNoCase(props, "userid=");
    if (at == std::string::npos)
        return 0;
    return static_cast<long>(Val(props.substr(at + 7)));
}

} // namespace

bool DataAccess::IsUsed(const std::string &, long userId)
{
    const auto rs = hostConnection()->Execute(
        "select count(*) from t_DataAccessRule where FUserID=" + std::to_string(userId));
    return CLng(rs->Fields(0).Value()) > 0;
}

std::shared_ptr<RowAccessInfo> DataAccess::GetRowAccessInfo(const std::string &, long userId,
                                                            Vector &tableNames)
{
    auto info = std::make_shared<RowAccessInfo>();
    info->userId = userId;
    for (long i = 1; i <= tableNames.Count(); ++i) {
        const std::string table = Trim(CStr(tableNames.Item(i)));
        const auto rs = hostConnection()->Execute(
            "select count(*) from t_DataAccessRule where FUserID=" + std::to_string(userId) +
            " and FDataTable=" + sqlString(table));
        if (CLng(rs->Fields(0).Value()) > 0)
            info->restrictedTables->SetValue(table, true);
    }
    return info;
}

std::shared_ptr<Dictionary> DataAccess::GetAccessDataSQL(Vector &descriptors,
                                                         std::shared_ptr<RowAccessInfo> &info)
{
    return fragments(descriptors, info.get(),
                     [](std::string &from, std::string &, const std::string &records,
                        const std::string &alias, const std::string &column,
                        const std::string &billColumn) {
                         from += " inner join " + records + " " + alias + " on " + alias + "." +
                                 column + "=" + billColumn;
                     });
}

std::shared_ptr<Dictionary> DataAccess::GetAccessDataSQL2(Vector &descriptors,
                                                          std::shared_ptr<RowAccessInfo> &info)
{
    return fragments(
        descriptors, info.get(),
        [](std::string &from, std::string &where, const std::string &records,
           const std::string &alias, const std::string &column, const std::string &billColumn) {
            from += (from.empty() ? "" : ",") + records + " " + alias;
            where += (where.empty() ? "" : " and ") + alias + "." + column + "=" + billColumn;
        });
}

bool GLData::AccessCheck(short objectType, short rightIndex, long mask)
{
    const long userId =
        contextUserId(CStr(ShareProps().GetProperty(currentProcessId(), "PropsString")));
    const auto rs = hostConnection()->Execute(
        "select FAccessMask from t_UserRight where FUserID=" + std::to_string(userId) +
        " and FObjectType=" + std::to_string(objectType) +
        " and FRightIndex=" + std::to_string(rightIndex));
    if (rs->RecordCount() < 1)
        return false;
    const long granted = CLng(rs->Fields(0).Value());
    return (granted & mask) == mask;
}

} // namespace host
