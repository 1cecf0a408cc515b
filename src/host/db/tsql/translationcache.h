#pragma once

#include "host/db/tsql/tsqllexer.h"
#include "host/db/tsql/tsqltranslator.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace host::tsql {

// Translations of statements kept by the statement's text with its literals taken out, so that
// statements that differ only in their values are translated once. A kept translation serves a
// statement whose literals it bound as parameters admit the statement's values (see
// LiteralShape) and whose other literals are the same; it is then the statement's fresh
// translation with the statement's values bound.
class TranslationCache
{
public:
    explicit TranslationCache(size_t capacity) : m_capacity(capacity) {}

    // Kept translations hold for one schema and one SET DATEFIRST; they go when either moves.
    void follow(std::uint64_t schemaGeneration, int dateFirst);

    // The key of tokens [begin, end) of the batch text; nothing for a statement that is not
    // kept (one that reads variables, or a very long one).
    static std::optional<std::string> keyOf(std::string_view sql, const std::vector<Token> &tokens,
                                            size_t begin, size_t end);
    std::optional<Translation> find(const std::string &key, const std::vector<Token> &tokens,
                                    size_t begin);
    // Keeps a translation of one step that changes no schema.
    void keep(std::string key, const std::vector<Token> &tokens, size_t begin, size_t end,
              const Translation &translation);

private:
    struct Pinned
    {
        size_t token;
        std::string text;
    };
    // A translation with the literals it wrote into its SQL.
    struct Form
    {
        Translation translation;
        std::vector<Pinned> pinned;
    };
    struct Entry
    {
        std::vector<Form> forms; // oldest first
        std::uint64_t lastUse = 0;
    };

    size_t m_capacity;
    std::uint64_t m_uses = 0;
    std::uint64_t m_schemaGeneration = 0;
    int m_dateFirst = 0;
    std::unordered_map<std::string, Entry> m_entries;
};

} // namespace host::tsql
