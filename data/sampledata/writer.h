#pragma once

#include "sampledata/company.h"

namespace host {
class AppConnection;
}

namespace sampledata {

// Writes the sample company into a database that holds the host schema.
void writeBaseData(host::AppConnection &connection, const Company &company);
void writeStock(host::AppConnection &connection, const Company &company);
void writeSystem(host::AppConnection &connection, const Company &company);

} // namespace sampledata
