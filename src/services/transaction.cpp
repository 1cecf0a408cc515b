#include "services/transaction.h"

#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "services/appconn.h"

#include <exception>
#include <string>

void executeInTransaction(std::string_view statements)
{
    std::string sql;
    host::addLine(sql, "SET XACT_ABORT ON");
    host::addLine(sql, "BEGIN TRAN");
    sql += statements;
    host::addLine(sql, "COMMIT TRAN");
    host::addLine(sql, "SET XACT_ABORT OFF");
    try {
        appConn().Execute(sql);
    } catch (const std::exception &) {
        // The setting outlives the batch on the server's connection.
        try {
            appConn().Execute("SET XACT_ABORT OFF");
        } catch (const std::exception &) {
        }
        throw;
    }
}
