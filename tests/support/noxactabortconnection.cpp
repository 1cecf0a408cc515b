#include "support/noxactabortconnection.h"

#include "host/core/hosterror.h"
#include "host/core/text.h"
#include "host/core/variant.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/recordset/recordset.h"
#include "sampledata/schema.h"

#include <sqlite3.h>

#include <vector>

namespace {

bool isTransactionStatement(const std::string &statement)
{
    static const std::vector<std::string> statements = {
        "BEGIN TRAN",        "COMMIT TRAN",        "ROLLBACK TRAN",
        "SET XACT_ABORT ON", "SET XACT_ABORT OFF", "IF @@TRANCOUNT > 0 ROLLBACK TRAN"};
    for (const auto &known : statements) {
        if (statement == known)
            return true;
    }
    return false;
}

std::vector<std::string> lines(std::string_view sql)
{
    std::vector<std::string> result;
    size_t start = 0;
    while (start <= sql.size()) {
        const size_t end = std::min(sql.find('\n', start), sql.size());
        std::string_view text = sql.substr(start, end - start);
        if (text.ends_with('\r'))
            text.remove_suffix(1);
        const std::string line = host::toUpper(host::Trim(text));
        if (!line.empty())
            result.push_back(line);
        start = end + 1;
    }
    return result;
}

} // namespace

std::shared_ptr<host::Recordset> NoXactAbortConnection::Execute(std::string_view sql)
{
    const auto statements = lines(sql);
    bool control = !statements.empty();
    for (const auto &statement : statements)
        control = control && isTransactionStatement(statement);
    if (!control)
        return AppConnection::Execute(sql);
    for (const auto &statement : statements)
        run(statement);
    return std::make_shared<host::Recordset>();
}

void NoXactAbortConnection::run(std::string_view statement)
{
    if (!embedded())
        throw host::HostError("Operation is not allowed when the object is closed.", 3704);
    sqlite3 *db = embedded()->handle();
    const auto exec = [db](const char *sql) {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw host::HostError(sqlite3_errmsg(db));
    };
    if (statement.starts_with("SET ")) {
        m_xactAbort = statement.ends_with(" ON");
        return;
    }
    if (statement == "BEGIN TRAN") {
        if (m_tranCount++ == 0)
            exec("BEGIN IMMEDIATE");
        return;
    }
    if (statement.starts_with("IF ")) {
        if (m_tranCount == 0)
            return;
    } else if (m_tranCount == 0) {
        throw host::HostError("The " + std::string(statement) +
                              " request has no corresponding BEGIN TRANSACTION.");
    }
    if (statement.starts_with("COMMIT")) {
        if (--m_tranCount == 0)
            exec("COMMIT");
        return;
    }
    m_tranCount = 0;
    exec("ROLLBACK");
}

std::shared_ptr<NoXactAbortConnection> openNoXactAbortSchemaDatabase()
{
    auto connection = std::make_shared<NoXactAbortConnection>();
    connection->openDatabase(":memory:");
    sampledata::createSchema(*connection);
    return connection;
}
