#include "host/components/hostprocedures.h"

#include "host/db/appconnection.h"

namespace host {

void registerHostProcedures(AppConnection &connection)
{
    if (!connection.embedded())
        return;
    // Submits the bills that point-of-sale terminals left pending. The embedded host has no
    // point-of-sale terminals, so there is never anything to submit; the call must succeed.
    connection.registerProcedure("Prc_synchronizationData", [](const std::vector<Variant> &) {});
}

} // namespace host
