#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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

    // What another program's connection printed after it wrote the statements and ended.
    static std::string otherProgramWrites(const fs::path &file, const std::string &sql)
    {
        const std::string command =
            std::string(OTHER_CONNECTION) + " '" + file.string() + "' '" + sql + "'";
        FILE *output = ::popen(command.c_str(), "r");
        std::string printed;
        char buffer[256];
        while (output && std::fgets(buffer, sizeof buffer, output))
            printed += buffer;
        if (output)
            ::pclose(output);
        return printed;
    }

    static long failureOf(host::AppConnection &db, const std::string &sql)
    {
        try {
            db.Execute(sql);
        } catch (const host::HostError &error) {
            return error.Number();
        }
        return 0;
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

// Once the process lost its locks (a file dialog that opened and closed the database's files did
// that), another program that ends deletes the write-ahead log the connection still writes to:
// what the connection writes then is lost, is said to be, and never overwrites on closing what
// the other program saved.
TEST_F(DatabaseFile, WritesIntoALogDeletedMeanwhileAreReportedLostAndOverwriteNothing)
{
    const fs::path file = m_dir / "log.db";
    auto db = std::make_unique<host::AppConnection>();
    db->openDatabase(file.string());
    db->Execute("create table t (a int)");
    db->Execute("insert into t values (1)");
    for (const char *suffix : {"-shm", ""})
        ::close(::open((file.string() + suffix).c_str(), O_RDONLY));
    ASSERT_EQ(otherProgramWrites(file, "update t set a = 2"), "written\n");
    ASSERT_FALSE(fs::exists(file.string() + "-wal"));

    EXPECT_EQ(failureOf(*db, "update t set a = 3"), host::HostError::DatabaseMoved);
    EXPECT_EQ(failureOf(*db, "insert into t values (4)"), host::HostError::DatabaseMoved);
    db.reset();
    host::AppConnection after;
    after.openDatabase(file.string());
    const auto rows = after.Execute("select a from t");
    EXPECT_EQ(rows->RecordCount(), 1);
    EXPECT_EQ(rows->Fields(0L).Value(), host::Variant(2));
}
