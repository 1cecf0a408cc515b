#include "host/db/backends/statementgroup.h"

#include "host/db/backends/embeddeddatabase.h"

namespace host {

namespace {

// A group writes more than once, as the batch of its statements would.
constexpr int kWrites = 2;

} // namespace

StatementGroup::StatementGroup(EmbeddedDatabase &database) : m_database(database)
{
    m_database.m_schema.refresh();
    m_database.beginBatch(kWrites, m_transaction);
}

StatementGroup::~StatementGroup() = default;

StatementGroup::Shape &StatementGroup::shapeOf(const SqlBatch::Statement &statement)
{
    // The statements of a group mostly come in turn: the one after the last is tried first.
    for (size_t tried = 0; tried < m_shapes.size(); ++tried) {
        m_next = m_next + 1 < m_shapes.size() ? m_next + 1 : 0;
        if (tsql::StatementPlans::isKeyOf(m_shapes[m_next].key, statement))
            return m_shapes[m_next];
    }
    m_next = m_shapes.size();
    return m_shapes.emplace_back(Shape{tsql::StatementPlans::keyOf(statement)});
}

void StatementGroup::runRead(const SqlBatch::Statement &statement)
{
    SqlBatch alone;
    alone.append(statement);
    m_database.execute(alone);
}

long long StatementGroup::run(const SqlBatch::Statement &statement)
{
    EmbeddedDatabase &db = m_database;
    db.m_plans.follow(db.m_schema.generation(), db.m_session.dateFirst);
    Shape &shape = shapeOf(statement);
    if (shape.generation != db.m_plans.generation()) {
        shape.plan = db.m_plans.find(shape.key);
        shape.generation = db.m_plans.generation();
    }
    const tsql::StatementPlans::Form *form =
        shape.plan ? tsql::StatementPlans::formOf(*shape.plan, statement) : nullptr;
    try {
        if (!form) {
            runRead(statement);
            shape.generation = 0;
        } else {
            try {
                db.runPlanned(*form, statement);
            } catch (const HostError &e) {
                throw HostError(e.Description() + "\nSQL: " + statement.failureText(), e.Number());
            }
        }
    } catch (const HostError &error) {
        db.batchFailed(kWrites, error, m_transaction);
        throw;
    }
    return db.m_session.rowCount;
}

void StatementGroup::commit()
{
    try {
        m_database.endBatch(kWrites, m_transaction);
    } catch (const HostError &error) {
        m_database.batchFailed(kWrites, error, m_transaction);
        throw;
    }
}

} // namespace host
