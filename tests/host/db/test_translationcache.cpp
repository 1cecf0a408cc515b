// Statements that differ only in their literals: a kept translation serves the second of each
// pair exactly as a fresh one would, and a literal whose value changes the translation keeps
// the kept one from serving.
#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/db/tsql/translationcache.h"
#include "host/db/tsql/tsqltranslator.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

namespace tsql = host::tsql;

constexpr const char *kSetUp = R"(
CREATE TABLE Item (FItemID int IDENTITY(1,1) NOT NULL, FNumber varchar(20) NOT NULL,
  FName nvarchar(max) NULL, FPrice money NULL, FQty decimal(18,2) NOT NULL DEFAULT ((0)),
  FAdded datetime NULL, FCode char(4) NULL)
INSERT INTO Item (FNumber, FName, FPrice, FQty, FAdded, FCode)
  VALUES ('A1', N'Bolt', 1.25, 2.5, '2024-03-01', 'ab'), ('b2', 'it''s', -3, 4, NULL, NULL),
  ('C3', N'Nüt', NULL, -1.75, '1999-12-31 23:59:59', 'abcd')
)";

struct Case
{
    const char *first;
    const char *second;
    bool kept; // the first's translation serves the second
};

const Case kCases[] = {
    {"SELECT FItemID FROM Item WHERE FNumber = 'A1'",
     "SELECT FItemID FROM Item WHERE FNumber = 'it''s'", true},
    {"SELECT FItemID FROM Item WHERE FName = N'Bolt'",
     "SELECT FItemID FROM Item WHERE FName = N'Nüt'", true},
    {"SELECT COUNT(*) FROM Item WHERE FAdded > '2000-01-01'",
     "SELECT COUNT(*) FROM Item WHERE FAdded > '1900-01-01 10:00:00'", true},
    {"SELECT COUNT(*) FROM Item WHERE FItemID IN (1, '2')",
     "SELECT COUNT(*) FROM Item WHERE FItemID IN (3, '1')", true},
    {"SELECT COUNT(*) FROM Item WHERE FName LIKE 'B%'",
     "SELECT COUNT(*) FROM Item WHERE FName LIKE 'N%'", true},
    {"SELECT FNumber FROM Item WHERE FItemID BETWEEN 1 AND 2",
     "SELECT FNumber FROM Item WHERE FItemID BETWEEN 2 AND 3000000000", false},
    {"INSERT INTO Item (FNumber, FName, FPrice, FQty) VALUES ('X1', N'a', 1.5, 2)",
     "INSERT INTO Item (FNumber, FName, FPrice, FQty) VALUES ('X2', 'b''c', 3.25, 4.5)", true},
    {"INSERT INTO Item (FNumber, FPrice, FQty) VALUES ('X3', -1.5, -2)",
     "INSERT INTO Item (FNumber, FPrice, FQty) VALUES ('X4', -3.5, -4)", true},
    {"INSERT INTO Item (FNumber, FPrice, FQty) VALUES ('X5', -1.5, -2)",
     "INSERT INTO Item (FNumber, FPrice, FQty) VALUES ('X6', -3.25, -4)", true},
    // A negative decimal of more digits than a double holds is rounded to its scale in the SQL.
    {"INSERT INTO Item (FNumber, FPrice, FQty) VALUES ('X5', -1.5, -2.5)",
     "INSERT INTO Item (FNumber, FPrice, FQty) VALUES ('X6', -3.25, -12345678901234.56)", false},
    {"INSERT INTO Item (FNumber, FPrice, FQty, FAdded) VALUES ('X7', 1.5, 2, '2024-02-29')",
     "INSERT INTO Item (FNumber, FPrice, FQty, FAdded) VALUES ('X8', 1.23456, 2.345, '2024-02-28')",
     false},
    {"INSERT INTO Item (FNumber, FQty, FAdded) VALUES ('X9', 1, '2024-02-29')",
     "INSERT INTO Item (FNumber, FQty, FAdded) VALUES ('X10', 1, '2024-02-30')", true},
    {"UPDATE Item SET FQty = 1.25, FCode = 'ab' WHERE FItemID = 1",
     "UPDATE Item SET FQty = 7.5, FCode = 'xy' WHERE FItemID = 2", true},
    {"UPDATE Item SET FCode = 'ab' WHERE FItemID = 1",
     "UPDATE Item SET FCode = 'abcdef' WHERE FItemID = 1", false},
    {"UPDATE Item SET FName = 'x' WHERE FNumber = 'A1'",
     "UPDATE Item SET FName = NULL WHERE FNumber = 'A1'", false},
    {"DELETE FROM Item WHERE FNumber = 'none'", "DELETE FROM Item WHERE FNumber = 'X1'", true},
    {"SELECT TOP 1 FNumber FROM Item ORDER BY FNumber",
     "SELECT TOP 2 FNumber FROM Item ORDER BY FNumber", false},
    {"SELECT FNumber, FItemID FROM Item ORDER BY 1", "SELECT FNumber, FItemID FROM Item ORDER BY 2",
     false},
    {"SELECT LEFT(FNumber, 1) AS k, COUNT(*) AS n FROM Item GROUP BY LEFT(FNumber, 1)",
     "SELECT LEFT(FNumber, 2) AS k, COUNT(*) AS n FROM Item GROUP BY LEFT(FNumber, 2)", false},
    {"SELECT CAST(FQty AS decimal(10,1)) FROM Item", "SELECT CAST(FQty AS decimal(10,3)) FROM Item",
     false},
    {"SELECT FQty * 1.5, FItemID / 2 FROM Item", "SELECT FQty * 2.5, FItemID / 4 FROM Item", true},
    {"SELECT FQty * 1.5, FItemID / 2 FROM Item", "SELECT FQty * 2.25, FItemID / 2.0 FROM Item",
     false},
    {"SELECT ISNULL(FCode, 'abc') FROM Item", "SELECT ISNULL(FCode, 'abcdef') FROM Item", false},
    {"SELECT ISNULL('ab', FCode) FROM Item", "SELECT ISNULL('abcd', FCode) FROM Item", false},
    // The ORDER BY of a UNION names a select item by its SQL: its literals stay in the SQL.
    {"SELECT LEFT(FNumber, 1) AS k FROM Item UNION SELECT LEFT(FName, 1) FROM Item "
     "ORDER BY LEFT(FNumber, 1)",
     "SELECT LEFT(FNumber, 2) AS k FROM Item UNION SELECT LEFT(FName, 2) FROM Item "
     "ORDER BY LEFT(FNumber, 2)",
     false},
};

// The translation of a whole text as one statement, its literals bound; nothing when it fails.
std::optional<tsql::Translation> translated(host::EmbeddedDatabase &db,
                                            const std::vector<tsql::Token> &tokens)
{
    tsql::Schema schema(db.handle());
    const tsql::Session session;
    try {
        return tsql::Translator(tokens, 0, tokens.size() - 1, schema, session).translateStatement();
    } catch (const host::HostError &) {
        return std::nullopt;
    }
}

std::string shown(const host::Variant &v)
{
    return std::to_string(static_cast<int>(v.type())) + ":" + (v.isNull() ? "" : host::CStr(v));
}

std::vector<std::string> shown(const std::vector<host::Variant> &values)
{
    std::vector<std::string> out;
    for (const auto &v : values)
        out.push_back(shown(v));
    return out;
}

// What a statement yields and leaves in Item, each value with its type, or its error.
std::vector<std::string> outcome(host::AppConnection &db, const std::string &sql)
{
    std::vector<std::string> out;
    const auto dump = [&out](host::Recordset &rs) {
        for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext()) {
            for (long i = 0; i < rs.FieldCount(); ++i)
                out.push_back(shown(rs.Fields(i).Value()));
        }
        out.emplace_back("|");
    };
    try {
        const auto rows = db.Execute(sql);
        if (rows && rows->State() == host::Recordset::adStateOpen)
            dump(*rows);
    } catch (const host::HostError &e) {
        out.push_back(e.Description());
    }
    dump(*db.Execute("SELECT * FROM Item ORDER BY FItemID"));
    return out;
}

TEST(TranslationCache, ServesStatementsThatDifferInLiteralsAsFreshTranslationsDo)
{
    host::AppConnection kept;
    host::AppConnection fresh;
    for (auto *db : {&kept, &fresh}) {
        db->openDatabase(":memory:");
        db->Execute(kSetUp);
    }
    fresh.embedded()->setLiterals(tsql::Literals::Inline);
    for (const auto &c : kCases) {
        SCOPED_TRACE(c.second);
        const auto firstTokens = tsql::tokenize(c.first);
        const auto secondTokens = tsql::tokenize(c.second);
        const auto key = [&](const std::vector<tsql::Token> &tokens, const char *sql) {
            return tsql::TranslationCache::keyOf(sql, tokens, 0, tokens.size() - 1);
        };
        tsql::TranslationCache cache(4);
        if (const auto first = translated(*kept.embedded(), firstTokens))
            cache.keep(*key(firstTokens, c.first), firstTokens, 0, firstTokens.size() - 1, *first);
        const auto served = cache.find(*key(secondTokens, c.second), secondTokens, 0);
        EXPECT_EQ(served.has_value(), c.kept);
        if (served) {
            const auto second = translated(*kept.embedded(), secondTokens);
            ASSERT_TRUE(second);
            EXPECT_EQ(served->steps.front().sql, second->steps.front().sql);
            EXPECT_EQ(shown(served->steps.front().params), shown(second->steps.front().params));
        }
        for (const char *sql : {c.first, c.second})
            EXPECT_EQ(outcome(kept, sql), outcome(fresh, sql)) << sql;
    }
}

} // namespace
