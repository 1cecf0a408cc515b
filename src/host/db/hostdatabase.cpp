#include "host/db/hostdatabase.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"

namespace host {
namespace {

std::shared_ptr<AppConnection> &slot()
{
    static std::shared_ptr<AppConnection> connection;
    return connection;
}

} // namespace

std::shared_ptr<AppConnection> hostConnection()
{
    if (!slot())
        throw HostError("The host database is not open.");
    return slot();
}

void setHostConnection(std::shared_ptr<AppConnection> connection)
{
    slot() = std::move(connection);
}

bool isHostDatabaseFile(const std::string &path)
{
    return slot() && slot()->isDatabaseFile(path);
}

} // namespace host
