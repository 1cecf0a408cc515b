#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class DatabaseFile : public ::testing::Test
{
protected:
    fs::path m_dir = fs::path(std::getenv("XDG_DATA_HOME")) / "databasefile";
    void SetUp() override { fs::create_directories(m_dir); }

    // The journal mode written in the file's header: 1 rollback journal, 2 WAL.
    static std::string journalOf(const fs::path &file)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr);
        std::string mode;
        if (sqlite3_step(statement) == SQLITE_ROW)
            mode = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return mode;
    }

    static void makeForeignFile(const fs::path &file)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(file.c_str(), &db);
        sqlite3_exec(db, "create table notes (body text); insert into notes values ('x')", nullptr,
                     nullptr, nullptr);
        sqlite3_close(db);
    }
};

} // namespace

TEST_F(DatabaseFile, OnlyADatabaseMadeHereIsSwitchedToWal)
{
    const fs::path own = m_dir / "own.db";
    {
        host::AppConnection db;
        db.openDatabase(own.string());
        db.Execute("create table t (a int)");
    }
    EXPECT_EQ(journalOf(own), "wal");

    const fs::path foreign = m_dir / "foreign.db";
    makeForeignFile(foreign);
    {
        host::AppConnection db;
        db.openDatabase(foreign.string());
        EXPECT_EQ(db.Execute("select count(*) from notes")->Fields(0L).Value(), host::Variant(1));
    }
    EXPECT_EQ(journalOf(foreign), "delete");
}

TEST_F(DatabaseFile, AReadOnlyFileIsReadAndNothingIsWrittenBesideIt)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write any file";
    const fs::path file = m_dir / "readonly.db";
    makeForeignFile(file);
    fs::permissions(file, fs::perms::owner_read);
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    host::AppConnection db;
    db.openDatabase(file.string());
    EXPECT_EQ(db.Execute("select count(*) from notes")->Fields(0L).Value(), host::Variant(1));
    EXPECT_ANY_THROW(db.Execute("insert into notes values ('y')"));
    fs::permissions(m_dir, fs::perms::owner_all);
}
