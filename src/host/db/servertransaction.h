#pragma once

#include <memory>
#include <string_view>

namespace host {

class AppConnection;
class Recordset;

// A transaction of the database behind an application connection, for writes that must stay
// together or not at all (a backup, a bill, a line with the marks it takes). It begins with
// XACT_ABORT ON, so that on a server a failing statement ends its batch and rolls the whole
// transaction back, as the embedded database does by itself. Unless commit() succeeded, the
// destructor rolls back whatever is still open; it never throws.
//
// Everything the caller then sends through the same connection runs inside the transaction:
// an id or a number read from a table after the transaction began is the caller's until it
// commits (the embedded database takes its write lock at BEGIN, so a second writer waits there).
// One transaction at a time per connection; batches sent inside it hold no transaction text of
// their own.
class ServerTransaction
{
public:
    // Throws HostError when the transaction cannot begin (the database is busy or read-only).
    explicit ServerTransaction(AppConnection &connection);
    ~ServerTransaction();
    ServerTransaction(const ServerTransaction &) = delete;
    ServerTransaction &operator=(const ServerTransaction &) = delete;

    // Throws HostError when the commit fails, and also when a failure inside the transaction
    // already rolled it back; the destructor then rolls back what is left.
    void commit();
    // Ends the transaction now, as the destructor would; never throws.
    void rollback() noexcept;

private:
    AppConnection &m_connection;
    bool m_open = true;
};

// Runs a batch in a transaction of its own: all of it stays done, or none of it. The batch's
// rows come back as Execute returns them; its errors, a RAISERROR of severity 11 or more among
// them, reach the caller after the rollback.
std::shared_ptr<Recordset> executeInTransaction(AppConnection &connection, std::string_view batch);

} // namespace host
