#pragma once

#include "host/db/backends/databasebackend.h"

#include <string>

namespace host {

// The real-server backend: sends the batch text unchanged through ODBC (unixODBC) and fetches
// every result that has columns into a client-side recordset. A server error, including a
// RAISERROR of severity 11 or more, throws HostError with the server's message.
class OdbcDatabase : public DatabaseBackend
{
public:
    explicit OdbcDatabase(const std::string &connectionString);
    ~OdbcDatabase() override;
    OdbcDatabase(const OdbcDatabase &) = delete;
    OdbcDatabase &operator=(const OdbcDatabase &) = delete;

    BatchResult execute(std::string_view sql) override;

private:
    void *m_env = nullptr;
    void *m_dbc = nullptr;
};

} // namespace host
