#include "host/db/tsqllexer.h"

#include "host/core/hosterror.h"
#include "host/core/text.h"

#include <cctype>

namespace host::tsql {

namespace {

bool isNameStart(unsigned char c)
{
    return std::isalpha(c) || c == '_' || c == '#' || c >= 0x80;
}

bool isNamePart(unsigned char c)
{
    return std::isalnum(c) || c == '_' || c == '#' || c == '$' || c == '@' || c >= 0x80;
}

[[noreturn]] void unterminated(std::string_view what, size_t offset)
{
    throw HostError("Unclosed " + std::string(what) + " at position " + std::to_string(offset + 1) +
                    " of the SQL text.");
}

} // namespace

std::vector<Token> tokenize(std::string_view sql)
{
    std::vector<Token> tokens;
    tokens.reserve(sql.size() / 4 + 1);
    size_t i = 0;
    const size_t n = sql.size();
    auto push = [&](TokenKind kind, std::string text, size_t offset) {
        Token t;
        t.kind = kind;
        if (kind == TokenKind::Word)
            t.upper = toUpper(text);
        t.text = std::move(text);
        t.offset = offset;
        tokens.push_back(std::move(t));
    };
    while (i < n) {
        const auto c = static_cast<unsigned char>(sql[i]);
        const size_t start = i;
        if (std::isspace(c)) {
            ++i;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            while (i < n && sql[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const size_t close = sql.find("*/", i + 2);
            if (close == std::string_view::npos)
                unterminated("comment", start);
            i = close + 2;
        } else if (c == '\'' || ((c == 'N' || c == 'n') && i + 1 < n && sql[i + 1] == '\'')) {
            i += (c == '\'') ? 1 : 2;
            std::string text;
            for (;;) {
                if (i >= n)
                    unterminated("quotation mark", start);
                if (sql[i] == '\'') {
                    if (i + 1 < n && sql[i + 1] == '\'') {
                        text += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += sql[i++];
            }
            push(TokenKind::String, std::move(text), start);
        } else if (c == '[' || c == '"') {
            const char close = (c == '[') ? ']' : '"';
            const size_t end = sql.find(close, i + 1);
            if (end == std::string_view::npos)
                unterminated("quoted name", start);
            push(TokenKind::QuotedId, std::string(sql.substr(i + 1, end - i - 1)), start);
            i = end + 1;
        } else if (c == '@') {
            ++i;
            while (i < n && isNamePart(static_cast<unsigned char>(sql[i])))
                ++i;
            push(TokenKind::Variable, std::string(sql.substr(start, i - start)), start);
        } else if (std::isdigit(c) || (c == '.' && i + 1 < n && std::isdigit(sql[i + 1]))) {
            while (i < n && (std::isdigit(static_cast<unsigned char>(sql[i])) || sql[i] == '.'))
                ++i;
            if (i < n && (sql[i] == 'e' || sql[i] == 'E')) {
                size_t j = i + 1;
                if (j < n && (sql[j] == '+' || sql[j] == '-'))
                    ++j;
                if (j < n && std::isdigit(static_cast<unsigned char>(sql[j]))) {
                    i = j;
                    while (i < n && std::isdigit(static_cast<unsigned char>(sql[i])))
                        ++i;
                }
            }
            push(TokenKind::Number, std::string(sql.substr(start, i - start)), start);
        } else if (isNameStart(c)) {
            while (i < n && isNamePart(static_cast<unsigned char>(sql[i])))
                ++i;
            push(TokenKind::Word, std::string(sql.substr(start, i - start)), start);
        } else {
            static constexpr std::string_view twoChar[] = {"<>", "<=", ">=", "!=", "!<", "!>"};
            std::string symbol(1, static_cast<char>(c));
            if (i + 1 < n) {
                const std::string_view pair = sql.substr(i, 2);
                for (const auto candidate : twoChar) {
                    if (pair == candidate)
                        symbol = std::string(pair);
                }
            }
            i += symbol.size();
            push(TokenKind::Symbol, std::move(symbol), start);
        }
    }
    Token end;
    end.offset = n;
    tokens.push_back(std::move(end));
    return tokens;
}

} // namespace host::tsql
