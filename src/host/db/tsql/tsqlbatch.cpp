#include "host/db/tsql/tsqlbatch.h"

#include "host/core/hosterror.h"

#include <array>
#include <string_view>

namespace host::tsql {

namespace {

constexpr std::string_view kStatementStarts[] = {
    ("SELECT"), "INSERT",   "UPDATE", "DELETE", "IF",       "ELSE",  "BEGIN",   "END",
    "DECLARE",  "SET",      "CREATE", "DROP",   "TRUNCATE", "EXEC",  "EXECUTE", "RAISERROR",
    "COMMIT",   "ROLLBACK", "PRINT",  "RETURN", "WHILE",    "ALTER", "GO"};

bool startsStatement(const Token &t)
{
    if (t.kind != TokenKind::Word)
        return false;
    for (const auto keyword : kStatementStarts) {
        if (t.upper == keyword)
            return true;
    }
    return false;
}

class Parser
{
public:
    explicit Parser(const std::vector<Token> &tokens) : m_tokens(tokens) {}

    std::vector<std::unique_ptr<Node>> parseAll()
    {
        std::vector<std::unique_ptr<Node>> nodes;
        for (;;) {
            skipSemicolons();
            if (peek().kind == TokenKind::End)
                return nodes;
            if (peek().is("END"))
                fail("Incorrect syntax near the keyword 'END'.");
            if (peek().is("ELSE"))
                fail("Incorrect syntax near the keyword 'ELSE'.");
            nodes.push_back(parseStatement());
        }
    }

private:
    const Token &peek(size_t ahead = 0) const
    {
        const size_t i = m_pos + ahead;
        return i < m_tokens.size() ? m_tokens[i] : m_tokens.back();
    }

    [[noreturn]] void fail(const std::string &message) const { throw HostError(message); }

    void skipSemicolons()
    {
        while (peek().isSymbol(";") || peek().is("GO"))
            ++m_pos;
    }

    std::unique_ptr<Node> parseStatement()
    {
        // IF and BEGIN nest by recursion; a limit keeps hostile text from the stack's end.
        constexpr int kMaxDepth = 200;
        if (++m_depth > kMaxDepth)
            fail("The batch is nested too deeply for the embedded database.");
        auto node = parseOne();
        --m_depth;
        return node;
    }

    std::unique_ptr<Node> parseOne()
    {
        skipSemicolons();
        const Token &t = peek();
        if (t.kind == TokenKind::End)
            fail("Incorrect syntax: a statement was expected at the end of the batch.");
        if (t.is("IF"))
            return parseIf();
        if (t.is("WHILE"))
            fail("WHILE loops are not supported by the embedded database.");
        if (t.is("BEGIN") && !peek(1).is("TRAN") && !peek(1).is("TRANSACTION"))
            return parseBlock();
        if (t.is("END") || t.is("ELSE"))
            fail("Incorrect syntax near the keyword '" + t.text + "'.");
        return parseSimple();
    }

    std::unique_ptr<Node> parseIf()
    {
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::If;
        ++m_pos; // IF
        node->begin = m_pos;
        scanExpression();
        node->end = m_pos;
        if (node->begin == node->end)
            fail("Incorrect syntax near the keyword 'IF'.");
        node->children.push_back(parseStatement());
        skipSemicolons();
        if (peek().is("ELSE")) {
            ++m_pos;
            node->children.push_back(parseStatement());
        }
        return node;
    }

    std::unique_ptr<Node> parseBlock()
    {
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::Block;
        ++m_pos; // BEGIN
        for (;;) {
            skipSemicolons();
            if (peek().kind == TokenKind::End)
                fail("Incorrect syntax: BEGIN without END.");
            if (peek().is("END")) {
                ++m_pos;
                return node;
            }
            node->children.push_back(parseStatement());
        }
    }

    // Reads tokens up to the next statement keyword outside parentheses and CASE.
    void scanExpression()
    {
        int depth = 0;
        int caseDepth = 0;
        for (; peek().kind != TokenKind::End; ++m_pos) {
            const Token &t = peek();
            if (t.isSymbol("("))
                ++depth;
            else if (t.isSymbol(")") && --depth < 0)
                fail("Incorrect syntax near ')'.");
            else if (t.is("CASE"))
                ++caseDepth;
            else if (t.is("END") && caseDepth > 0)
                --caseDepth;
            else if (depth == 0 && caseDepth == 0 && startsStatement(t))
                return;
        }
    }

    std::unique_ptr<Node> parseSimple()
    {
        auto node = std::make_unique<Node>();
        node->begin = m_pos;
        const std::string kind = peek().upper;
        const bool isCreateView = kind == "CREATE" && peek(1).is("VIEW");
        bool seenSet = false;
        bool seenSource = false; // INSERT: its SELECT or VALUES came
        int depth = 0;
        int caseDepth = 0;
        ++m_pos;
        if (kind == "BEGIN" || kind == "COMMIT" || kind == "ROLLBACK") {
            while (peek().is("TRAN") || peek().is("TRANSACTION") || peek().is("WORK"))
                ++m_pos;
            node->end = m_pos;
            return node;
        }
        for (; peek().kind != TokenKind::End; ++m_pos) {
            const Token &t = peek();
            if (t.isSymbol("(")) {
                ++depth;
                continue;
            }
            if (t.isSymbol(")")) {
                if (--depth < 0)
                    fail("Incorrect syntax near ')'.");
                continue;
            }
            if (depth > 0)
                continue;
            if (t.isSymbol(";"))
                break;
            if (t.is("VALUES"))
                seenSource = true;
            if (t.is("CASE")) {
                ++caseDepth;
                continue;
            }
            if (t.is("END") && caseDepth > 0) {
                --caseDepth;
                continue;
            }
            if (caseDepth > 0 || !startsStatement(t))
                continue;
            if (t.is("SELECT")) {
                const Token &before = m_tokens[m_pos - 1];
                if (before.is("UNION") || before.is("ALL") || before.is("EXCEPT") ||
                    before.is("INTERSECT") || (isCreateView && before.is("AS")))
                    continue;
                if (kind == "INSERT" && !seenSource) {
                    seenSource = true;
                    continue;
                }
            }
            if (t.is("SET") && kind == "UPDATE" && !seenSet) {
                seenSet = true;
                continue;
            }
            if ((t.is("EXEC") || t.is("EXECUTE")) && kind == "INSERT" && !seenSource) {
                seenSource = true;
                continue;
            }
            break;
        }
        if (depth > 0)
            fail("Incorrect syntax: missing ')'.");
        node->end = m_pos;
        return node;
    }

    const std::vector<Token> &m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace

std::vector<std::unique_ptr<Node>> parseBatch(const std::vector<Token> &tokens)
{
    return Parser(tokens).parseAll();
}

} // namespace host::tsql
