#pragma once

#include "host/db/sqlite/sqlitedb.h"
#include "host/db/tsql/sqlbatch.h"
#include "host/db/tsql/tsqllexer.h"
#include "host/db/tsql/tsqlparser.h"
#include "host/db/tsql/tsqltranslator.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace host::tsql {

// Translations of INSERT, UPDATE and DELETE statements written as SqlBatch statements, kept by
// their fixed text and the kind and sign of each value (a minus is a token of its own): a
// statement met again is the kept query with its values bound, as the translation of its text
// would bind them, when each value's literal is of a type that translation admits. A key keeps a
// few translations, one for each set of value types met (a number's digits may give its product
// another scale).
class StatementPlans
{
public:
    explicit StatementPlans(size_t capacity) : m_capacity(capacity) {}

    // Kept plans hold for one schema and one SET DATEFIRST; they go when either moves.
    void follow(std::uint64_t schemaGeneration, int dateFirst);

    struct Plan;
    // A statement's key: its fixed text, a NUL, and each value's kind and sign.
    static std::string keyOf(const SqlBatch::Statement &statement);
    // Whether the key is the statement's, without making the statement's.
    static bool isKeyOf(std::string_view key, const SqlBatch::Statement &statement);
    // The plan kept by the key; nothing when there is none. It stays until a plan is kept or
    // the plans go (see generation()).
    const Plan *find(const std::string &key) const;
    // Changes whenever plans go, which makes those found before invalid.
    std::uint64_t generation() const { return m_generation; }
    struct Form;
    // The plan's first translation that admits the type of each value's literal (until a
    // translation is kept for its key); nothing when none admits them.
    static const Form *formOf(const Plan &plan, const SqlBatch::Statement &statement);
    // Binds the form's parameters: the statement's values as their literals read, and the
    // literals of the form's own text. A text is bound where the statement holds it, which must
    // stay until the statement has run.
    static void bindValues(const Form &form, const SqlBatch::Statement &statement,
                           sqlite::Statement &prepared);
    // Keeps the translation of the statement whose text, with its values at valueOffsets, made
    // the tokens [begin, end); nothing when a value is not bound as a parameter there.
    void keep(std::string key, const SqlBatch::Statement &statement,
              const std::vector<size_t> &valueOffsets, const std::vector<Token> &tokens,
              size_t begin, size_t end, const Translation &translation);

    // Where a parameter's value comes from: a value of the statement, or a literal of its
    // fixed text.
    struct Source
    {
        int value = -1;
        Variant constant;
        LiteralShape shape;
        // The type last admitted, which the next value most often has again.
        mutable std::optional<ColumnType> admitted;
    };
    struct Form
    {
        Query query;
        std::vector<Source> sources; // by parameter
        std::uint64_t id = 0;        // no other form kept before or after has it
        // Each parameter's value of the statement, -1 for a literal of the text, and each
        // value's parameter (or a mark that it has several): binding and a change of a value's
        // type read no more.
        std::vector<int> values;
        std::vector<int> params;
    };
    // The type of a value's literal as last read, and what it was read from: the lines of a save
    // repeat most values at their places, which are then not read again.
    struct Slot
    {
        SqlBatch::Value::Kind kind = SqlBatch::Value::Kind::Text;
        std::uint64_t bits = 0; // a number's or a whole number's; a text is measured each time
        ColumnType type;
    };
    struct Plan
    {
        std::vector<Form> forms; // oldest first
        mutable std::vector<Slot> lastRead;
        // The form last found, which values of the same types take again.
        mutable const Form *lastForm = nullptr;
    };

private:
    void clear();

    size_t m_capacity;
    std::uint64_t m_generation = 0;
    std::uint64_t m_formsKept = 0;
    std::uint64_t m_schemaGeneration = 0;
    int m_dateFirst = 0;
    std::unordered_map<std::string, Plan> m_plans;
};

} // namespace host::tsql
