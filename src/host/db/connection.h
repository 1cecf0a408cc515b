#pragma once

#include "host/core/hostobject.h"

#include <memory>
#include <string>
#include <string_view>

namespace host {

class AppConnection;

// A plain database connection as the host hands it over: opened from a connection string,
// with a cursor location. The module runs no SQL on it; it passes it on to host components.
class Connection : public HostObject
{
public:
    static constexpr long adStateClosed = 0;
    static constexpr long adStateOpen = 1;
    static constexpr long adUseServer = 2;
    static constexpr long adUseClient = 3;

    Connection() = default;
    // A connection already open on that application connection's database.
    explicit Connection(std::shared_ptr<AppConnection> open);

    // Opening an open connection is an error and leaves it as it was.
    virtual void Open(const std::string &connectionString, const std::string &user,
                      const std::string &password, long options);
    virtual void Close();
    virtual long State() const;
    virtual std::string ConnectionString() const;
    virtual long CursorLocation() const { return m_cursorLocation; }
    virtual void SetCursorLocation(long location) { m_cursorLocation = location; }

    // The database behind it, for the host components it is handed to; nullptr when closed.
    std::shared_ptr<AppConnection> database() const { return m_database; }

private:
    std::shared_ptr<AppConnection> m_database;
    long m_cursorLocation = adUseServer;
};

} // namespace host
