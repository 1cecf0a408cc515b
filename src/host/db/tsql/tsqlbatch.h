#pragma once

#include "host/db/tsql/tsqllexer.h"

#include <memory>
#include <vector>

namespace host::tsql {

// One statement of a batch, or a control-flow construct over statements. Simple statements
// keep their token range and are translated only when they run, so they see the tables that
// earlier statements of the batch created.
struct Node
{
    enum class Kind
    {
        Statement, // tokens [begin, end)
        If,        // condition tokens [begin, end), then children[0], else children[1]
        Block      // BEGIN ... END
    };
    Kind kind = Kind::Statement;
    size_t begin = 0;
    size_t end = 0;
    std::vector<std::unique_ptr<Node>> children;
};

// Splits a batch into statements the way SQL Server reads it: statements need no separator,
// each starts with its keyword. Throws HostError on a syntax error, before anything runs.
std::vector<std::unique_ptr<Node>> parseBatch(const std::vector<Token> &tokens);

} // namespace host::tsql
