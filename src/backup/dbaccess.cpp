#include "backup/dbaccess.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "services/appconn.h"

#include <exception>
#include <string>

namespace backup {

std::shared_ptr<host::Recordset> execute(std::string_view sql)
{
    return appConn().Execute(sql);
}

host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, long index)
{
    if (!host::hasRows(rs))
        throw host::HostError("The query returned no row.");
    return rs->Fields(index).Value();
}

host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, std::string_view name)
{
    if (!host::hasRows(rs))
        throw host::HostError("The query returned no row.");
    return rs->Fields(name).Value();
}

void moveNext(const std::shared_ptr<host::Recordset> &rs)
{
    rs->MoveNext();
}

void setFilter(const std::shared_ptr<host::Recordset> &rs, std::string_view criteria)
{
    if (rs && rs->State() != host::Recordset::adStateClosed)
        rs->Filter(criteria);
}

std::string errorDescription(const std::exception &error)
{
    if (const auto *hostError = dynamic_cast<const host::HostError *>(&error))
        return hostError->Description();
    return error.what();
}

} // namespace backup
