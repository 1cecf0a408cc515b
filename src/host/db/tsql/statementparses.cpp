#include "host/db/tsql/statementparses.h"

#include <algorithm>
#include <string_view>

namespace host::tsql {

namespace {

using Kind = SqlBatch::Value::Kind;

// Fixed text that no literal joins: a blank or an operator that stands alone beside a number
// or a quoted text (a minus before one would start a comment, a letter after one would join it).
bool apartBefore(char c)
{
    return std::string_view(" \t\r\n=,(+*/<>").find(c) != std::string_view::npos;
}

bool apartAfter(char c)
{
    return std::string_view(" \t\r\n=,()+-*/<>;").find(c) != std::string_view::npos;
}

bool valuesStandApart(const std::string &shape)
{
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] != SqlBatch::kValueMark)
            continue;
        if ((i > 0 && !apartBefore(shape[i - 1])) ||
            (i + 1 < shape.size() && !apartAfter(shape[i + 1])))
            return false;
    }
    return true;
}

size_t tokenAt(const std::vector<Token> &tokens, size_t offset)
{
    const auto it = std::lower_bound(tokens.begin(), tokens.end(), offset,
                                     [](const Token &t, size_t o) { return t.offset < o; });
    return static_cast<size_t>(it - tokens.begin());
}

} // namespace

std::shared_ptr<const StatementParses::Parsed> StatementParses::find(const std::string &key) const
{
    const auto it = m_parses.find(key);
    return it == m_parses.end() ? nullptr : it->second;
}

std::shared_ptr<const StatementParses::Parsed>
StatementParses::keep(const std::string &key, const SqlBatch::Statement &statement,
                      const std::vector<size_t> &valueOffsets, const std::vector<Token> &tokens,
                      std::vector<std::unique_ptr<Node>> &nodes)
{
    if (!valuesStandApart(statement.shape))
        return nullptr;
    auto parsed = std::make_shared<Parsed>();
    parsed->firstValueToken = tokens.size();
    for (size_t v = 0; v < statement.values.size(); ++v) {
        const SqlBatch::Value &value = statement.values[v];
        const size_t sign = value.negative() ? 1 : 0;
        const size_t at = tokenAt(tokens, valueOffsets[v] + sign);
        const TokenKind kind = value.kind == Kind::Text ? TokenKind::String : TokenKind::Number;
        if (at >= tokens.size() || tokens[at].offset != valueOffsets[v] + sign ||
            tokens[at].kind != kind || tokens[at].national ||
            tokens[at].size != value.literal().size() - sign)
            return nullptr;
        parsed->valueTokens.push_back(at);
        parsed->firstValueToken = std::min(parsed->firstValueToken, at - sign);
    }
    parsed->tokens = tokens;
    parsed->nodes = std::move(nodes);
    parsed->valueOffsets = valueOffsets;
    if (m_parses.size() >= m_capacity)
        m_parses.clear();
    m_parses[key] = parsed;
    return parsed;
}

std::vector<Token> StatementParses::tokensOf(const Parsed &parsed,
                                             const SqlBatch::Statement &statement,
                                             std::string_view text,
                                             const std::vector<size_t> &valueOffsets)
{
    std::vector<Token> tokens = parsed.tokens;
    const size_t values = valueOffsets.size();
    // Tokens after a value's literal move by as much as the next value's, or the text's end
    // (the fixed text between is the same); offsets wrap as unsigned numbers do.
    const auto shiftAfter = [&](size_t v) {
        if (v + 1 < values)
            return valueOffsets[v + 1] - parsed.valueOffsets[v + 1];
        return text.size() - parsed.tokens.back().offset;
    };
    size_t next = 0;
    size_t shift = values > 0 ? valueOffsets[0] - parsed.valueOffsets[0] : 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token &t = tokens[i];
        if (next < values && i == parsed.valueTokens[next]) {
            const SqlBatch::Value &value = statement.values[next];
            const size_t sign = value.negative() ? 1 : 0;
            t.offset = valueOffsets[next] + sign;
            shift = shiftAfter(next);
            t.size = parsed.tokens[i].offset + parsed.tokens[i].size + shift - t.offset;
            if (value.kind == Kind::Text)
                t.text = value.text;
            else
                t.text.assign(text.substr(t.offset, t.size));
            ++next;
            continue;
        }
        t.offset += shift;
    }
    return tokens;
}

} // namespace host::tsql
