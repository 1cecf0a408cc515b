#include "host/db/appconnection.h"
#include "host/core/text.h"

#include "host/core/hosterror.h"
#include "host/core/text.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/backends/odbcdatabase.h"
#include "host/db/batchfailure.h"

namespace host {

namespace {

constexpr std::string_view kDataSource = "DATA SOURCE=";

// The rows of the batch's last statement that yields rows, or a closed recordset; the batch's
// own RAISERROR is thrown.
std::shared_ptr<Recordset> lastSet(BatchResult &result)
{
    if (result.raised)
        throw *result.raised;
    return result.sets.empty() ? std::make_shared<Recordset>() : result.sets.back();
}

} // namespace

AppConnection::AppConnection() = default;
AppConnection::~AppConnection() = default;

void AppConnection::openDatabase(const std::string &path)
{
    auto embedded = std::make_unique<EmbeddedDatabase>(path);
    m_embedded = embedded.get();
    m_backend = std::move(embedded);
    m_connectionString = "Data Source=" + path;
}

void AppConnection::openOdbc(const std::string &connectionString)
{
    m_backend = std::make_unique<OdbcDatabase>(connectionString);
    m_embedded = nullptr;
    m_connectionString = connectionString;
}

void AppConnection::open(const std::string &connectionString)
{
    const std::string trimmed = Trim(connectionString);
    if (toUpper(trimmed).starts_with(kDataSource)) {
        std::string path = trimmed.substr(kDataSource.size());
        if (const size_t semicolon = path.find(';'); semicolon != std::string::npos)
            path.resize(semicolon);
        openDatabase(Trim(path));
    } else {
        openOdbc(trimmed);
    }
}

void AppConnection::close()
{
    m_backend.reset();
    m_embedded = nullptr;
}

DatabaseBackend &AppConnection::backend() const
{
    if (!m_backend)
        throw HostError("Operation is not allowed when the object is closed.", 3704);
    return *m_backend;
}

std::shared_ptr<Recordset> AppConnection::Execute(std::string_view sql)
{
    BatchResult result = backend().execute(sql);
    return lastSet(result);
}

std::vector<std::shared_ptr<Recordset>> AppConnection::ExecuteEach(std::string_view sql)
{
    BatchResult result = backend().execute(sql);
    if (result.raised && result.sets.empty())
        throw *result.raised;
    if (result.raised)
        throw BatchFailure(*result.raised, std::move(result.sets));
    return std::move(result.sets);
}

std::shared_ptr<Recordset> AppConnection::Execute(const SqlBatch &batch)
{
    if (!m_embedded)
        return Execute(batch.text());
    BatchResult result = m_embedded->execute(batch);
    return lastSet(result);
}

std::shared_ptr<Recordset> AppConnection::ExecuteRaiseErr(std::string_view sql)
{
    return Execute(sql);
}

std::unique_ptr<NameHold> AppConnection::holdName(const std::string &name)
{
    if (!m_embedded)
        return std::make_unique<NameHold>();
    return m_embedded->holds().hold(name);
}

std::optional<bool> AppConnection::isNameHeld(const std::string &name) const
{
    if (!m_embedded)
        return std::nullopt;
    return m_embedded->holds().isHeld(name);
}

bool AppConnection::isDatabaseFile(const std::string &path) const
{
    return m_embedded && m_embedded->isOwnFile(path);
}

void AppConnection::registerProcedure(const std::string &name, Procedure procedure)
{
    if (!m_embedded)
        throw HostError("Host procedures run only on the embedded database.");
    m_embedded->registerProcedure(name, std::move(procedure));
}

} // namespace host
