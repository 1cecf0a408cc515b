#include "host/db/tsql/tsqllexer.h"

#include "host/core/hosterror.h"
#include "host/core/text.h"

#include <algorithm>

namespace host::tsql {

namespace {

// Character classes of the ASCII range; every byte of a multibyte UTF-8 character is part of
// a name. (SQL text is read a byte at a time, so that no locale changes how it splits.)
bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isBlank(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isNameStart(unsigned char c)
{
    return isLetter(c) || c == '_' || c == '#' || c >= 0x80;
}

bool isNamePart(unsigned char c)
{
    return isLetter(c) || isDigit(c) || c == '_' || c == '#' || c == '$' || c == '@' || c >= 0x80;
}

// The length of the operator at the start of text: two characters for <> <= >= != !< !>.
size_t symbolLength(std::string_view text)
{
    if (text.size() < 2)
        return 1;
    const char second = text[1];
    switch (text[0]) {
    case '<':
        return second == '>' || second == '=' ? 2 : 1;
    case '>':
        return second == '=' ? 2 : 1;
    case '!':
        return second == '=' || second == '<' || second == '>' ? 2 : 1;
    default:
        return 1;
    }
}

[[noreturn]] void unterminated(std::string_view what, size_t offset)
{
    throw HostError("Unclosed " + std::string(what) + " at position " + std::to_string(offset + 1) +
                    " of the SQL text.");
}

// SQLite reads SQL text only up to a NUL: what follows would be lost, or read as another
// statement. The refusal shows what stands before it, to find the text that holds it.
[[noreturn]] void nulCharacter(std::string_view sql, size_t offset)
{
    constexpr size_t kShown = 30;
    size_t from = offset > kShown ? offset - kShown : 0;
    while (from < offset && (static_cast<unsigned char>(sql[from]) & 0xC0) == 0x80)
        ++from;
    throw HostError("A text holds the character NUL (code 0) after '" +
                    std::string(sql.substr(from, offset - from)) +
                    "'; the embedded database does not support it.");
}

} // namespace

std::vector<Token> tokenize(std::string_view sql)
{
    if (const size_t nul = sql.find('\0'); nul != std::string_view::npos)
        nulCharacter(sql, nul);
    std::vector<Token> tokens;
    // About one token in three characters of generated SQL.
    tokens.reserve(sql.size() / 3 + 1);
    size_t i = 0;
    const size_t n = sql.size();
    // Called once i is past the token; text is its text where that is not the written one.
    auto push = [&](TokenKind kind, size_t start, std::string_view text) {
        Token &t = tokens.emplace_back();
        t.kind = kind;
        t.text.assign(text);
        if (kind == TokenKind::Word) {
            t.upper.resize(text.size());
            std::transform(text.begin(), text.end(), t.upper.begin(), upperAscii);
        }
        t.offset = start;
        t.size = i - start;
    };
    auto pushWritten = [&](TokenKind kind, size_t start) {
        push(kind, start, sql.substr(start, i - start));
    };
    while (i < n) {
        const auto c = static_cast<unsigned char>(sql[i]);
        const size_t start = i;
        if (isBlank(c)) {
            ++i;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            const size_t lineEnd = sql.find('\n', i);
            i = lineEnd == std::string_view::npos ? n : lineEnd;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const size_t close = sql.find("*/", i + 2);
            if (close == std::string_view::npos)
                unterminated("comment", start);
            i = close + 2;
        } else if (c == '\'' || ((c == 'N' || c == 'n') && i + 1 < n && sql[i + 1] == '\'')) {
            i += (c == '\'') ? 1 : 2;
            const size_t body = i;
            bool doubled = false;
            for (;;) {
                const size_t quote = sql.find('\'', i);
                if (quote == std::string_view::npos)
                    unterminated("quotation mark", start);
                i = quote + 1;
                if (i < n && sql[i] == '\'') {
                    doubled = true;
                    ++i;
                    continue;
                }
                break;
            }
            const std::string_view written = sql.substr(body, i - 1 - body);
            if (!doubled) {
                push(TokenKind::String, start, written);
                tokens.back().national = c != '\'';
                continue;
            }
            std::string text;
            for (size_t k = 0; k < written.size(); ++k) {
                text += written[k];
                if (written[k] == '\'')
                    ++k; // its double
            }
            push(TokenKind::String, start, text);
            tokens.back().national = c != '\'';
        } else if (c == '[' || c == '"') {
            const size_t close = sql.find(c == '[' ? ']' : '"', i + 1);
            if (close == std::string_view::npos)
                unterminated("quoted name", start);
            i = close + 1;
            push(TokenKind::QuotedId, start, sql.substr(start + 1, close - start - 1));
        } else if (c == '@') {
            ++i;
            while (i < n && isNamePart(static_cast<unsigned char>(sql[i])))
                ++i;
            pushWritten(TokenKind::Variable, start);
        } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(sql[i + 1]))) {
            while (i < n && (isDigit(static_cast<unsigned char>(sql[i])) || sql[i] == '.'))
                ++i;
            if (i < n && (sql[i] == 'e' || sql[i] == 'E')) {
                size_t j = i + 1;
                if (j < n && (sql[j] == '+' || sql[j] == '-'))
                    ++j;
                if (j < n && isDigit(static_cast<unsigned char>(sql[j]))) {
                    i = j;
                    while (i < n && isDigit(static_cast<unsigned char>(sql[i])))
                        ++i;
                }
            }
            pushWritten(TokenKind::Number, start);
        } else if (isNameStart(c)) {
            while (i < n && isNamePart(static_cast<unsigned char>(sql[i])))
                ++i;
            pushWritten(TokenKind::Word, start);
        } else {
            i += symbolLength(sql.substr(i));
            pushWritten(TokenKind::Symbol, start);
        }
    }
    Token end;
    end.offset = n;
    tokens.push_back(std::move(end));
    return tokens;
}

} // namespace host::tsql
