#include "backup/dbaccess.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/recordset.h"
#include "services/modulestate.h"

namespace backup {

std::shared_ptr<host::Recordset> execute(std::string_view sql)
{
    const auto &connection = module().gAppConn;
    if (!connection)
        throw host::HostError("The application connection is not open.");
    return connection->Execute(sql);
}

bool atEnd(const std::shared_ptr<host::Recordset> &rs)
{
    return !rs || rs->State() == host::Recordset::adStateClosed || rs->EOF();
}

host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, long index)
{
    if (atEnd(rs))
        throw host::HostError("The query returned no row.");
    return rs->Fields(index).Value();
}

host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, std::string_view name)
{
    if (atEnd(rs))
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

} // namespace backup
