// The embedded database's run of a batch given as statements with their values apart.
#include "host/db/backends/embeddeddatabase.h"

#include "host/db/tsql/tsqlbatch.h"

#include <algorithm>

namespace host {

// A statement of the batch: planned, or read from its text or from the parse of its shape.
struct EmbeddedDatabase::BatchStep
{
    const SqlBatch::Statement *statement;
    // Its key, or the step before it whose key it shares.
    std::string ownKey;
    const BatchStep *keyFrom = nullptr;
    // The plan found for the key, while the plans' generation stays.
    const tsql::StatementPlans::Plan *plan = nullptr;
    std::uint64_t planGeneration = 0;
    std::shared_ptr<const tsql::StatementParses::Parsed> parsed;
    std::string text;
    std::vector<size_t> valueOffsets;
    std::vector<tsql::Token> tokens;
    std::vector<std::unique_ptr<tsql::Node>> ownNodes;

    const std::string &key() const { return keyFrom ? keyFrom->ownKey : ownKey; }
    const std::vector<std::unique_ptr<tsql::Node>> &nodes() const
    {
        return parsed ? parsed->nodes : ownNodes;
    }
    // A text with NUL in it is refused by the lexer, which only its text reaches.
    bool readsAsShape() const
    {
        return parsed && std::none_of(statement->values.begin(), statement->values.end(),
                                      [](const SqlBatch::Value &v) {
                                          return v.text.find('\0') != std::string::npos;
                                      });
    }
    void read(tsql::StatementParses &parses)
    {
        if (!tokens.empty())
            return;
        text = statement->text(valueOffsets);
        if (readsAsShape()) {
            tokens = tsql::StatementParses::tokensOf(*parsed, *statement, text, valueOffsets);
            return;
        }
        tokens = tsql::tokenize(text);
        ownNodes = tsql::parseBatch(tokens);
        parsed = parses.keep(key(), *statement, valueOffsets, tokens, ownNodes);
    }
    // The one INSERT, UPDATE or DELETE its text holds, which a plan may keep.
    const tsql::Node *single() const
    {
        if (nodes().size() != 1 || nodes().front()->kind != tsql::Node::Kind::Statement)
            return nullptr;
        const tsql::Token &first = tokens[nodes().front()->begin];
        return first.is("INSERT") || first.is("UPDATE") || first.is("DELETE")
                   ? nodes().front().get()
                   : nullptr;
    }
    // True when the statement is an IF on @@ROWCOUNT, read before any value, that does not
    // hold and has no ELSE: running it does nothing, and its text need not be read.
    bool idle(long long rowCount) const
    {
        if (!parsed || parsed->nodes.size() != 1)
            return false;
        const tsql::Node &node = *parsed->nodes.front();
        if (node.kind != tsql::Node::Kind::If || node.children.size() != 1 ||
            node.end > parsed->firstValueToken)
            return false;
        const auto holds = rowCountCondition(parsed->tokens, node.begin, node.end, rowCount);
        return holds && !*holds;
    }
};

namespace {

// How far back a statement's like is looked for: the lines of a save repeat a few shapes.
constexpr size_t kAlikeLookBack = 4;

bool sameShape(const SqlBatch::Statement &a, const SqlBatch::Statement &b)
{
    if (a.values.size() != b.values.size() || a.shape != b.shape)
        return false;
    for (size_t i = 0; i < a.values.size(); ++i)
        if (a.values[i].kind != b.values[i].kind ||
            a.values[i].negative() != b.values[i].negative())
            return false;
    return true;
}

} // namespace

void EmbeddedDatabase::keepPlan(BatchStep &step, const tsql::Node &node)
{
    tsql::Translation translation;
    try {
        tsql::Translator translator(step.tokens, node.begin, node.end, m_schema, m_session);
        translation = translator.translateStatement();
    } catch (const HostError &) {
        return; // its text is read each time, as any statement the translator binds no value of
    }
    m_plans.keep(step.key(), *step.statement, step.valueOffsets, step.tokens, node.begin, node.end,
                 translation);
}

BatchResult EmbeddedDatabase::execute(const SqlBatch &batch)
{
    m_schema.refresh();
    m_plans.follow(m_schema.generation(), m_session.dateFirst);
    // Room for every step at once: a step points to the one before it whose key it shares.
    std::vector<BatchStep> steps;
    steps.reserve(batch.statements().size());
    int writes = 0;
    for (const SqlBatch::Statement &statement : batch.statements()) {
        BatchStep &step =
            steps.emplace_back(BatchStep{&statement, {}, {}, {}, {}, {}, {}, {}, {}, {}});
        // A statement like one a little before it has its key and plan without making the key
        // and looking it up again.
        const BatchStep *alike = nullptr;
        for (size_t back = 2; back <= std::min(steps.size(), kAlikeLookBack + 1); ++back) {
            const BatchStep &before = steps[steps.size() - back];
            if ((before.plan || before.parsed) && sameShape(*before.statement, statement)) {
                alike = &before;
                break;
            }
        }
        if (alike) {
            step.keyFrom = alike->keyFrom ? alike->keyFrom : alike;
            step.plan = alike->plan;
        } else {
            step.ownKey = tsql::StatementPlans::keyOf(statement);
            step.plan = m_plans.find(step.ownKey);
        }
        step.planGeneration = m_plans.generation();
        if (step.plan) {
            writes = writes < 0 ? writes : writes + 1;
            continue;
        }
        step.parsed = alike ? alike->parsed : m_parses.find(step.key());
        if (step.parsed) {
            const int here = writesOf(step.parsed->tokens, step.parsed->nodes);
            writes = here < 0 || writes < 0 ? -1 : writes + here;
            continue;
        }
        step.read(m_parses);
        const int here = writesOf(step.tokens, step.nodes());
        writes = here < 0 || writes < 0 ? -1 : writes + here;
    }
    return inBatch(writes, [&](BatchResult &result) {
        for (BatchStep &step : steps) {
            m_plans.follow(m_schema.generation(), m_session.dateFirst);
            if (step.planGeneration != m_plans.generation()) {
                step.plan = m_plans.find(step.key());
                step.planGeneration = m_plans.generation();
            }
            const tsql::StatementPlans::Form *planned =
                step.plan ? tsql::StatementPlans::formOf(*step.plan, *step.statement) : nullptr;
            if (planned) {
                try {
                    runPlanned(*planned, *step.statement);
                } catch (const HostError &e) {
                    throw HostError(e.Description() + "\nSQL: " + step.statement->failureText(),
                                    e.Number());
                }
                continue;
            }
            if (step.idle(m_session.rowCount))
                continue;
            step.read(m_parses);
            if (!runNodes(step.text, step.tokens, step.nodes(), result))
                return;
            if (const tsql::Node *node = step.single())
                keepPlan(step, *node);
        }
    });
}

} // namespace host
