#include "services/appconn.h"

#include "host/core/hosterror.h"
#include "services/modulestate.h"

host::AppConnection &appConn()
{
    const auto &connection = module().gAppConn;
    if (!connection)
        throw host::HostError("Object variable or With block variable not set", 91);
    return *connection;
}
