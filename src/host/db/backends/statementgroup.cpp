#include "host/db/backends/statementgroup.h"

#include "host/db/backends/embeddeddatabase.h"

#include <algorithm>
#include <cstring>

namespace host {

namespace {

// A group writes more than once, as the batch of its statements would.
constexpr int kWrites = 2;

} // namespace

bool StatementGroup::Shape::fits(const SqlBatch::Statement &statement,
                                 std::string_view pattern) const
{
    // The key is the shape, a NUL, then each value's kind and sign (StatementPlans::keyOf).
    const size_t length = statement.shape.size();
    return key.size() == length + 1 + pattern.size() &&
           std::memcmp(key.data() + length + 1, pattern.data(), pattern.size()) == 0 &&
           std::memcmp(key.data(), statement.shape.data(), length) == 0;
}

StatementGroup::StatementGroup(EmbeddedDatabase &database) : m_database(database)
{
    m_database.m_schema.refresh();
    m_database.beginBatch(kWrites, m_transaction);
}

StatementGroup::~StatementGroup() = default;

StatementGroup::Shape &StatementGroup::shapeOf(const SqlBatch::Statement &statement)
{
    m_pattern.clear();
    tsql::StatementPlans::addPattern(m_pattern, statement);
    // The statements of a group mostly come in turn: the one after the last is tried first.
    for (size_t tried = 0; tried < m_shapes.size(); ++tried) {
        m_next = m_next + 1 < m_shapes.size() ? m_next + 1 : 0;
        if (m_shapes[m_next].fits(statement, m_pattern))
            return m_shapes[m_next];
    }
    m_next = m_shapes.size();
    return m_shapes.emplace_back(Shape{statement.shape + '\0' + m_pattern});
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
