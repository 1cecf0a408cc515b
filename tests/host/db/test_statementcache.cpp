// The cache of prepared statements: the least recently used goes first, however it was found.
#include "host/db/sqlite/sqlitedb.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Whether the connection still holds a prepared statement of that text.
bool held(sqlite3 *db, const std::string &sql)
{
    for (sqlite3_stmt *s = sqlite3_next_stmt(db, nullptr); s; s = sqlite3_next_stmt(db, s))
        if (sql == sqlite3_sql(s))
            return true;
    return false;
}

TEST(StatementCache, AStatementFoundByItsNumberCountsAsUsed)
{
    host::sqlite::Database db(":memory:");
    {
        host::sqlite::StatementCache cache(db.handle(), 2);
        sqlite3_stmt *byNumber = cache.prepare(7, "SELECT 1");
        cache.prepare("SELECT 2");
        EXPECT_EQ(cache.prepare(7, "SELECT 1"), byNumber);
        cache.prepare("SELECT 3");
        EXPECT_TRUE(held(db.handle(), "SELECT 1"));
        EXPECT_FALSE(held(db.handle(), "SELECT 2"));
        EXPECT_EQ(cache.prepare(7, "SELECT 1"), byNumber);
        cache.prepare("SELECT 4");
        cache.prepare("SELECT 5");
        // Evicted: its number must not find the statement freed with it.
        host::sqlite::Statement again(db.handle(), cache.prepare(7, "SELECT 1"));
        ASSERT_TRUE(again.step());
        EXPECT_EQ(sqlite3_column_int(again.handle(), 0), 1);
    }
    EXPECT_FALSE(held(db.handle(), "SELECT 1"));
}

} // namespace
