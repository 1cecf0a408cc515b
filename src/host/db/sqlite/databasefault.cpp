#include "host/db/sqlite/databasefault.h"

#include "host/core/hosterror.h"

#include <sqlite3.h>

namespace host {

long sqliteErrorNumber(int resultCode)
{
    if (resultCode == SQLITE_READONLY_DBMOVED)
        return HostError::DatabaseMoved;
    switch (resultCode & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return HostError::DatabaseBusy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return HostError::DatabaseReadOnly;
    case SQLITE_FULL:
        return HostError::DatabaseFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return HostError::DatabaseDamaged;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return HostError::DatabaseUnavailable;
    default:
        return resultCode;
    }
}

DatabaseFault databaseFault(const std::exception &error)
{
    const auto *hostError = dynamic_cast<const HostError *>(&error);
    if (!hostError)
        return DatabaseFault::None;
    switch (hostError->Number()) {
    case HostError::DatabaseBusy:
        return DatabaseFault::Busy;
    case HostError::DatabaseReadOnly:
        return DatabaseFault::ReadOnly;
    case HostError::DatabaseFull:
        return DatabaseFault::Full;
    case HostError::DatabaseDamaged:
        return DatabaseFault::Damaged;
    case HostError::DatabaseUnavailable:
        return DatabaseFault::Unavailable;
    case HostError::DatabaseMoved:
        return DatabaseFault::Moved;
    case HostError::DatabaseLinked:
        return DatabaseFault::Linked;
    case HostError::DatabaseChanged:
        return DatabaseFault::Changed;
    default:
        return DatabaseFault::None;
    }
}

} // namespace host
