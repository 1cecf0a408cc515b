#include "import/stagingwriter.h"

#include "host/db/appconnection.h"
#include "host/db/bulkinsert.h"
#include "import/stagingrow.h"
#include "import/tempinsertsql.h"
#include "services/appconn.h"

StagingWriter::Mode StagingWriter::modeFor(const host::AppConnection &connection)
{
    return connection.embedded() ? Mode::Bound : Mode::Text;
}

StagingWriter::StagingWriter(const StagingRun &run, Mode mode) : m_run(run)
{
    if (mode == Mode::Bound)
        m_bound = std::make_unique<host::BulkInsert>(
            appConn(), run.tableName,
            std::vector<std::string>(kTempInsertColumns.begin(), kTempInsertColumns.end()));
}

StagingWriter::~StagingWriter() = default;

void StagingWriter::add(const StagingRow &row)
{
    if (m_bound) {
        tempInsertValues(m_run, row, m_values);
        m_bound->add(m_values);
    } else {
        m_batch.Append(PubVariant::GetTempInsertSQL(m_run, row));
    }
}

void StagingWriter::send()
{
    if (m_bound) {
        m_bound->commit();
    } else if (m_batch.Length() > 0) {
        appConn().Execute(m_batch.StringValue());
        m_batch.Remove(1, m_batch.Length());
    }
}
