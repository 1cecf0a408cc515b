#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host::tsql {

enum class TokenKind
{
    Word,     // keyword or name, also #temp names
    QuotedId, // [name] or "name", text without the quotes
    String,   // 'text' or N'text', text unescaped
    Number,
    Variable, // @name or @@name
    Symbol,   // operators and punctuation
    End
};

struct Token
{
    TokenKind kind = TokenKind::End;
    std::string text;      // as written (unescaped for strings and quoted names)
    std::string upper;     // uppercase text of words, for keyword tests
    size_t offset = 0;     // position in the batch text
    size_t size = 0;       // characters it takes there
    bool national = false; // N'text'

    bool is(std::string_view keyword) const { return kind == TokenKind::Word && upper == keyword; }
    bool isSymbol(std::string_view symbol) const
    {
        return kind == TokenKind::Symbol && text == symbol;
    }
    bool isName() const { return kind == TokenKind::Word || kind == TokenKind::QuotedId; }
};

// Splits T-SQL text into tokens, dropping blanks and comments; the last token is End.
// Throws HostError on an unterminated string, quoted name or comment.
std::vector<Token> tokenize(std::string_view sql);

} // namespace host::tsql
