#pragma once

#include "host/core/hostobject.h"
#include "host/core/variant.h"
#include "host/db/backends/nameholds.h"
#include "host/db/recordset/recordset.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class DatabaseBackend;
class EmbeddedDatabase;
class SqlBatch;

// The host's application connection: every SQL text of the module runs through it. It keeps
// one connection open, to the embedded database (SQLite behind the T-SQL layer) or to a server
// through ODBC, which receives the text unchanged.
//
// Execute returns a client-side recordset: the rows of the batch's last statement that yields
// rows, or a closed recordset when none does. A failing statement throws HostError with the
// database's message; so does a RAISERROR of severity 11 or more, after the batch has run.
// One connection serves one thread; two connections may share a database file. Execute may be
// overridden by a connection that stands for another kind of server.
class AppConnection : public HostObject
{
public:
    using Procedure = std::function<void(const std::vector<Variant> &)>;

    AppConnection();
    ~AppConnection() override;

    // A file path or ":memory:"; the connection string becomes "Data Source=<path>".
    void openDatabase(const std::string &path);
    // An ODBC connection string ("Driver=...;Server=...;" or "DSN=...;").
    void openOdbc(const std::string &connectionString);
    // Either form: "Data Source=<path>" opens the embedded database, anything else ODBC.
    void open(const std::string &connectionString);
    void close();
    bool isOpen() const { return m_backend != nullptr; }
    const std::string &ConnectionString() const { return m_connectionString; }

    virtual std::shared_ptr<Recordset> Execute(std::string_view sql);
    // The rows of every statement of the batch that yields rows, in order, as a server's
    // command-line client shows them. A batch that fails after statements that yielded rows
    // throws BatchFailure, which carries them.
    std::vector<std::shared_ptr<Recordset>> ExecuteEach(std::string_view sql);
    // The batch's text; the embedded database runs its statements by their fixed texts instead
    // (see SqlBatch), with the same result.
    std::shared_ptr<Recordset> Execute(const SqlBatch &batch);
    // The same, for batches that report their own failure with RAISERROR.
    std::shared_ptr<Recordset> ExecuteRaiseErr(std::string_view sql);

    // A host stored procedure that EXEC in a batch calls with its argument values. Only the
    // embedded database runs them; a server has its own.
    void registerProcedure(const std::string &name, Procedure procedure);

    // While the returned hold lives, the programs on the database see the name held by a running
    // operation (see NameHolds); nullptr when another operation holds it. On a server, where
    // the programs cannot tell, a hold that keeps nothing.
    std::unique_ptr<NameHold> holdName(const std::string &name);
    // Whether a running operation holds the name; nothing on a server.
    std::optional<bool> isNameHeld(const std::string &name) const;

    // Whether the path names, by device and inode, a file of the embedded database: the
    // database, its write-ahead log and shared memory, or the holds beside it. Nothing but the
    // database may open them while it is open: closing any descriptor of a file drops every lock
    // the program holds on it. False on a server.
    bool isDatabaseFile(const std::string &path) const;

    // The embedded database, or nullptr on an ODBC connection.
    EmbeddedDatabase *embedded() const { return m_embedded; }

private:
    DatabaseBackend &backend() const;

    std::unique_ptr<DatabaseBackend> m_backend;
    EmbeddedDatabase *m_embedded = nullptr;
    std::string m_connectionString;
};

} // namespace host
