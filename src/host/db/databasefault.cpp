#include "host/db/databasefault.h"

#include "host/core/hosterror.h"

#include <sqlite3.h>

namespace host {
namespace {

// The automation errors a data provider raises for these failures: timeout expired, permission
// denied, and a provider that failed to do what was asked.
constexpr long kBusyNumber = -2147217871;
constexpr long kReadOnlyNumber = -2147217911;
constexpr long kUnavailableNumber = 3000;

} // namespace

long sqliteErrorNumber(int resultCode)
{
    switch (resultCode & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return kBusyNumber;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return kReadOnlyNumber;
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
        return kUnavailableNumber;
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
    case kBusyNumber:
        return DatabaseFault::Busy;
    case kReadOnlyNumber:
        return DatabaseFault::ReadOnly;
    case kUnavailableNumber:
        return DatabaseFault::Unavailable;
    default:
        return DatabaseFault::None;
    }
}

} // namespace host
