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

// The demo company comes with one count of the stock manager's, of the current stock of every
// stock a backup accepts, so the process list has a count to open; a company for tests that
// make their own counts is asked for.
TEST_F(InitDb, CreatesTheDemoCompanyInANewFolder)
{
    EXPECT_EQ(runInitDb(m_options), 0);
    EXPECT_GT(count("ICInventory"), 0);
    EXPECT_GT(count("t_SystemProfile"), 0);
    EXPECT_FALSE(std::filesystem::exists(m_options.database.string() + ".building"));
    EXPECT_EQ(count("ICStockCheckProcess where FOperatorID=16 and FBackupType=1"), 1);
    // Each book-stock position of the stocks counted has its line, holding the book quantity.
    EXPECT_GT(count("ICInvBackup"), 0);
    EXPECT_EQ(count("ICInvBackup"), count("ICInventory where FStockID in (select FStockID from "
                                          "ICInvBackup)"));
    EXPECT_EQ(count("ICInvBackup b where b.FQty<>(select sum(v.FQty) from ICInventory v where "
                    "v.FStockID=b.FStockID and v.FItemID=b.FItemID and v.FStockPlaceID="
                    "b.FStockPlaceID and v.FBatchNo=b.FBatchNo and v.FAuxPropID=b.FAuxPropID and "
                    "v.FMtoNo=b.FMtoNo and v.FKFPeriod=b.FKFPeriod and isnull(v.FKFDate,'')="
                    "isnull(b.FKFDate,''))"),
              0);
    // A count is refused for a stock with unaudited bills; the demo company keeps two without.
    EXPECT_EQ(count("(select distinct FStockID from ICInvBackup) s"), 2);

    m_options.force = true;
    m_options.noCount = true;
    ASSERT_EQ(runInitDb(m_options), 0);
    EXPECT_EQ(count("ICStockCheckProcess"), 0);
    EXPECT_EQ(count("ICInvBackup"), 0);
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
    // The benchmarks make their own counts of it.
    EXPECT_EQ(count("ICStockCheckProcess"), 0);
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
