#pragma once

#include "host/db/tsql/sqlbatch.h"
#include "host/db/tsql/tsqlbatch.h"
#include "host/db/tsql/tsqllexer.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace host::tsql {

// The tokens and statements of SqlBatch statements, kept by the same key as StatementPlans: a
// statement met again has the tokens its text gives without the text being read, when each
// value's literal stands apart from the fixed text around it (nothing there can join it into
// another token).
class StatementParses
{
public:
    struct Parsed
    {
        std::vector<Token> tokens; // of the statement first met
        std::vector<std::unique_ptr<Node>> nodes;
        std::vector<size_t> valueOffsets;
        std::vector<size_t> valueTokens; // the token of each value's literal, after its minus
        size_t firstValueToken = 0;      // the first token a value makes
    };

    explicit StatementParses(size_t capacity) : m_capacity(capacity) {}

    // Stays valid as long as it is held, whatever is kept after.
    std::shared_ptr<const Parsed> find(const std::string &key) const;
    // Keeps what the text of the statement, with its values at valueOffsets, gave, taking the
    // nodes; nothing, and the nodes left, when its values do not stand apart.
    std::shared_ptr<const Parsed> keep(const std::string &key, const SqlBatch::Statement &statement,
                                       const std::vector<size_t> &valueOffsets,
                                       const std::vector<Token> &tokens,
                                       std::vector<std::unique_ptr<Node>> &nodes);
    // The tokens of text, the statement's text with its values at valueOffsets, read from the
    // parse kept for its key.
    static std::vector<Token> tokensOf(const Parsed &parsed, const SqlBatch::Statement &statement,
                                       std::string_view text,
                                       const std::vector<size_t> &valueOffsets);

private:
    size_t m_capacity;
    std::unordered_map<std::string, std::shared_ptr<const Parsed>> m_parses;
};

} // namespace host::tsql
