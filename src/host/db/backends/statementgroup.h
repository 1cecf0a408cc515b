#pragma once

#include "host/db/sqlite/sqlitedb.h"
#include "host/db/tsql/sqlbatch.h"
#include "host/db/tsql/statementplans.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

class EmbeddedDatabase;

// Statements of a few fixed texts, each run many times with other values, as the statements of
// one batch run on the embedded database (see EmbeddedDatabase::execute(const SqlBatch &)): in a
// transaction of the group's own, the file checked when it is committed. Each runs from the kept
// translation of its fixed text with its values bound, without a batch being made or its text
// read, and tells at once the rows it changed. A statement that fails ends the group as it ends a
// batch, and the failure is thrown: what ran before it stays done, unless the database itself
// failed. What is not committed rolls back.
class StatementGroup
{
public:
    explicit StatementGroup(EmbeddedDatabase &database);
    ~StatementGroup();
    StatementGroup(const StatementGroup &) = delete;
    StatementGroup &operator=(const StatementGroup &) = delete;

    // The rows the statement changed.
    long long run(const SqlBatch::Statement &statement);
    void commit();

private:
    // A fixed text with the kind and sign of each value, and the plan kept for it.
    struct Shape
    {
        std::string key;
        const tsql::StatementPlans::Plan *plan = nullptr;
        std::uint64_t generation = 0;
    };
    Shape &shapeOf(const SqlBatch::Statement &statement);
    // Runs the statement as a batch of its text, which keeps a translation for the next.
    void runRead(const SqlBatch::Statement &statement);

    EmbeddedDatabase &m_database;
    std::optional<sqlite::Transaction> m_transaction;
    std::vector<Shape> m_shapes;
    size_t m_next = 0; // the shape last run
};

} // namespace host
