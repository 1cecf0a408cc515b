#include "command_sql.h"

#include "host/db/appconnection.h"
#include "support/odbcsource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

class SqlCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir =
            std::filesystem::temp_directory_path() /
            ("stockcheck-sql-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        options.database = dir / "host.db";
        host::AppConnection db;
        db.openDatabase(options.database.string());
        db.Execute("CREATE TABLE t_Stock (FItemID int, FName varchar(20), FDate datetime)\r\n"
                   "INSERT INTO t_Stock VALUES (1, 'Main', '2026-12-07'), (2, NULL, NULL)");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    int run(const std::string &sql)
    {
        std::istringstream in(sql);
        return runSqlCommand(options, in, out, err);
    }

    std::filesystem::path dir;
    Options options;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SqlCommand, PrintsTheRowsOfTheBatch)
{
    EXPECT_EQ(run("select FItemID, FName, FDate from t_stock order by 1"), 0);
    EXPECT_EQ(out.str(), "FItemID\tFName\tFDate\n1\tMain\t2026-12-07\n2\tNULL\tNULL\n(2 rows)\n");
    out.str("");
    EXPECT_EQ(run("select FItemID from t_stock where FItemID = 1\r\n"
                  "update t_stock set FName = 'x'\r\n"
                  "select count(*) as n, max(FName) as m from t_stock"),
              0);
    EXPECT_EQ(out.str(), "FItemID\n1\n(1 row)\n\nn\tm\n2\tx\n(1 row)\n");
    out.str("");
    EXPECT_EQ(run("update t_stock set FName = 'x'"), 0);
    EXPECT_EQ(out.str(), "(no rows returned)\n");
}

TEST_F(SqlCommand, ReportsErrors)
{
    EXPECT_EQ(run("select nope from t_stock"), 1);
    EXPECT_NE(err.str().find("nope"), std::string::npos);
    // The rows before the failing statement are shown, then the failure; the batch stops there.
    err.str("");
    EXPECT_EQ(run("select 1 as a; select 1/0 as b; select 3 as c"), 1);
    EXPECT_EQ(out.str(), "a\n1\n(1 row)\n");
    EXPECT_TRUE(err.str().starts_with("stockcheck: Divide by zero error encountered."))
        << err.str();
    // A batch's own error goes on, as on a server: every statement's rows, then the error.
    out.str("");
    err.str("");
    EXPECT_EQ(run("select 1 as a\r\nRAISERROR('stopped', 16, 1)\r\nselect 3 as c"), 1);
    EXPECT_EQ(out.str(), "a\n1\n(1 row)\n\nc\n3\n(1 row)\n");
    EXPECT_EQ(err.str(), "stockcheck: stopped\n");
    // A connection string no driver takes: first what failed, then the driver manager's words.
    err.str("");
    options.odbc = "Driver={No Such Driver};Server=nowhere;";
    EXPECT_EQ(run("select 1"), 1);
    EXPECT_TRUE(err.str().starts_with(
        "stockcheck: The connection to the database could not be opened.\n[unixODBC]"))
        << err.str();
}

TEST_F(SqlCommand, RunsOnAServerNamedByItsOdbcConnection)
{
    const OdbcSource source;
    options.odbc = OdbcSource::connectionString();
    options.database = dir / "missing.db";
    // Each run connects anew.
    OdbcSource::connecting([&] {
        EXPECT_EQ(run("create table t_Unit (FItemID int, FName varchar(20))"), 0);
        EXPECT_EQ(run("insert into t_Unit values (1, '箱')"), 0);
        out.str("");
        EXPECT_EQ(run("select FItemID, FName from t_Unit"), 0);
    });
    EXPECT_EQ(out.str(), "FItemID\tFName\n1\t箱\n(1 row)\n");
    EXPECT_TRUE(std::filesystem::exists(source.database()));
    EXPECT_FALSE(std::filesystem::exists(options.database));
}

} // namespace
