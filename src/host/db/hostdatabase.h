#pragma once

#include <memory>

namespace host {

class AppConnection;

// The host's own connection to its database. The host program opens it once; the host
// components (the application connection handed to the module, the list server, data access,
// rights, lookups) all work on it.
std::shared_ptr<AppConnection> hostConnection();
void setHostConnection(std::shared_ptr<AppConnection> connection);

} // namespace host
