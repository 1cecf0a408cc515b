#pragma once

#include "host/db/backends/databasebackend.h"
#include "host/db/backends/nameholds.h"
#include "host/db/backends/openedfile.h"
#include "host/db/sqlite/sqlitedb.h"
#include "host/db/tsql/sqlbatch.h"
#include "host/db/tsql/statementparses.h"
#include "host/db/tsql/statementplans.h"
#include "host/db/tsql/translationcache.h"
#include "host/db/tsql/tsqlbatch.h"
#include "host/db/tsql/tsqlschema.h"
#include "host/db/tsql/tsqltranslator.h"

#include <functional>
#include <map>
#include <optional>
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
// unless the database itself failed (a full disk, an I/O error), and a transaction that is open
// at that moment is rolled back. A batch that writes more than
// once and leaves transactions to the connection runs in one transaction of its own, committed
// at its end or at its failure, so that each statement does not commit (and sync) on its own.
// What a batch wrote is in the file itself, not only in the write-ahead log, once the batch
// ends outside a transaction (a checkpoint that empties the log, waiting for readers as for a
// lock): a file put at the path is what the next program finds there, and a deleted log loses
// nothing done. A command of many batches puts that off to its end (beginCommand).
// A batch that writes fails when the file or its write-ahead log was deleted or replaced
// meanwhile, and so does every batch that writes after it. A file with a second name (a hard
// link) is not written: a batch that would begin to write fails. A file the user may only read
// and that had no log beside it is read as immutable (see sqlite::Database); once another
// program changed it, the next batch reads it afresh.
// RAISERROR with severity 11 or more does not stop the batch (as on the server); its error is
// handed back with the result.
// Statements that differ only in their literals are translated once (see TranslationCache)
// and run as one prepared statement with their values bound; a batch given as an SqlBatch runs
// such statements without their text being read again.
class EmbeddedDatabase : public DatabaseBackend
{
public:
    using Procedure = std::function<void(const std::vector<Variant> &)>;

    // How long a statement waits for another connection's lock before it fails as busy.
    static constexpr int kBusyTimeoutMs = 60000;

    // path: a file, or ":memory:". Files run in WAL mode with synchronous=NORMAL.
    explicit EmbeddedDatabase(const std::string &path);

    BatchResult execute(std::string_view sql) override;
    BatchResult execute(const SqlBatch &batch);
    void registerProcedure(const std::string &name, Procedure procedure);
    // Between the two, batches leave what they write in the log; the end of the outermost
    // command writes it into the file. endCommand never throws.
    void beginCommand() { ++m_commands; }
    void endCommand() noexcept;
    // Inline: every statement is translated afresh with its literals written into the SQL, the
    // reference that kept translations are tested against.
    void setLiterals(tsql::Literals literals) { m_literals = literals; }

    sqlite3 *handle() const { return m_db.handle(); }
    // The names running operations hold on this database.
    NameHolds &holds() { return m_holds; }
    // Whether the path names one of the database's files or the holds beside it.
    bool isOwnFile(const std::string &path) const { return m_file.isOwnFile(path, m_holds.file()); }
    // Columns of a table or view, nothing when it does not exist.
    const std::vector<tsql::ColumnInfo> *columns(std::string_view table);

private:
    friend class StatementGroup;
    struct Run;
    struct BatchStep;
    // Keeps the plan of a statement read from its text, from a fresh translation.
    void keepPlan(BatchStep &step, const tsql::Node &node);
    // Runs the body as one batch (see runBatch), read again from a file opened as immutable that
    // another program changed.
    BatchResult inBatch(int writes, const std::function<void(BatchResult &)> &body);
    // Runs the body as one batch: in a transaction of its own when it writes more than once
    // and leaves transactions to the connection (writes < 0: it does not).
    BatchResult runBatch(int writes, const std::function<void(BatchResult &)> &body);
    // The steps of runBatch: its start, which begins the transaction of its own in group; its
    // end, which commits it; and what a failure leaves, before it is thrown on.
    void beginBatch(int writes, std::optional<sqlite::Transaction> &group);
    void endBatch(int writes, std::optional<sqlite::Transaction> &group);
    void batchFailed(int writes, const HostError &error, std::optional<sqlite::Transaction> &group);
    // What every connection to the file is set to.
    void configure();
    // The file opened anew, with nothing of the connection before.
    void reopen();
    // Throws HostError when the file or its log was deleted or replaced since it was opened:
    // what a batch wrote then went nowhere, and must not be reported done.
    void checkNotMoved();
    // Empties the log into the file when something was committed into it since, no command
    // or transaction is open and the files are where they were; a checkpoint that cannot
    // finish is tried again after the next batch. Never throws.
    void settle() noexcept;
    // SQLite's call after each commit into the log, with the pages the log holds.
    static int committed(void *self, sqlite3 *db, const char *schema, int pages);
    // False when RETURN stopped the batch.
    bool runNodes(std::string_view sql, const std::vector<tsql::Token> &tokens,
                  const std::vector<std::unique_ptr<tsql::Node>> &nodes, BatchResult &result);
    // A condition that compares @@ROWCOUNT with a whole number, as a batch tests what its last
    // statement did, decided without a query; nothing for any other condition.
    static std::optional<bool> rowCountCondition(const std::vector<tsql::Token> &tokens,
                                                 size_t begin, size_t end, long long rowCount);
    static int writesOf(const std::vector<tsql::Token> &tokens,
                        const std::vector<std::unique_ptr<tsql::Node>> &nodes);
    bool runNode(Run &run, const tsql::Node &node);
    bool runStatement(Run &run, size_t begin, size_t end);
    void runTranslated(Run &run, size_t begin, size_t end);
    tsql::Translation translate(std::string_view sql, const std::vector<tsql::Token> &tokens,
                                size_t begin, size_t end);
    // The kept statement of the text; id, when not 0, names the text for the statement cache
    // (a kept plan's form).
    sqlite3_stmt *prepared(const std::string &sql, std::uint64_t id);
    std::shared_ptr<Recordset> runQuery(const tsql::Query &query, bool wantRows);
    // Runs a kept plan's form with the statement's values; the rows it changed.
    long long runPlanned(const tsql::StatementPlans::Form &form,
                         const SqlBatch::Statement &statement);
    std::vector<Variant> evaluate(Run &run, size_t begin, size_t end);
    void declare(Run &run, size_t begin, size_t end);
    void set(Run &run, size_t begin, size_t end);
    void raiseError(Run &run, size_t begin, size_t end);
    void executeProcedure(Run &run, size_t begin, size_t end);
    void transaction(const std::string &keyword);
    void assign(const std::string &name, const Variant &value);

    sqlite::Database m_db;
    OpenedFile m_file;
    // Set once the file was found moved: nothing more is written through this connection.
    bool m_moved = false;
    // Commits into the log since it was last emptied into the file.
    bool m_unsettled = false;
    int m_commands = 0;
    // Whether the last batch that wrote failed as the database itself did.
    bool m_failedWrite = false;
    sqlite::StatementCache m_statements;
    // The transaction of BEGIN TRAN, open across batches until COMMIT or ROLLBACK.
    std::optional<sqlite::Transaction> m_transaction;
    tsql::Schema m_schema;
    tsql::Session m_session;
    tsql::TranslationCache m_translations;
    tsql::StatementPlans m_plans;
    tsql::StatementParses m_parses;
    tsql::Literals m_literals = tsql::Literals::Bound;
    std::map<std::string, Procedure> m_procedures; // by uppercase name
    NameHolds m_holds;
};

} // namespace host
