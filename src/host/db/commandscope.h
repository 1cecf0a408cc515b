#pragma once

namespace host {

class AppConnection;

// A command that sends many batches (a save of many lines), so that what they write reaches the
// database file itself once, when the scope ends, instead of after every batch: until then it
// may wait in the embedded database's log. Scopes nest; on a server they do nothing. The
// connection must outlive the scope.
class CommandScope
{
public:
    explicit CommandScope(AppConnection &connection);
    ~CommandScope();
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

private:
    AppConnection &m_connection;
};

} // namespace host
