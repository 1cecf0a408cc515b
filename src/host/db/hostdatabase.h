#pragma once

#include <memory>
#include <string>

namespace host {

class AppConnection;

// The host's own connection to its database. The host program opens it once; the host
// components (the application connection handed to the module, the list server, data access,
// rights, lookups) all work on it.
std::shared_ptr<AppConnection> hostConnection();
void setHostConnection(std::shared_ptr<AppConnection> connection);
// Whether the path names a file of the host's database (see AppConnection::isDatabaseFile);
// false while none is open.
bool isHostDatabaseFile(const std::string &path);

} // namespace host
