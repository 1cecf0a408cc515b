#pragma once

#include "host/db/appconnection.h"

#include <memory>
#include <string_view>

// An application connection to an embedded database that keeps transactions as a SQL Server
// session without XACT_ABORT does: a failing statement undoes only itself, and the transaction
// stays open with everything done before it until the caller commits or rolls back. SET
// XACT_ABORT is recorded and not honoured, so code that leaves its rollback to the server, or
// commits after a failure, leaves its partial writes behind here.
//
// Batches made only of transaction statements (BEGIN, COMMIT or ROLLBACK TRAN, IF @@TRANCOUNT >
// 0 ROLLBACK TRAN, SET XACT_ABORT) are run here; every other batch goes to the embedded database,
// and must then hold no transaction statement of its own.
class NoXactAbortConnection : public host::AppConnection
{
public:
    std::shared_ptr<host::Recordset> Execute(std::string_view sql) override;
    int tranCount() const { return m_tranCount; }
    // The session's XACT_ABORT as the last SET XACT_ABORT left it.
    bool xactAbort() const { return m_xactAbort; }

private:
    void run(std::string_view statement);

    int m_tranCount = 0;
    bool m_xactAbort = false;
};

// A fresh one in memory with the host schema and no rows.
std::shared_ptr<NoXactAbortConnection> openNoXactAbortSchemaDatabase();
