#pragma once

#include "host/core/stringbuilder.h"
#include "host/core/variant.h"

#include <memory>
#include <vector>

namespace host {
class AppConnection;
class BulkInsert;
} // namespace host
struct StagingRow;
struct StagingRun;

// Writes an import run's accepted rows into its staging table, a batch at a time. A server
// receives each batch as the text of its inserts (GetTempInsertSQL). The embedded database
// stores the same values through one prepared insert with the values bound, each batch in a
// transaction of its own, as a batch of text would run; no statement text is made for it.
class StagingWriter
{
public:
    enum class Mode
    {
        Text,
        Bound
    };
    // Bound where the connection is to the embedded database.
    static Mode modeFor(const host::AppConnection &connection);

    StagingWriter(const StagingRun &run, Mode mode);
    ~StagingWriter();
    StagingWriter(const StagingWriter &) = delete;
    StagingWriter &operator=(const StagingWriter &) = delete;

    void add(const StagingRow &row);
    // Sends the rows added since the last send.
    void send();

private:
    const StagingRun &m_run;
    std::unique_ptr<host::BulkInsert> m_bound;
    std::vector<host::Variant> m_values;
    host::StringBuilder m_batch;
};
