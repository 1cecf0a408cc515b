#include "sampledata/columntemplates.h"

#include "host/db/appconnection.h"
#include "sampledata/schema.h"

namespace sampledata {

void writeColumnTemplates(host::AppConnection &connection)
{
    for (const auto &statement : schemaStatements(columnTemplatesText()))
        connection.Execute(statement);
}

} // namespace sampledata
