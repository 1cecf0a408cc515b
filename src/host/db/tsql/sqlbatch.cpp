#include "host/db/tsql/sqlbatch.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"

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

SqlBatch::Statement &SqlBatch::current()
{
    if (!m_open) {
        m_statements.emplace_back();
        m_open = true;
    }
    return m_statements.back();
}

SqlBatch &SqlBatch::operator<<(std::string_view fixed)
{
    if (fixed.find(kValueMark) != std::string_view::npos)
        throw HostError("A statement's text holds a control character.");
    current().shape += fixed;
    return *this;
}

void SqlBatch::addValue(Value value)
{
    Statement &s = current();
    s.shape += kValueMark;
    s.values.push_back(std::move(value));
}

SqlBatch &SqlBatch::number(double value)
{
    // A value that no literal stands for fails here, as writing the text would.
    sqlNumber(value);
    addValue({Value::Kind::Number, value, 0, {}});
    return *this;
}

SqlBatch &SqlBatch::whole(long long value)
{
    addValue({Value::Kind::Whole, 0, value, {}});
    return *this;
}

SqlBatch &SqlBatch::quoted(std::string_view value)
{
    addValue({Value::Kind::Text, 0, 0, std::string(value)});
    return *this;
}

void SqlBatch::endStatement()
{
    m_open = false;
}

void SqlBatch::append(const SqlBatch &other)
{
    endStatement();
    m_statements.insert(m_statements.end(), other.m_statements.begin(), other.m_statements.end());
}

std::string SqlBatch::text() const
{
    std::string out;
    for (const Statement &s : m_statements)
        out += s.text();
    return out;
}

} // namespace host
