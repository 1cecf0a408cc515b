#include "host/db/backends/embeddeddatabase.h"

#include "host/core/datetime.h"
#include "host/core/text.h"
#include "host/db/batchfailure.h"
#include "host/db/databasefault.h"
#include "host/db/tsql/tsqlfunctions.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace host {

namespace {

// Appends a column's value as the caller sees it (see fromStored()), without a Variant for the
// common types. The value is read through sqlite3_value_*() on the column's value itself: the
// connection is opened without mutexes and used from one thread, where SQLite makes no
// difference between protected and unprotected values.
void appendValue(RecordColumn &column, sqlite3_stmt *stmt, int i, const ColumnType &type)
{
    sqlite3_value *value = sqlite3_column_value(stmt, i);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: {
        const auto number = static_cast<std::int64_t>(sqlite3_value_int64(value));
        if (type.type == SqlType::Bit)
            column.append(Variant(number != 0));
        else if (type.type == SqlType::Real || type.type == SqlType::Decimal)
            column.appendDouble(static_cast<double>(number));
        else
            column.appendLong(number);
        return;
    }
    case SQLITE_FLOAT:
        column.appendDouble(sqlite3_value_double(value));
        return;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(value));
        const std::string_view text(bytes, static_cast<size_t>(sqlite3_value_bytes(value)));
        if (type.type == SqlType::DateTime) {
            if (const auto serial = parseDate(text)) {
                column.append(Variant::fromDate(*serial));
                return;
            }
        }
        column.appendText(text);
        return;
    }
    default:
        column.appendNull();
    }
}

[[noreturn]] void throwLinked()
{
    throw HostError("The database file has more than one name (a hard link): each name keeps a "
                    "log of its own, and writes through two names would damage the file. It is "
                    "not written.",
                    HostError::DatabaseLinked);
}

[[noreturn]] void throwMoved()
{
    throw HostError("The database file was deleted or replaced while it was open; what was "
                    "written to it since is lost.",
                    HostError::DatabaseMoved);
}

bool isMemoryPath(const std::string &path)
{
    return path.empty() || path == ":memory:" || path.find("mode=memory") != std::string::npos;
}

// A file that holds no page yet is a database this program is making: its own.
bool isNewDatabase(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    bool empty = false;
    if (sqlite3_prepare_v2(db, "PRAGMA page_count", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        empty = sqlite3_column_int64(statement, 0) == 0;
    sqlite3_finalize(statement);
    return empty;
}

// SQLite's refusals of a translated statement, in the words SQL Server and this layer use for
// them; other errors pass as they are.
HostError inLayerWords(const HostError &error)
{
    const std::string &text = error.Description();
    const auto after = [&](std::string_view prefix) -> std::optional<std::string> {
        if (!text.starts_with(prefix))
            return std::nullopt;
        return text.substr(prefix.size(), text.find('\n') - prefix.size());
    };
    if (text.starts_with("parser stack overflow"))
        return HostError(std::string(tsql::kNestedTooDeeply), error.Number());
    if (text.starts_with("Expression tree is too large"))
        return HostError(std::string(tsql::kExpressionTooDeep), error.Number());
    if (const auto name = after("no such column: ")) {
        if (name->find('.') != std::string::npos)
            return HostError("The multi-part identifier \"" + *name + "\" could not be bound.",
                             error.Number());
        return HostError("Invalid column name '" + *name + "'.", error.Number());
    }
    if (const auto name = after("ambiguous column name: "))
        return HostError("Ambiguous column name '" + *name + "'.", error.Number());
    return error;
}

constexpr size_t kCachedStatements = 64;
// How often a batch is read again from a file another program changes while it is read.
constexpr int kReadAttempts = 3;
// The log's size in pages from which a commit empties it as far as readers allow, as SQLite's
// own hook does.
constexpr int kAutoCheckpointPages = 1000;
constexpr size_t kKeptTranslations = 256;

bool writes(const std::vector<tsql::Token> &tokens, const tsql::Node &node)
{
    const tsql::Token &first = tokens[node.begin];
    if (first.is("SELECT")) {
        for (size_t i = node.begin; i < node.end; ++i) {
            if (tokens[i].is("INTO"))
                return true;
        }
        return false;
    }
    static constexpr std::string_view kWrites[] = {"INSERT", "UPDATE", "DELETE", "TRUNCATE",
                                                   "CREATE", "DROP",   "ALTER"};
    return std::any_of(std::begin(kWrites), std::end(kWrites),
                       [&](std::string_view word) { return first.is(word); });
}

// The statements of a batch that write, through IF and BEGIN ... END; -1 when the batch
// handles transactions itself or runs a procedure, whose writes cannot be seen here.
int countWrites(const std::vector<tsql::Token> &tokens,
                const std::vector<std::unique_ptr<tsql::Node>> &nodes)
{
    int count = 0;
    for (const auto &node : nodes) {
        int here = 0;
        if (node->kind == tsql::Node::Kind::Statement) {
            const tsql::Token &first = tokens[node->begin];
            if (first.is("BEGIN") || first.is("COMMIT") || first.is("ROLLBACK") ||
                first.is("EXEC") || first.is("EXECUTE"))
                return -1;
            here = writes(tokens, *node) ? 1 : 0;
        } else {
            here = countWrites(tokens, node->children);
        }
        if (here < 0)
            return -1;
        count += here;
    }
    return count;
}

} // namespace

// A condition that compares @@ROWCOUNT with a whole number, as a batch tests what its last
// statement did, is decided without a query; nothing for any other condition.
std::optional<bool> EmbeddedDatabase::rowCountCondition(const std::vector<tsql::Token> &tokens,
                                                        size_t begin, size_t end,
                                                        long long rowCount)
{
    if (end - begin != 3 || tokens[begin].kind != tsql::TokenKind::Variable ||
        !equalsNoCase(tokens[begin].text, "@@ROWCOUNT") ||
        tokens[begin + 1].kind != tsql::TokenKind::Symbol ||
        tokens[begin + 2].kind != tsql::TokenKind::Number)
        return std::nullopt;
    const std::string &digits = tokens[begin + 2].text;
    long long n = 0;
    const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (read.ec != std::errc() || read.ptr != digits.data() + digits.size())
        return std::nullopt;
    const std::string &op = tokens[begin + 1].text;
    if (op == "=")
        return rowCount == n;
    if (op == "<>" || op == "!=")
        return rowCount != n;
    if (op == "<")
        return rowCount < n;
    if (op == ">")
        return rowCount > n;
    if (op == "<=")
        return rowCount <= n;
    if (op == ">=")
        return rowCount >= n;
    return std::nullopt;
}

struct EmbeddedDatabase::Run
{
    std::string_view sql;
    const std::vector<tsql::Token> &tokens;
    BatchResult result;

    std::string text(size_t begin, size_t end) const
    {
        const size_t from = tokens[begin].offset;
        const size_t to = end < tokens.size() ? tokens[end].offset : sql.size();
        std::string out(sql.substr(from, to - from));
        while (!out.empty() && (out.back() == '\r' || out.back() == '\n' || out.back() == ' '))
            out.pop_back();
        return out;
    }
};

EmbeddedDatabase::EmbeddedDatabase(const std::string &path)
    : m_db(path), m_file(m_db.handle()), m_statements(m_db.handle(), kCachedStatements),
      m_schema(m_db.handle()), m_translations(kKeptTranslations), m_plans(kKeptTranslations),
      m_parses(kKeptTranslations), m_holds(sqlite3_db_filename(m_db.handle(), "main"),
                                           sqlite3_db_readonly(m_db.handle(), "main") == 1)
{
    configure();
    // WAL lets readers run beside a backup. The mode stays with the file, so it is set only on a
    // database made here; a file of another program keeps its journal.
    if (!isMemoryPath(path) && !sqlite3_db_readonly(m_db.handle(), "main")) {
        if (isNewDatabase(m_db.handle()))
            m_db.exec("PRAGMA journal_mode=WAL");
        m_db.exec("PRAGMA synchronous=NORMAL");
    }
    // The host database's own procedure that the module runs when the option ICBillPos is set.
    // It belongs to a bill synchronisation this host does not have: the call has nothing to do
    // and succeeds.
    registerProcedure("Prc_synchronizationData", [](const std::vector<Variant> &) {});
    // The log the connection opened on its first read.
    m_file.change();
}

void EmbeddedDatabase::configure()
{
    sqlite3 *db = m_db.handle();
    // A writer waits for another connection's transaction as long as a backup of 100,000 lines
    // takes with room to spare; only then is the database reported busy.
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // A double-quoted name that matches no column must be an error, not a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    tsql::registerFunctions(db);
    sqlite3_wal_hook(db, &EmbeddedDatabase::committed, this);
}

void EmbeddedDatabase::reopen()
{
    // Its statements go before the connection they were made on.
    m_statements.rebind(nullptr);
    try {
        m_db.reopen();
    } catch (const HostError &) {
        m_statements.rebind(m_db.handle());
        throw;
    }
    sqlite3 *db = m_db.handle();
    m_statements.rebind(db);
    m_schema.rebind(db);
    m_file.rebind(db);
    configure();
    m_file.change();
}

const std::vector<tsql::ColumnInfo> *EmbeddedDatabase::columns(std::string_view table)
{
    m_schema.refresh();
    return m_schema.columns(table);
}

void EmbeddedDatabase::registerProcedure(const std::string &name, Procedure procedure)
{
    m_procedures[toUpper(name)] = std::move(procedure);
}

BatchResult EmbeddedDatabase::execute(std::string_view sql)
{
    const std::vector<tsql::Token> tokens = tsql::tokenize(sql);
    const auto nodes = tsql::parseBatch(tokens);
    m_schema.refresh();
    return inBatch(countWrites(tokens, nodes),
                   [&](BatchResult &result) { runNodes(sql, tokens, nodes, result); });
}

int EmbeddedDatabase::writesOf(const std::vector<tsql::Token> &tokens,
                               const std::vector<std::unique_ptr<tsql::Node>> &nodes)
{
    return countWrites(tokens, nodes);
}

BatchResult EmbeddedDatabase::inBatch(int writes, const std::function<void(BatchResult &)> &body)
{
    // A file read as one nobody changes is read afresh once another program changed it: before
    // the batch, and again when it changed while the batch read it, which may then have read
    // some of each.
    for (int attempt = 0; m_db.isImmutable(); ++attempt) {
        if (attempt == kReadAttempts)
            throw HostError("Another program kept changing the database file while it was read.",
                            HostError::DatabaseChanged);
        if (m_db.changedSinceOpened())
            reopen();
        if (!m_db.isImmutable())
            break;
        try {
            BatchResult result = runBatch(writes, body);
            if (!m_db.changedSinceOpened())
                return result;
        } catch (const HostError &) {
            if (!m_db.changedSinceOpened())
                throw;
        }
    }
    return runBatch(writes, body);
}

void EmbeddedDatabase::beginBatch(int writes, std::optional<sqlite::Transaction> &group)
{
    if (m_moved && writes != 0)
        throwMoved();
    // Refused where a write would begin; a transaction already open may end.
    if (writes != 0 && !m_transaction && m_file.hasOtherNames())
        throwLinked();
    m_session.variables.clear(); // variables live for one batch
    sqlite3 *db = m_db.handle();
    if (m_session.tranCount == 0 && !sqlite3_db_readonly(db, "main") &&
        sqlite3_get_autocommit(db) && writes > 1)
        group.emplace(db);
}

void EmbeddedDatabase::endBatch(int writes, std::optional<sqlite::Transaction> &group)
{
    if (group)
        group->commit();
    if (writes != 0) {
        checkNotMoved();
        m_failedWrite = false;
    }
    settle();
}

void EmbeddedDatabase::batchFailed(int writes, const HostError &error,
                                   std::optional<sqlite::Transaction> &group)
{
    // The group only spares each statement its own commit: what the statements before a
    // statement's own failure did stays done, as it would have without the group. A failure
    // of the database itself (a full disk, an I/O error) leaves none of the batch: what it
    // did may not have reached the file whole.
    if (group && group->isOpen() && databaseFault(error) == DatabaseFault::None) {
        try {
            group->commit();
        } catch (const HostError &) {
            // The failure that stopped the batch is the one to report; the group rolls back.
        }
    }
    group.reset();
    // A failure inside BEGIN TRAN ends the transaction, as XACT_ABORT does on the server.
    m_transaction.reset();
    m_session.tranCount = 0;
    m_schema.invalidate();
    if (databaseFault(error) == DatabaseFault::Moved) {
        m_file.letGo(m_file.change());
        m_moved = true;
    }
    // After a failure of the database itself (busy, full), no second wait for it.
    if (writes != 0)
        m_failedWrite = databaseFault(error) != DatabaseFault::None;
    if (!m_failedWrite)
        settle();
}

BatchResult EmbeddedDatabase::runBatch(int writes, const std::function<void(BatchResult &)> &body)
{
    std::optional<sqlite::Transaction> group;
    beginBatch(writes, group);
    BatchResult result;
    try {
        body(result);
        endBatch(writes, group);
    } catch (const HostError &error) {
        batchFailed(writes, error, group);
        throw;
    }
    return result;
}

int EmbeddedDatabase::committed(void *self, sqlite3 *db, const char *, int pages)
{
    static_cast<EmbeddedDatabase *>(self)->m_unsettled = true;
    if (pages >= kAutoCheckpointPages)
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    return SQLITE_OK;
}

void EmbeddedDatabase::settle() noexcept
{
    sqlite3 *db = m_db.handle();
    if (!m_unsettled || m_moved || m_commands > 0 || m_session.tranCount > 0 ||
        !sqlite3_get_autocommit(db) || m_file.change() != OpenedFile::Change::None)
        return;
    if (sqlite3_wal_checkpoint_v2(db, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr) ==
        SQLITE_OK)
        m_unsettled = false;
}

void EmbeddedDatabase::endCommand() noexcept
{
    if (m_commands > 0 && --m_commands == 0 && !m_failedWrite)
        settle();
}

void EmbeddedDatabase::checkNotMoved()
{
    if (m_file.change() != OpenedFile::Change::None)
        throwMoved();
}

bool EmbeddedDatabase::runNodes(std::string_view sql, const std::vector<tsql::Token> &tokens,
                                const std::vector<std::unique_ptr<tsql::Node>> &nodes,
                                BatchResult &result)
{
    Run run{sql, tokens, {}};
    bool goOn = true;
    try {
        for (const auto &node : nodes) {
            if (!runNode(run, *node)) {
                goOn = false;
                break;
            }
        }
    } catch (const HostError &error) {
        // What the statements before the failing one yielded goes with the failure, for a
        // caller that shows it.
        if (run.result.sets.empty() && result.sets.empty())
            throw;
        for (auto &rows : run.result.sets)
            result.sets.push_back(std::move(rows));
        throw BatchFailure(error, std::move(result.sets));
    }
    for (auto &rows : run.result.sets)
        result.sets.push_back(std::move(rows));
    if (run.result.raised && !result.raised)
        result.raised = std::move(run.result.raised);
    return goOn;
}

// False when the batch is to stop (RETURN).
bool EmbeddedDatabase::runNode(Run &run, const tsql::Node &node)
{
    switch (node.kind) {
    case tsql::Node::Kind::Statement:
        return runStatement(run, node.begin, node.end);
    case tsql::Node::Kind::Block:
        for (const auto &child : node.children) {
            if (!runNode(run, *child))
                return false;
        }
        return true;
    case tsql::Node::Kind::If: {
        bool holds = false;
        try {
            if (const auto known =
                    rowCountCondition(run.tokens, node.begin, node.end, m_session.rowCount)) {
                holds = *known;
            } else {
                tsql::Translator translator(run.tokens, node.begin, node.end, m_schema, m_session);
                const auto rows = runQuery(translator.translateCondition(), true);
                holds = rows->RecordCount() > 0 && CLng(rows->Fields(0).Value()) == 1;
            }
        } catch (const HostError &e) {
            throw HostError(e.Description() + "\nSQL: IF " + run.text(node.begin, node.end),
                            e.Number());
        }
        if (holds)
            return runNode(run, *node.children[0]);
        if (node.children.size() > 1)
            return runNode(run, *node.children[1]);
        return true;
    }
    }
    return true;
}

bool EmbeddedDatabase::runStatement(Run &run, size_t begin, size_t end)
{
    const tsql::Token &first = run.tokens[begin];
    try {
        if (first.is("RETURN"))
            return false;
        if (first.is("PRINT"))
            return true;
        if (first.is("BEGIN") || first.is("COMMIT") || first.is("ROLLBACK"))
            transaction(first.upper);
        else if (first.is("DECLARE"))
            declare(run, begin + 1, end);
        else if (first.is("SET"))
            set(run, begin + 1, end);
        else if (first.is("RAISERROR"))
            raiseError(run, begin + 1, end);
        else if (first.is("EXEC") || first.is("EXECUTE"))
            executeProcedure(run, begin + 1, end);
        else
            runTranslated(run, begin, end);
    } catch (const HostError &e) {
        throw HostError(e.Description() + "\nSQL: " + run.text(begin, end), e.Number());
    }
    return true;
}

tsql::Translation EmbeddedDatabase::translate(std::string_view sql,
                                              const std::vector<tsql::Token> &tokens, size_t begin,
                                              size_t end)
{
    const auto fresh = [&](tsql::Literals literals) {
        tsql::Translator translator(tokens, begin, end, m_schema, m_session, literals);
        return translator.translateStatement();
    };
    if (m_literals == tsql::Literals::Inline)
        return fresh(tsql::Literals::Inline);
    m_translations.follow(m_schema.generation(), m_session.dateFirst);
    auto key = tsql::TranslationCache::keyOf(sql, tokens, begin, end);
    if (key) {
        if (auto kept = m_translations.find(*key, tokens, begin))
            return std::move(*kept);
    }
    tsql::Translation translation;
    try {
        translation = fresh(tsql::Literals::Bound);
    } catch (const HostError &) {
        // A bound literal no longer reads as the same expression where the SQL of expressions
        // is matched (ORDER BY of a UNION); written into the SQL it does, or the error stands.
        return fresh(tsql::Literals::Inline);
    }
    if (key)
        m_translations.keep(std::move(*key), tokens, begin, end, translation);
    return translation;
}

void EmbeddedDatabase::runTranslated(Run &run, size_t begin, size_t end)
{
    const tsql::Translation translation = translate(run.sql, run.tokens, begin, end);
    for (size_t i = 0; i < translation.steps.size(); ++i) {
        const bool wantRows = static_cast<int>(i) == translation.resultStep ||
                              (!translation.assignTargets.empty() && i == 0);
        auto rows = runQuery(translation.steps[i], wantRows);
        if (translation.changesSchema)
            m_schema.invalidate();
        if (!translation.assignTargets.empty()) {
            if (rows->RecordCount() > 0) {
                rows->MoveLast();
                for (size_t c = 0; c < translation.assignTargets.size(); ++c)
                    assign(translation.assignTargets[c],
                           rows->Fields(static_cast<long>(c)).Value());
            }
        } else if (wantRows) {
            run.result.sets.push_back(std::move(rows));
        }
    }
}

sqlite3_stmt *EmbeddedDatabase::prepared(const std::string &sql, std::uint64_t id)
{
    try {
        return id != 0 ? m_statements.prepare(id, sql) : m_statements.prepare(sql);
    } catch (const HostError &e) {
        throw inLayerWords(e);
    }
}

long long EmbeddedDatabase::runPlanned(const tsql::StatementPlans::Form &form,
                                       const SqlBatch::Statement &statement)
{
    sqlite::Statement stmt(m_db.handle(), prepared(form.query.sql, form.id));
    tsql::StatementPlans::bindValues(form, statement, stmt);
    stmt.bindNullFrom(static_cast<int>(form.sources.size()) + 1);
    while (stmt.step()) {
    }
    m_session.rowCount = sqlite3_changes64(m_db.handle());
    return m_session.rowCount;
}

std::shared_ptr<Recordset> EmbeddedDatabase::runQuery(const tsql::Query &query, bool wantRows)
{
    sqlite::Statement stmt(m_db.handle(), prepared(query.sql, 0));
    for (size_t i = 0; i < query.params.size(); ++i)
        stmt.bindKept(static_cast<int>(i) + 1, query.params[i]);
    stmt.bindNullFrom(static_cast<int>(query.params.size()) + 1);
    if (!wantRows) {
        while (stmt.step()) {
        }
        m_session.rowCount = sqlite3_changes64(m_db.handle());
        return nullptr;
    }
    const int count = stmt.columnCount();
    std::vector<std::string> names;
    std::vector<ColumnType> types;
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<size_t>(i);
        if (index < query.columns.size()) {
            names.push_back(query.columns[index].name);
            types.push_back(query.columns[index].type);
        } else {
            names.emplace_back(sqlite3_column_name(stmt.handle(), i));
            types.emplace_back();
        }
        if (types.back().type == SqlType::Unknown) {
            if (const char *declared = sqlite3_column_decltype(stmt.handle(), i))
                types.back() = parseColumnType(declared);
        }
    }
    std::vector<RecordColumn> columns(static_cast<size_t>(count));
    long long rows = 0;
    while (stmt.step()) {
        for (int i = 0; i < count; ++i) {
            const auto index = static_cast<size_t>(i);
            appendValue(columns[index], stmt.handle(), i, types[index]);
        }
        ++rows;
    }
    m_session.rowCount = rows;
    return Recordset::fromColumns(std::move(names), std::move(columns));
}

std::vector<Variant> EmbeddedDatabase::evaluate(Run &run, size_t begin, size_t end)
{
    tsql::Translator translator(run.tokens, begin, end, m_schema, m_session);
    const tsql::Query query = translator.translateValues();
    const auto rows = runQuery(query, true);
    std::vector<Variant> values;
    for (long i = 0; i < rows->FieldCount(); ++i)
        values.push_back(rows->Fields(i).Value());
    return values;
}

void EmbeddedDatabase::assign(const std::string &name, const Variant &value)
{
    auto &variable = m_session.variables.at(name);
    variable.value = toConverted(value, variable.type);
}

namespace {

// The end of a comma-separated item that starts at begin.
size_t itemEnd(const std::vector<tsql::Token> &tokens, size_t begin, size_t end)
{
    int depth = 0;
    for (size_t i = begin; i < end; ++i) {
        if (tokens[i].isSymbol("("))
            ++depth;
        else if (tokens[i].isSymbol(")"))
            --depth;
        else if (depth == 0 && tokens[i].isSymbol(","))
            return i;
    }
    return end;
}

[[noreturn]] void syntaxError(const tsql::Token &near)
{
    throw HostError("Incorrect syntax near '" + near.text + "'.");
}

} // namespace

void EmbeddedDatabase::declare(Run &run, size_t begin, size_t end)
{
    size_t i = begin;
    while (i < end) {
        const tsql::Token &name = run.tokens[i++];
        if (name.kind != tsql::TokenKind::Variable || i >= end)
            syntaxError(name);
        if (run.tokens[i].is("AS"))
            ++i;
        std::string type = run.tokens[i++].text;
        if (i < end && run.tokens[i].isSymbol("(")) {
            while (i < end && !run.tokens[i].isSymbol(")"))
                type += run.tokens[i++].text;
            type += ")";
            ++i;
        }
        const ColumnType columnType = parseColumnType(type);
        if (columnType.type == SqlType::Unknown)
            throw HostError("Column, parameter, or variable #1: Cannot find data type " + type +
                            " among the types the embedded database supports.");
        const std::string key = toUpper(name.text);
        if (m_session.variables.contains(key))
            throw HostError("The variable name '" + name.text +
                            "' has already been declared. Variable names must be unique within "
                            "a query batch or stored procedure.");
        m_session.variables[key] = {columnType, Variant::null()};
        if (i < end && run.tokens[i].isSymbol("=")) {
            const size_t valueEnd = itemEnd(run.tokens, i + 1, end);
            assign(key, evaluate(run, i + 1, valueEnd).at(0));
            i = valueEnd;
        }
        if (i < end) {
            if (!run.tokens[i].isSymbol(","))
                syntaxError(run.tokens[i]);
            ++i;
        }
    }
}

void EmbeddedDatabase::set(Run &run, size_t begin, size_t end)
{
    if (begin >= end)
        throw HostError("Incorrect syntax near 'SET'.");
    const tsql::Token &target = run.tokens[begin];
    if (target.kind == tsql::TokenKind::Variable) {
        const std::string key = toUpper(target.text);
        if (!m_session.variables.contains(key))
            throw HostError("Must declare the scalar variable \"" + target.text + "\".");
        if (begin + 1 >= end || !run.tokens[begin + 1].isSymbol("="))
            syntaxError(target);
        assign(key, evaluate(run, begin + 2, end).at(0));
        return;
    }
    if (target.is("DATEFIRST")) {
        const auto value = evaluate(run, begin + 1, end).at(0);
        const int dateFirst = CLng(value);
        if (dateFirst < 1 || dateFirst > 7)
            throw HostError("The DATEFIRST value must be between 1 and 7.");
        m_session.dateFirst = dateFirst;
        return;
    }
    static constexpr std::string_view options[] = {
        "NOCOUNT",          "XACT_ABORT", "ANSI_NULLS",        "ANSI_WARNINGS",
        "ANSI_PADDING",     "ARITHABORT", "QUOTED_IDENTIFIER", "CONCAT_NULL_YIELDS_NULL",
        "ANSI_NULL_DFLT_ON"};
    for (const auto option : options) {
        if (target.upper == option)
            return;
    }
    throw HostError("The embedded database does not support SET " + target.text + ".");
}

void EmbeddedDatabase::raiseError(Run &run, size_t begin, size_t end)
{
    if (begin >= end || !run.tokens[begin].isSymbol("("))
        throw HostError("Incorrect syntax near 'RAISERROR'.");
    size_t close = begin;
    for (int depth = 0; close < end; ++close) {
        if (run.tokens[close].isSymbol("("))
            ++depth;
        else if (run.tokens[close].isSymbol(")") && --depth == 0)
            break;
    }
    const std::vector<Variant> args = evaluate(run, begin + 1, close);
    if (args.size() < 3)
        throw HostError("Incorrect syntax near ')'.");
    std::string message;
    const std::string format = CStr(args[0]);
    size_t next = 3;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char spec = format[i + 1];
            if (spec == '%') {
                message += '%';
                ++i;
                continue;
            }
            if (spec == 's' || spec == 'd' || spec == 'i' || spec == 'u') {
                message += next < args.size() ? CStr(args[next++]) : "(null)";
                ++i;
                continue;
            }
        }
        message += format[i];
    }
    const int severity = CLng(args[1]);
    if (severity >= 11 && !run.result.raised)
        run.result.raised = HostError(message, HostError::RaisedByBatch);
}

void EmbeddedDatabase::executeProcedure(Run &run, size_t begin, size_t end)
{
    if (begin >= end)
        throw HostError("Incorrect syntax near 'EXECUTE'.");
    const tsql::Token &name = run.tokens[begin];
    const auto it = m_procedures.find(toUpper(name.text));
    if (it == m_procedures.end())
        throw HostError("Could not find stored procedure '" + name.text + "'.");
    std::vector<Variant> args;
    for (size_t i = begin + 1; i < end;) {
        size_t valueBegin = i;
        if (run.tokens[i].kind == tsql::TokenKind::Variable && i + 1 < end &&
            run.tokens[i + 1].isSymbol("="))
            valueBegin = i + 2;
        const size_t valueEnd = itemEnd(run.tokens, valueBegin, end);
        args.push_back(evaluate(run, valueBegin, valueEnd).at(0));
        i = valueEnd < end ? valueEnd + 1 : end;
    }
    it->second(args);
}

void EmbeddedDatabase::transaction(const std::string &keyword)
{
    if (keyword == "BEGIN") {
        if (m_session.tranCount == 0)
            m_transaction.emplace(m_db.handle());
        ++m_session.tranCount;
        return;
    }
    if (m_session.tranCount == 0)
        throw HostError("The " + keyword +
                        " TRANSACTION request has no corresponding BEGIN TRANSACTION.");
    if (keyword == "COMMIT") {
        if (m_session.tranCount == 1) {
            m_transaction->commit();
            m_transaction.reset();
        }
        --m_session.tranCount;
        return;
    }
    m_transaction.reset(); // rolls back
    m_session.tranCount = 0;
    m_schema.invalidate();
}

} // namespace host
