#include "host/db/tsql/statementplans.h"

#include "host/core/sqltext.h"
#include "host/db/tsql/tsqlparser.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>

namespace host::tsql {

namespace {

using Kind = SqlBatch::Value::Kind;

constexpr size_t kFormsPerKey = 8;

// What the token of a value's literal reads as, its minus apart; a number without its text.
Literal literalOf(const SqlBatch::Value &v)
{
    switch (v.kind) {
    case Kind::Number:
        return numberLiteral(std::fabs(v.number));
    case Kind::Whole: {
        const auto magnitude = static_cast<unsigned long long>(v.whole);
        return wholeLiteral(v.whole < 0 ? 0 - magnitude : magnitude);
    }
    case Kind::Text:
        break;
    }
    // Written between plain quotes: a varchar of its length.
    ColumnType type = typeOf(SqlType::Text);
    type.length = static_cast<int>(std::min<size_t>(textLength(v.text, false), INT_MAX));
    return {Variant(v.text), type};
}

// Whether two values are written alike, a number to its last bit.
bool sameValue(const SqlBatch::Value &a, const SqlBatch::Value &b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case Kind::Number:
        return std::bit_cast<std::uint64_t>(a.number) == std::bit_cast<std::uint64_t>(b.number);
    case Kind::Whole:
        return a.whole == b.whole;
    case Kind::Text:
        return a.text == b.text;
    }
    return false;
}

} // namespace

void StatementPlans::follow(std::uint64_t schemaGeneration, int dateFirst)
{
    if (schemaGeneration == m_schemaGeneration && dateFirst == m_dateFirst)
        return;
    clear();
    m_schemaGeneration = schemaGeneration;
    m_dateFirst = dateFirst;
}

void StatementPlans::clear()
{
    m_plans.clear();
    ++m_generation;
}

std::string StatementPlans::keyOf(const SqlBatch::Statement &statement)
{
    std::string key = statement.shape;
    key += '\0';
    for (const SqlBatch::Value &v : statement.values) {
        key += static_cast<char>('0' + static_cast<int>(v.kind));
        key += v.negative() ? '-' : '+';
    }
    return key;
}

const StatementPlans::Plan *StatementPlans::find(const std::string &key) const
{
    const auto it = m_plans.find(key);
    return it == m_plans.end() ? nullptr : &it->second;
}

const StatementPlans::Form *StatementPlans::bind(const Plan &plan,
                                                 const SqlBatch::Statement &statement)
{
    // A plan's statements have one count of values: its key holds each one's kind.
    const size_t count = statement.values.size();
    if (plan.lastValues.size() != count) {
        const SqlBatch::Value blank{Kind::Text, 0, 0, {}};
        plan.lastValues.assign(count, blank);
        plan.lastRead.assign(count, literalOf(blank));
        plan.lastForm = nullptr;
    }
    for (size_t v = 0; v < count; ++v) {
        const SqlBatch::Value &value = statement.values[v];
        if (sameValue(value, plan.lastValues[v]))
            continue;
        Literal &read = plan.lastRead[v];
        Literal fresh = literalOf(value);
        // Whether a form admits the values depends on their types alone.
        if (fresh.type != read.type) {
            plan.lastForm = nullptr;
            read.type = fresh.type;
        }
        read.value = std::move(fresh.value);
        SqlBatch::Value &last = plan.lastValues[v];
        last.kind = value.kind;
        last.number = value.number;
        last.whole = value.whole;
        if (value.kind == Kind::Text)
            last.text = value.text;
    }
    if (plan.lastForm)
        return plan.lastForm;
    const auto admitted = [&](const Form &form) {
        for (const Source &source : form.sources) {
            if (source.value < 0)
                continue;
            const ColumnType &type = plan.lastRead[static_cast<size_t>(source.value)].type;
            if (source.admitted == type)
                continue;
            if (!source.shape.admits(type))
                return false;
            source.admitted = type;
        }
        return true;
    };
    for (const Form &form : plan.forms) {
        if (!admitted(form))
            continue;
        plan.params.clear();
        for (const Source &source : form.sources)
            plan.params.push_back(source.value < 0
                                      ? &source.constant
                                      : &plan.lastRead[static_cast<size_t>(source.value)].value);
        plan.lastForm = &form;
        return &form;
    }
    return nullptr;
}

void StatementPlans::keep(std::string key, const SqlBatch::Statement &statement,
                          const std::vector<size_t> &valueOffsets, const std::vector<Token> &tokens,
                          size_t begin, size_t end, const Translation &translation)
{
    if (begin >= end || translation.steps.size() != 1 || translation.changesSchema ||
        !translation.assignTargets.empty() || translation.resultStep >= 0)
        return;
    const Token &first = tokens[begin];
    if (!first.is("INSERT") && !first.is("UPDATE") && !first.is("DELETE"))
        return;
    for (size_t i = begin; i < end; ++i)
        if (tokens[i].kind == TokenKind::Variable)
            return;
    const Query &query = translation.steps.front();
    if (query.params.size() != translation.literals.size())
        return;
    Form form{query, std::vector<Source>(query.params.size()), ++m_formsKept};
    std::vector<bool> bound(statement.values.size(), false);
    for (const BoundLiteral &literal : translation.literals) {
        Source &source = form.sources[static_cast<size_t>(literal.param - 1)];
        source.shape = literal.shape;
        const size_t offset = tokens[begin + literal.token].offset;
        for (size_t v = 0; v < statement.values.size(); ++v) {
            if (valueOffsets[v] + (statement.values[v].negative() ? 1 : 0) == offset) {
                source.value = static_cast<int>(v);
                bound[v] = true;
            }
        }
        if (source.value < 0)
            source.constant = query.params[static_cast<size_t>(literal.param - 1)];
    }
    for (const bool b : bound)
        if (!b)
            return;
    if (const auto kept = m_plans.find(key); kept != m_plans.end()) {
        kept->second.lastForm = nullptr;
        std::vector<Form> &forms = kept->second.forms;
        if (forms.size() >= kFormsPerKey)
            forms.erase(forms.begin());
        forms.push_back(std::move(form));
        return;
    }
    if (m_plans.size() >= m_capacity)
        clear();
    m_plans[std::move(key)].forms.push_back(std::move(form));
}

} // namespace host::tsql
