#include "backup/dbaccess.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/recordset.h"
#include "services/appconn.h"

#include <exception>
#include <string>

namespace backup {

std::shared_ptr<host::Recordset> execute(std::string_view sql)
{
    return appConn().Execute(sql);
}

void executeInTransaction(std::string_view statements)
{
    std::string sql = "SET XACT_ABORT ON\r\nBEGIN TRAN\r\n";
    sql += statements;
    sql += "COMMIT TRAN\r\nSET XACT_ABORT OFF\r\n";
    try {
        execute(sql);
    } catch (const std::exception &) {
        // The setting outlives the batch on the server's connection.
        try {
            execute("SET XACT_ABORT OFF");
        } catch (const std::exception &) {
        }
        throw;
    }
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

std::string errorDescription(const std::exception &error)
{
    if (const auto *hostError = dynamic_cast<const host::HostError *>(&error))
        return hostError->Description();
    return error.what();
}

} // namespace backup
