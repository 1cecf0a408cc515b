#include "host/db/servertransaction.h"

#include "host/db/appconnection.h"

#include <exception>

namespace host {
namespace {

// XACT_ABORT is a setting of the server's session: it is put back as it was for the statements
// that run outside a transaction afterwards.
constexpr std::string_view kBegin = "SET XACT_ABORT ON\r\nBEGIN TRAN";
constexpr std::string_view kCommit = "COMMIT TRAN\r\nSET XACT_ABORT OFF";
constexpr std::string_view kRollback = "IF @@TRANCOUNT > 0 ROLLBACK TRAN\r\nSET XACT_ABORT OFF";
constexpr std::string_view kAbortOff = "SET XACT_ABORT OFF";

} // namespace

ServerTransaction::ServerTransaction(AppConnection &connection) : m_connection(connection)
{
    try {
        m_connection.Execute(kBegin);
    } catch (const std::exception &) {
        try {
            m_connection.Execute(kAbortOff);
        } catch (const std::exception &) {
            // The failure to begin is the one to report.
        }
        throw;
    }
}

ServerTransaction::~ServerTransaction()
{
    rollback();
}

void ServerTransaction::rollback() noexcept
{
    if (!m_open)
        return;
    m_open = false;
    try {
        m_connection.Execute(kRollback);
    } catch (const std::exception &) {
        // A connection that cannot even roll back has lost the transaction with itself; the
        // failure that brought us here is the one to report.
    }
}

void ServerTransaction::commit()
{
    m_connection.Execute(kCommit);
    m_open = false;
}

std::shared_ptr<Recordset> executeInTransaction(AppConnection &connection, std::string_view batch)
{
    ServerTransaction transaction(connection);
    auto rows = connection.Execute(batch);
    transaction.commit();
    return rows;
}

} // namespace host
