#include "host/db/databasefault.h"

#include "host/core/hosterror.h"

namespace host {

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
