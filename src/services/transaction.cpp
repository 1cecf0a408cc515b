#include "services/transaction.h"

#include "host/db/servertransaction.h"
#include "services/appconn.h"

void executeInTransaction(std::string_view statements)
{
    host::executeInTransaction(appConn(), statements);
}
