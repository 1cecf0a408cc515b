#pragma once

namespace host {
class AppConnection;
}

// The module's application connection; a HostError when the module has none.
host::AppConnection &appConn();
