#include "host/db/tsql/sqlbatch.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"

#include <algorithm>
#include <cmath>

namespace host {

std::string SqlBatch::Value::literal() const
{
    switch (kind) {
    case Kind::Number:
        return sqlNumber(number);
    case Kind::Whole:
        return std::to_string(whole);
    case Kind::Text:
        return sqlString(text);
    }
    return {};
}

std::string SqlBatch::Statement::text() const
{
    std::vector<size_t> offsets;
    return text(offsets);
}

std::string SqlBatch::Statement::text(std::vector<size_t> &valueOffsets) const
{
    std::string out;
    out.reserve(shape.size() + values.size() * 8);
    valueOffsets.clear();
    size_t next = 0;
    for (const char c : shape) {
        if (c != kValueMark) {
            out += c;
            continue;
        }
        valueOffsets.push_back(out.size());
        out += values.at(next++).literal();
    }
    return out;
}

std::string SqlBatch::Statement::failureText() const
{
    std::string out = text();
    while (!out.empty() && (out.back() == '\r' || out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

void SqlBatch::open()
{
    m_open = true;
    if (m_count < m_statements.size()) {
        Statement &s = m_statements[m_count++];
        s.shape.clear();
        s.values.clear();
        return;
    }
    // The statements of a batch are often alike: each starts with room for the largest before
    // it.
    if (m_count > 0) {
        m_largestShape = std::max(m_largestShape, m_statements[m_count - 1].shape.size());
        m_mostValues = std::max(m_mostValues, m_statements[m_count - 1].values.size());
    }
    Statement &s = m_statements.emplace_back();
    s.shape.reserve(m_largestShape);
    s.values.reserve(m_mostValues);
    ++m_count;
}

SqlBatch &SqlBatch::appendMade(std::string_view fixed)
{
    if (fixed.find(kValueMark) != std::string_view::npos)
        throw HostError("A statement's text holds a control character.");
    current().shape += fixed;
    return *this;
}

SqlBatch &SqlBatch::number(double value)
{
    // A value that no literal stands for fails here, as writing the text would.
    if (!std::isfinite(value))
        sqlNumber(value);
    addValue(Value::Kind::Number).number = value;
    return *this;
}

void SqlBatch::endStatement()
{
    m_open = false;
}

void SqlBatch::append(const Statement &statement)
{
    endStatement();
    Statement &s = current();
    s.shape = statement.shape;
    s.values = statement.values;
    endStatement();
}

std::string SqlBatch::text() const
{
    std::string out;
    for (const Statement &s : statements())
        out += s.text();
    return out;
}

void SqlBatch::clear()
{
    m_count = 0;
    m_open = false;
}

} // namespace host
