#include "host/db/connection.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"

namespace host {

Connection::Connection(std::shared_ptr<AppConnection> open) : m_database(std::move(open)) {}

void Connection::Open(const std::string &connectionString, const std::string &, const std::string &,
                      long)
{
    if (State() == adStateOpen)
        throw HostError("Operation is not allowed when the object is open.", 3705);
    auto database = std::make_shared<AppConnection>();
    database->open(connectionString);
    m_database = std::move(database);
}

void Connection::Close()
{
    m_database.reset();
}

long Connection::State() const
{
    return m_database && m_database->isOpen() ? adStateOpen : adStateClosed;
}

std::string Connection::ConnectionString() const
{
    return m_database ? m_database->ConnectionString() : std::string();
}

} // namespace host
