#include "host/db/commandscope.h"

#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"

namespace host {

CommandScope::CommandScope(AppConnection &connection) : m_connection(connection)
{
    if (EmbeddedDatabase *db = m_connection.embedded())
        db->beginCommand();
}

CommandScope::~CommandScope()
{
    if (EmbeddedDatabase *db = m_connection.embedded())
        db->endCommand();
}

} // namespace host
