#pragma once

#include <memory>

namespace host {
class AppConnection;
}

// Gives the demo company on the connection one count of the current stock, made by the module's
// own backup as a user's New makes it: of every stock the backup accepts (those without
// unaudited bills), for the stock manager. Throws HostError with the module's reasons when no
// count could be made.
void makeDemoCount(const std::shared_ptr<host::AppConnection> &connection);
