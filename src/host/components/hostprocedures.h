#pragma once

namespace host {

class AppConnection;

// The host's stored procedures that the module calls, for a connection to the embedded
// database (a server has its own). Registering again replaces them; a connection to a server
// is left alone.
void registerHostProcedures(AppConnection &connection);

} // namespace host
