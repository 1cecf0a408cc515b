// Batches: how text is split into statements and how control flow, variables, transactions and
// errors behave.
#include "hostschema.h"

#include "host/core/hosterror.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/bulkinsert.h"
#include "host/db/servertransaction.h"
#include "host/db/tsql/tsqlbatch.h"
#include "host/db/tsql/tsqllexer.h"

#include <gtest/gtest.h>

#include <functional>

using host::HostError;
using host::Variant;
using testdb::scalar;

namespace {

namespace tsql = host::tsql;

TEST(Lexer, TokensOfStringsNamesAndComments)
{
    const auto tokens = tsql::tokenize("SELECT N'it''s', [my col], @v, #t, 1.5e3 -- note\r\n"
                                       "/* block */ a<>b");
    ASSERT_GE(tokens.size(), 13u);
    EXPECT_EQ(tokens[1].kind, tsql::TokenKind::String);
    EXPECT_EQ(tokens[1].text, "it's");
    EXPECT_EQ(tokens[3].kind, tsql::TokenKind::QuotedId);
    EXPECT_EQ(tokens[3].text, "my col");
    EXPECT_EQ(tokens[5].kind, tsql::TokenKind::Variable);
    EXPECT_EQ(tokens[7].text, "#t");
    EXPECT_EQ(tokens[9].kind, tsql::TokenKind::Number);
    EXPECT_EQ(tokens[9].text, "1.5e3");
    EXPECT_TRUE(tokens[11].isSymbol("<>"));
    EXPECT_EQ(tokens.back().kind, tsql::TokenKind::End);
    EXPECT_THROW(tsql::tokenize("select 'open"), HostError);
    EXPECT_THROW(tsql::tokenize("select [open"), HostError);
    EXPECT_THROW(tsql::tokenize("/* open"), HostError);
}

TEST(Splitter, StatementsNeedNoSeparator)
{
    struct Case
    {
        const char *batch;
        size_t statements;
    };
    const Case cases[] = {
        {"select 1 select 2", 2},
        {"insert into t (a) select 1 union all select 2 select 3", 2},
        {"insert t values (1) select 1", 2},
        {"update t set a = 1 set nocount on", 2},
        {"select case when 1=1 then 1 else 0 end from t delete t", 2},
        {"create view v as select 1 as a select 2", 2},
        {"if exists (select 1) select 1 else select 2 select 3", 2},
        {"begin tran; update t set a = 1; commit tran", 3},
        {"begin select 1 select 2 end", 1},
        {"", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(tsql::parseBatch(tsql::tokenize(c.batch)).size(), c.statements) << c.batch;
    for (const char *bad : {"select (1", "begin select 1", "end", "else select 1", "if select 1)"})
        EXPECT_THROW(tsql::parseBatch(tsql::tokenize(bad)), HostError) << bad;
}

class Batches : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        db.Execute("create table t (id int not null, name varchar(10), d datetime)\r\n"
                   "insert into t values (1,'a','2026-01-01'),(2,'b','2026-02-01')");
    }
    host::AppConnection db;
};

TEST_F(Batches, VariablesIfElseAndBlocks)
{
    auto rs = db.Execute(R"(
set nocount on
declare @n int, @name varchar(10)
declare @d datetime
select @n = count(*) from t
set @name = 'x' + 'y'
select @d = max(d) from t where id > 99
if @n > 1
begin
  if not exists (select * from t where name = 'c')
    insert into t (id, name) values (@n + 1, @name)
  else
    delete t
end
else
  delete t
select id, name, @d as d from t where id = @n + 1
)");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("id").Value(), Variant(3));
    EXPECT_EQ(rs->Fields("name").Value(), Variant("xy"));
    EXPECT_TRUE(rs->Fields("d").Value().isNull()); // no row leaves the variable as it was
    // Variables belong to one batch.
    EXPECT_THROW(db.Execute("select @n"), HostError);
    EXPECT_EQ(scalar(db, "declare @n int\r\nset @n = 4\r\nselect @n * 2"), Variant(8));
}

TEST_F(Batches, LastRowsetIsTheResultAndRowCountFollows)
{
    auto rs = db.Execute("select * from t\r\nupdate t set name = 'z' where id = 1\r\n"
                         "declare @c int\r\nset @c = @@ROWCOUNT\r\n"
                         "select @c as changed\r\nselect @c = 5\r\nselect * into #k from t");
    ASSERT_EQ(rs->FieldCount(), 1);
    EXPECT_EQ(rs->Fields("changed").Value(), Variant(1));
    EXPECT_EQ(db.Execute("update t set name = 'q'")->State(), 0);
    EXPECT_EQ(db.Execute("select 1 as a\r\nif 1 = 1 select 2 as b")->Fields(0).Name(), "b");
    EXPECT_EQ(scalar(db, "select 1 return select 2"), Variant(1));
}

TEST_F(Batches, TransactionsCommitRollBackAndRaise)
{
    db.Execute("begin tran\r\ninsert into t (id) values (5)\r\nrollback tran");
    EXPECT_EQ(scalar(db, "select count(*) from t"), Variant(2));
    db.Execute("BEGIN TRANSACTION\r\ninsert into t (id) values (5)\r\nCOMMIT TRANSACTION");
    EXPECT_EQ(scalar(db, "select count(*) from t"), Variant(3));
    // A failing statement stops the batch and rolls back the open transaction.
    EXPECT_THROW(db.Execute("begin tran\r\ninsert into t (id) values (6)\r\n"
                            "insert into t (id) values (NULL)\r\ncommit tran"),
                 HostError);
    EXPECT_EQ(scalar(db, "select count(*) from t"), Variant(3));
    // Without a transaction the statements before the failure stay done.
    EXPECT_THROW(db.Execute("insert into t (id) values (7)\r\nselect nosuchcolumn from t"),
                 HostError);
    EXPECT_EQ(scalar(db, "select count(*) from t"), Variant(4));
    EXPECT_THROW(db.Execute("commit tran"), HostError);
    // RAISERROR does not stop the batch; its message is the error's description.
    try {
        db.ExecuteRaiseErr("raiserror('Row %s refused (%d)', 16, 1, 'x', 3)\r\n"
                           "insert into t (id) values (8)");
        FAIL();
    } catch (const HostError &e) {
        EXPECT_EQ(e.Description(), "Row x refused (3)");
    }
    EXPECT_EQ(scalar(db, "select count(*) from t where id = 8"), Variant(1));
    EXPECT_NO_THROW(db.Execute("raiserror('just a note', 10, 1)"));
}

// A batch of several writes runs in one transaction of its own; a failure keeps what came
// before it, as commits statement by statement would, and leaves no transaction open.
TEST_F(Batches, WritesBeforeAFailureStayDone)
{
    struct Case
    {
        const char *name;
        std::string batch;
        bool fails;
        long rowsAfter;
    };
    const Case cases[] = {
        {"all done", "insert into t (id) values (10)\r\ninsert into t (id) values (11)", false, 4},
        {"constraint",
         "insert into t (id) values (10)\r\ninsert into t (id) values (NULL)\r\n"
         "insert into t (id) values (11)",
         true, 3},
        {"translation",
         "insert into t (id) values (10)\r\nupdate t set id = id\r\n"
         "select nosuchcolumn from t\r\ninsert into t (id) values (11)",
         true, 3},
        {"inside a block",
         "if 1 = 1\r\nbegin\r\ninsert into t (id) values (10)\r\n"
         "insert into t (id) values (11)\r\nend\r\nselect 1 from t where x = 1",
         true, 4},
        {"select into",
         "select * into #c from t\r\ninsert into #c (id) values (3)\r\n"
         "insert into t select * from #c where id = 3",
         false, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        db.Execute("delete t where id > 2\r\nif object_id('tempdb..#c') is not null drop table #c");
        if (c.fails)
            EXPECT_THROW(db.Execute(c.batch), HostError);
        else
            EXPECT_NO_THROW(db.Execute(c.batch));
        EXPECT_EQ(scalar(db, "select count(*) from t"), Variant(c.rowsAfter));
        EXPECT_THROW(db.Execute("commit tran"), HostError); // nothing left open
        db.Execute("begin tran\r\ninsert into t (id) values (99)\r\nrollback tran");
        EXPECT_EQ(scalar(db, "select count(*) from t"), Variant(c.rowsAfter));
    }
}

// Every way a write is committed on the embedded database, made to fail at the commit itself (a
// deferred foreign key is checked only there): the error reaches the caller and no transaction
// stays open, so the next write stands on its own.
TEST_F(Batches, ACommitThatFailsLeavesNothingOpen)
{
    struct Case
    {
        const char *name;
        std::function<void(host::AppConnection &)> write;
    };
    const Case cases[] = {
        {"BEGIN TRAN and COMMIT in one batch",
         [](host::AppConnection &c) {
             c.Execute("begin tran\r\ninsert into c (pid) values (5)\r\ncommit tran");
         }},
        {"a transaction across batches",
         [](host::AppConnection &c) {
             host::ServerTransaction transaction(c);
             c.Execute("insert into c (pid) values (5)");
             transaction.commit();
         }},
        {"a batch of several writes",
         [](host::AppConnection &c) {
             c.Execute("insert into c (pid) values (5)\r\ninsert into c (pid) values (6)");
         }},
        {"a bulk load",
         [](host::AppConnection &c) {
             host::BulkInsert bulk(c, "c", {"pid"});
             bulk.add({5});
             bulk.commit();
         }},
    };
    sqlite3 *handle = db.embedded()->handle();
    ASSERT_EQ(sqlite3_exec(handle,
                           "PRAGMA foreign_keys=ON;CREATE TABLE p (id int PRIMARY KEY);"
                           "CREATE TABLE c (pid int REFERENCES p (id) DEFERRABLE INITIALLY "
                           "DEFERRED)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.write(db), HostError);
        EXPECT_NE(sqlite3_get_autocommit(handle), 0);
        EXPECT_THROW(db.Execute("commit tran"), HostError);
        EXPECT_EQ(scalar(db, "select count(*) from c"), Variant(0));
        db.Execute("insert into t (id) values (3)\r\ndelete t where id = 3");
        EXPECT_EQ(scalar(db, "select count(*) from t"), Variant(2));
    }
}

// Inserted values are bound rather than written into the statement; each must be stored as the
// same value written as a select would store it.
TEST_F(Batches, InsertedLiteralsAreStoredAsTheirSelectIs)
{
    db.Execute("create table v (i int null, b bigint null, d decimal(28,10) null, f float null, "
               "s varchar(5) null, n nvarchar(20) null, dt datetime null, bt bit null)");
    const char *rows[] = {
        "1, 9000000000, 1.5, 2, 'abc', N'中文', '2026-03-04', 1",
        "'7', '12', '0.12345678901', 1e3, 12, 'x''y', '2026-03-04 05:06:07.123', '0'",
        "2.7, -5, 123456789012345678, 12345678901234567890, '', '', 45000, 0",
        "null, 0, .5, -0.25, 'abcde', '  padded  ', null, null",
    };
    for (const char *row : rows) {
        SCOPED_TRACE(row);
        db.Execute("delete v\r\ninsert into v values (" + std::string(row) +
                   ")\r\ninsert into v select " + row);
        for (const char *column : {"i", "b", "d", "f", "s", "n", "dt", "bt"}) {
            auto rs = db.Execute(std::string("select ") + column + " from v");
            const Variant first = rs->Fields(0L).Value();
            rs->MoveNext();
            EXPECT_EQ(first, rs->Fields(0L).Value()) << column;
        }
    }
}

// Prepared statements are kept between batches: one must still read a table made anew with
// other columns, and GETDATE() is one value over the rows of a statement.
TEST_F(Batches, KeptStatementsFollowTheSchemaAndTheClockIsReadOncePerStatement)
{
    db.Execute("create table #k (a int)\r\ninsert into #k values (1)");
    EXPECT_EQ(db.Execute("select * from #k")->FieldCount(), 1);
    db.Execute("drop table #k\r\ncreate table #k (a int, b varchar(3))\r\n"
               "insert into #k values (2, 'x')");
    auto rs = db.Execute("select * from #k");
    EXPECT_EQ(rs->FieldCount(), 2);
    EXPECT_EQ(rs->Fields("b").Value(), Variant("x"));

    db.Execute("create table big (id int, d datetime)\r\n"
               "insert into big (id) values (1),(2),(3),(4),(5),(6),(7),(8)");
    for (int i = 0; i < 12; ++i)
        db.Execute("insert into big (id) select id + (select max(id) from big) from big");
    db.Execute("update big set d = getdate()");
    EXPECT_EQ(scalar(db, "select count(*) from big"), Variant(32768));
    EXPECT_EQ(scalar(db, "select count(distinct d) from big"), Variant(1));
}

// What SQLite would say in its own words, or not at all, the layer says in SQL Server's words
// or its own.
TEST_F(Batches, RefusalsSayWhatWentWrong)
{
    const std::string nul("a\0b", 3);
    struct Refusal
    {
        std::string batch;
        std::string says;
    };
    const Refusal refusals[] = {
        {"select nosuch from t", "Invalid column name 'nosuch'."},
        {"select x.nosuch from t x", "The multi-part identifier \"x.nosuch\" could not be bound."},
        {"select id from t a join t b on a.id = b.id", "Ambiguous column name 'id'."},
        // SQLite reads SQL text up to a NUL: the text that holds one is refused, bound as a
        // parameter or written into the SQL.
        {"update t set name = '" + nul + "' where id = 1", "NUL (code 0) after 'update t set"},
        {"if exists (select 1 from t where name = '" + nul + "') select 1", "NUL"},
        {"declare @v varchar(10) set @v = N'" + nul + "'", "NUL"},
        // What SQL Server has and the layer has not is refused as such, not as a fault of the
        // SQL.
        {"select patindex('%a%', name) from t", "not a built-in function the embedded database "
                                                "supports"},
        {"select datepart(ns, d) from t", "not a datepart option the embedded database supports"},
        {"select convert(varbinary(4), name) from t", "not a system type the embedded database "
                                                      "supports"},
        {"declare @v xml", "among the types the embedded database supports"},
    };
    for (const auto &r : refusals) {
        try {
            db.Execute(r.batch);
            ADD_FAILURE() << r.batch << " ran";
        } catch (const HostError &e) {
            EXPECT_NE(e.Description().find(r.says), std::string::npos) << e.Description();
        }
    }
    EXPECT_EQ(scalar(db, "select name from t where id = 1"), Variant("a"));
}

TEST_F(Batches, SyntaxErrorsNameTheStatement)
{
    // An error in the batch's structure is found before anything runs.
    EXPECT_THROW(db.Execute("insert into t (id) values (9)\r\nbegin select 1"), HostError);
    EXPECT_EQ(scalar(db, "select count(*) from t where id = 9"), Variant(0));
    // An error inside a statement stops the batch at that statement.
    try {
        db.Execute("insert into t (id) values (9)\r\nselect from t");
        FAIL();
    } catch (const HostError &e) {
        EXPECT_NE(e.Description().find("select from t"), std::string::npos) << e.Description();
    }
    EXPECT_EQ(scalar(db, "select count(*) from t where id = 9"), Variant(1));
    EXPECT_THROW(db.Execute("WHILE 1=1 select 1"), HostError);
    EXPECT_THROW(db.Execute("SET LANGUAGE us_english"), HostError);
}

} // namespace
