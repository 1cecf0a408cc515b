#pragma once

#include "host/db/databasebackend.h"
#include "host/db/sqlitedb.h"
#include "host/db/tsqlbatch.h"
#include "host/db/tsqlschema.h"
#include "host/db/tsqltranslator.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace host {

// The embedded backend: runs T-SQL batches on SQLite. Control flow (IF/ELSE, BEGIN/END,
// DECLARE, SET, RAISERROR, transactions, EXEC of registered procedures) runs here; every other
// statement is translated to SQLite when it is reached.
//
// Errors in a batch's structure (BEGIN without END, unbalanced parentheses or quotes) are found
// before anything runs; an error inside a statement when the statement is reached, since its
// tables may be made by the statements before it.
// A batch stops at the first failing statement and throws; statements before it stay done,
// and a transaction that is open at that moment is rolled back. RAISERROR with severity 11 or
// more does not stop the batch (as on the server); its error is handed back with the result.
class EmbeddedDatabase : public DatabaseBackend
{
public:
    using Procedure = std::function<void(const std::vector<Variant> &)>;

    // How long a statement waits for another connection's lock before it fails as busy.
    static constexpr int kBusyTimeoutMs = 60000;

    // path: a file, or ":memory:". Files run in WAL mode with synchronous=NORMAL.
    explicit EmbeddedDatabase(const std::string &path);

    BatchResult execute(std::string_view sql) override;
    void registerProcedure(const std::string &name, Procedure procedure);

    sqlite3 *handle() const { return m_db.handle(); }
    // Columns of a table or view, nothing when it does not exist.
    const std::vector<tsql::ColumnInfo> *columns(std::string_view table);

private:
    struct Run;
    bool runNode(Run &run, const tsql::Node &node);
    bool runStatement(Run &run, size_t begin, size_t end);
    void runTranslated(Run &run, size_t begin, size_t end);
    std::shared_ptr<Recordset> runQuery(const tsql::Query &query, bool wantRows);
    std::vector<Variant> evaluate(Run &run, size_t begin, size_t end);
    void declare(Run &run, size_t begin, size_t end);
    void set(Run &run, size_t begin, size_t end);
    void raiseError(Run &run, size_t begin, size_t end);
    void executeProcedure(Run &run, size_t begin, size_t end);
    void transaction(const std::string &keyword);
    void assign(const std::string &name, const Variant &value);

    sqlite::Database m_db;
    tsql::Schema m_schema;
    tsql::Session m_session;
    std::map<std::string, Procedure> m_procedures; // by uppercase name
};

} // namespace host
