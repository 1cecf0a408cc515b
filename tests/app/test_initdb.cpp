#include "command_initdb.h"

#include "host/core/variant.h"
#include "host/db/appconnection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

class InitDb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("stockcheck-initdb-" + std::to_string(::getpid()) + "-" + test->name());
        std::filesystem::remove_all(m_dir);
        m_options.database = m_dir / "data" / "host.db";
        m_options.command = "init-db";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    long count(const std::string &table)
    {
        host::AppConnection connection;
        connection.openDatabase(m_options.database.string());
        const auto recordset = connection.Execute("select count(*) from " + table);
        return host::CLng(recordset->Fields(0L).Value());
    }

    std::filesystem::path m_dir;
    Options m_options;
};

TEST_F(InitDb, CreatesTheDemoCompanyInANewFolder)
{
    EXPECT_EQ(runInitDb(m_options), 0);
    EXPECT_GT(count("ICInventory"), 0);
    EXPECT_GT(count("t_SystemProfile"), 0);
    EXPECT_FALSE(std::filesystem::exists(m_options.database.string() + ".building"));
}

TEST_F(InitDb, RefusesToOverwriteADatabaseUnlessForced)
{
    ASSERT_EQ(runInitDb(m_options), 0);
    {
        host::AppConnection connection;
        connection.openDatabase(m_options.database.string());
        connection.Execute("delete from ICInventory");
    }
    EXPECT_EQ(runInitDb(m_options), 1);
    EXPECT_EQ(count("ICInventory"), 0);

    m_options.force = true;
    EXPECT_EQ(runInitDb(m_options), 0);
    EXPECT_GT(count("ICInventory"), 0);
}

TEST_F(InitDb, TakesAnEmptyFileAsNoDatabase)
{
    std::filesystem::create_directories(m_options.database.parent_path());
    std::ofstream(m_options.database).close();
    EXPECT_EQ(runInitDb(m_options), 0);
    EXPECT_GT(count("t_ICItem"), 0);
}

TEST_F(InitDb, ScalesToTheRowsAskedFor)
{
    m_options.rows = 800;
    ASSERT_EQ(runInitDb(m_options), 0);
    EXPECT_GE(count("ICInventory"), 800);
    EXPECT_LT(count("ICInventory"), 820);
}

// Only the default database is made on first use: a named one that is not there is refused,
// and neither it nor its folder is made.
TEST_F(InitDb, FirstRunMakesNoNamedDatabase)
{
    m_options.command = "sql";
    m_options.databaseGiven = true;
    EXPECT_FALSE(ensureDatabase(m_options));
    EXPECT_FALSE(std::filesystem::exists(m_options.database.parent_path()));
}

TEST_F(InitDb, FirstRunCreatesTheDatabaseOnce)
{
    m_options.command = "sql";
    ASSERT_TRUE(ensureDatabase(m_options));
    {
        host::AppConnection connection;
        connection.openDatabase(m_options.database.string());
        connection.Execute("delete from t_user");
    }
    ASSERT_TRUE(ensureDatabase(m_options));
    EXPECT_EQ(count("t_user"), 0);
}

TEST_F(InitDb, FirstRunFillsAnEmptyFile)
{
    std::filesystem::create_directories(m_options.database.parent_path());
    std::ofstream(m_options.database).close();
    ASSERT_TRUE(ensureDatabase(m_options));
    EXPECT_GT(count("t_user"), 0);
}

} // namespace
