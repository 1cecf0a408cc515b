#include "host/db/tsql/statementplans.h"

#include "host/core/sqltext.h"
#include "host/db/tsql/tsqlparser.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>

namespace host::tsql {

namespace {

using Kind = SqlBatch::Value::Kind;

constexpr size_t kFormsPerKey = 8;

// A value's parameter in Form::params when the value is bound in more than one place.
constexpr int kSeveralParams = -2;

// The type of a value's literal as the token reads it, its minus apart.
ColumnType literalType(const SqlBatch::Value &v)
{
    switch (v.kind) {
    case Kind::Number:
        return numberType(std::fabs(v.number));
    case Kind::Whole:
        return wholeType(magnitudeOf(v.whole));
    case Kind::Text:
        break;
    }
    // Written between plain quotes: a varchar of its length.
    ColumnType type = typeOf(SqlType::Text);
    type.length = static_cast<int>(std::min<size_t>(textLength(v.text, false), INT_MAX));
    return type;
}

// What a number or a whole number was read from, to its last bit.
std::uint64_t bitsOf(const SqlBatch::Value &v)
{
    return v.kind == Kind::Number ? std::bit_cast<std::uint64_t>(v.number)
                                  : static_cast<std::uint64_t>(v.whole);
}

// A value's kind and sign as its statement's key writes them.
std::array<char, 2> marksOf(const SqlBatch::Value &v)
{
    return {static_cast<char>('0' + static_cast<int>(v.kind)), v.negative() ? '-' : '+'};
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
    for (const SqlBatch::Value &v : statement.values)
        key.append(marksOf(v).data(), 2);
    return key;
}

bool StatementPlans::isKeyOf(std::string_view key, const SqlBatch::Statement &statement)
{
    const size_t length = statement.shape.size();
    if (key.size() != length + 1 + 2 * statement.values.size())
        return false;
    const char *mark = key.data() + length + 1;
    for (const SqlBatch::Value &v : statement.values) {
        const std::array<char, 2> marks = marksOf(v);
        if (mark[0] != marks[0] || mark[1] != marks[1])
            return false;
        mark += 2;
    }
    return key.substr(0, length) == statement.shape;
}

const StatementPlans::Plan *StatementPlans::find(const std::string &key) const
{
    const auto it = m_plans.find(key);
    return it == m_plans.end() ? nullptr : &it->second;
}

const StatementPlans::Form *StatementPlans::formOf(const Plan &plan,
                                                   const SqlBatch::Statement &statement)
{
    // A plan's statements have one count of values: its key holds each one's kind.
    const size_t count = statement.values.size();
    if (plan.lastRead.size() != count) {
        plan.lastRead.assign(count, Slot{});
        plan.lastForm = nullptr;
    }
    // Whether a form admits the values depends on their types alone.
    const auto admits = [&](const Source &source) {
        const ColumnType &type = plan.lastRead[static_cast<size_t>(source.value)].type;
        if (source.admitted == type)
            return true;
        if (!source.shape.admits(type))
            return false;
        source.admitted = type;
        return true;
    };
    for (size_t v = 0; v < count; ++v) {
        const SqlBatch::Value &value = statement.values[v];
        Slot &slot = plan.lastRead[v];
        if (value.kind != Kind::Text && value.kind == slot.kind && bitsOf(value) == slot.bits)
            continue;
        const ColumnType type = literalType(value);
        slot.kind = value.kind;
        slot.bits = bitsOf(value);
        if (type == slot.type)
            continue;
        slot.type = type;
        if (!plan.lastForm)
            continue;
        const int param = plan.lastForm->params[v];
        if (param == kSeveralParams || !admits(plan.lastForm->sources[static_cast<size_t>(param)]))
            plan.lastForm = nullptr;
    }
    if (plan.lastForm)
        return plan.lastForm;
    for (const Form &form : plan.forms) {
        if (std::all_of(form.sources.begin(), form.sources.end(),
                        [&](const Source &source) { return source.value < 0 || admits(source); })) {
            plan.lastForm = &form;
            return &form;
        }
    }
    return nullptr;
}

void StatementPlans::bindValues(const Form &form, const SqlBatch::Statement &statement,
                                sqlite::Statement &prepared)
{
    for (size_t p = 0; p < form.sources.size(); ++p) {
        const int index = static_cast<int>(p) + 1;
        const int v = form.values[p];
        if (v < 0) {
            prepared.bindKept(index, form.sources[p].constant);
            continue;
        }
        // As readLiteral() reads the digits of the number.
        const SqlBatch::Value &value = statement.values[static_cast<size_t>(v)];
        switch (value.kind) {
        case Kind::Number: {
            const double magnitude = std::fabs(value.number);
            if (readsAsWhole(magnitude))
                prepared.bindWhole(index, static_cast<long long>(magnitude));
            else
                prepared.bindNumber(index, magnitude);
            break;
        }
        case Kind::Whole: {
            const unsigned long long magnitude = magnitudeOf(value.whole);
            if (magnitude > static_cast<unsigned long long>(LLONG_MAX))
                prepared.bindNumber(index, static_cast<double>(magnitude));
            else
                prepared.bindWhole(index, static_cast<long long>(magnitude));
            break;
        }
        case Kind::Text:
            prepared.bindText(index, value.text);
            break;
        }
    }
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
    Form form{query, std::vector<Source>(query.params.size()), ++m_formsKept, {}, {}};
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
    form.params.assign(statement.values.size(), -1);
    for (const Source &source : form.sources) {
        if (source.value >= 0) {
            int &param = form.params[static_cast<size_t>(source.value)];
            param = param == -1 ? static_cast<int>(form.values.size()) : kSeveralParams;
        }
        form.values.push_back(source.value);
    }
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
