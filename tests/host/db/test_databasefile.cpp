#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/recordset/recordset.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "support/childprocess.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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

    // This process as nobody, when it is the superuser's, whom no permission stops.
    static bool asNobodyWhenSuperuser()
    {
        if (::geteuid() != 0)
            return true;
        const passwd *nobody = ::getpwnam("nobody");
        const uid_t user = nobody ? nobody->pw_uid : 65534;
        const gid_t group = nobody ? nobody->pw_gid : 65534;
        return ::setgroups(0, nullptr) == 0 && ::setgid(group) == 0 && ::setuid(user) == 0;
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

// A database in a folder the user may not write: the program's own (with a write-ahead log) or
// another program's (with a rollback journal), the file itself read-only or writable. It is
// read, every write is refused as one into a read-only database, and nothing is made beside it.
// The superuser may write anything, so the reader then runs as nobody.
TEST_F(DatabaseFile, AReadOnlyFileIsReadAndNothingIsWrittenBesideIt)
{
    struct Case
    {
        const char *name;
        bool own;
        fs::perms file;
        bool writerThere = false;
    };
    const auto readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const auto writable =
        readable | fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const auto listable =
        readable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    const std::string refused = std::to_string(host::HostError::DatabaseReadOnly);
    for (const Case &c :
         {Case{"another program's", false, readable}, Case{"the program's own", true, readable},
          Case{"a writable file of the program's own", true, writable},
          Case{"a writable file its writer has open", true, writable, true}}) {
        SCOPED_TRACE(c.name);
        // Beside the test's own folders, which only the test's user may enter.
        const fs::path folder =
            fs::temp_directory_path() / ("stockcheck-readonly-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        fs::permissions(folder, listable | fs::perms::owner_write);
        const fs::path file = folder / "host.db";
        if (c.own) {
            host::AppConnection db;
            db.openDatabase(file.string());
            db.Execute("create table notes (body varchar(10))");
            db.Execute("insert into notes values ('x')");
        } else {
            makeForeignFile(file);
        }
        fs::permissions(file, c.file);
        // Another user, who may write the folder, has the file open meanwhile.
        std::unique_ptr<host::AppConnection> writer;
        if (c.writerThere) {
            writer = std::make_unique<host::AppConnection>();
            writer->openDatabase(file.string());
            writer->Execute("select count(*) from notes");
        }
        fs::permissions(folder, listable);
        ChildProcess reader([&] {
            if (!asNobodyWhenSuperuser())
                return std::string("still the superuser");
            host::AppConnection db;
            db.openDatabase(file.string());
            return host::CStr(db.Execute("select count(*) from notes")->Fields(0L).Value()) + " " +
                   std::to_string(failureOf(db, "insert into notes values ('y')")) + " " +
                   std::to_string(
                       failureOf(db, "begin tran; insert into notes values ('y'); commit tran"));
        });
        EXPECT_EQ(reader.finish(), "1 " + refused + " " + refused);
        fs::permissions(folder, fs::perms::owner_all);
        writer.reset();
        std::vector<std::string> beside;
        for (const auto &entry : fs::directory_iterator(folder))
            beside.push_back(entry.path().filename().string());
        EXPECT_EQ(beside, std::vector<std::string>{"host.db"});
        fs::remove_all(folder);
    }
}

// A user who may only read the database has it open while another user writes it, many rows or
// few, and ends or still has it open: the reader's next read finds what was written, or fails
// where it cannot, never passing over what the log beside the file holds. The reader
// runs in a process of its own, as nobody when the test is the superuser's; the folder takes no
// new file but while the writer writes.
TEST_F(DatabaseFile, AReaderFindsWhatAnotherUserWroteSinceItsLastRead)
{
    struct Case
    {
        const char *name;
        int doublings; // of the one row there was
        bool writerStaysOpen;
        // Killed, its log left beside the file without the shared memory reading it needs.
        bool writerKilled = false;
    };
    const auto readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const auto listable =
        readable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    for (const Case &c : {Case{"a few rows, the writer gone", 1, false},
                          Case{"many rows, the writer gone", 15, false},
                          Case{"a few rows, the writer still there", 1, true},
                          Case{"a few rows, the writer killed", 1, false, true}}) {
        SCOPED_TRACE(c.name);
        const fs::path folder =
            fs::temp_directory_path() / ("stockcheck-reader-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const fs::path file = folder / "host.db";
        {
            host::AppConnection db;
            db.openDatabase(file.string());
            db.Execute("create table notes (body varchar(40))");
            db.Execute("insert into notes values ('a note of some length, to fill pages')");
        }
        fs::permissions(file, readable | fs::perms::owner_write);
        fs::permissions(folder, listable);
        // Each side tells the other it is done through a pipe of its own.
        int readerDone[2];
        int writerDone[2];
        ASSERT_EQ(::pipe(readerDone), 0);
        ASSERT_EQ(::pipe(writerDone), 0);
        char signal = 0;
        ChildProcess reader([&] {
            if (!asNobodyWhenSuperuser())
                return std::string("still the superuser");
            host::AppConnection db;
            db.openDatabase(file.string());
            const auto count = [&db] {
                try {
                    return host::CStr(db.Execute("select count(*) from notes")->Fields(0L).Value());
                } catch (const host::HostError &error) {
                    return std::to_string(error.Number());
                }
            };
            std::string counts = count();
            if (::write(readerDone[1], &signal, 1) != 1 || ::read(writerDone[0], &signal, 1) != 1)
                return std::string("no word from the writer");
            return counts + " " + count();
        });
        std::unique_ptr<host::AppConnection> writer;
        if (::read(readerDone[0], &signal, 1) == 1) {
            fs::permissions(folder, listable | fs::perms::owner_write);
            if (c.writerKilled) {
                // Another program's, which leaves what it wrote in the log for a while.
                ChildProcess([&] {
                    sqlite3 *db = nullptr;
                    sqlite3_open(file.c_str(), &db);
                    sqlite3_exec(db, "insert into notes select body from notes", nullptr, nullptr,
                                 nullptr);
                    return std::string();
                }).finish();
                fs::remove(file.string() + "-shm");
            } else {
                writer = std::make_unique<host::AppConnection>();
                writer->openDatabase(file.string());
                for (int i = 0; i < c.doublings; ++i)
                    writer->Execute("insert into notes select body from notes");
            }
            if (!c.writerStaysOpen)
                writer.reset();
            fs::permissions(folder, listable);
        }
        EXPECT_EQ(::write(writerDone[1], &signal, 1), 1);
        EXPECT_EQ(reader.finish(),
                  "1 " + std::to_string(c.writerKilled ? host::HostError::DatabaseUnavailable
                                                       : 1L << c.doublings));
        writer.reset();
        for (const int end : {readerDone[0], readerDone[1], writerDone[0], writerDone[1]})
            ::close(end);
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
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

// The file replaced by another while the connection is open shares its log with the other: once
// the connection found the file moved, it takes no more writes, which another program opening
// the file now at the path would take for that file's own.
TEST_F(DatabaseFile, AFileFoundReplacedTakesNoMoreWritesThatTheNewFileWouldTakeForItsOwn)
{
    fs::path file = m_dir / "replaced.db";
    host::AppConnection db;
    db.openDatabase(file.string());
    db.Execute("create table t (a int)");
    db.Execute("insert into t values (1)");
    makeForeignFile(m_dir / "copy.db");
    fs::rename(m_dir / "copy.db", file);
    EXPECT_EQ(failureOf(db, "insert into t values (2)"), host::HostError::DatabaseMoved);
    // Another program opens the file at the path as each write of the connection ends.
    sqlite3_wal_hook(
        db.embedded()->handle(),
        [](void *path, sqlite3 *, const char *, int) {
            otherProgramWrites(*static_cast<const fs::path *>(path), "");
            return SQLITE_OK;
        },
        &file);
    EXPECT_EQ(failureOf(db, "insert into t values (3)"), host::HostError::DatabaseMoved);
    EXPECT_EQ(otherProgramWrites(file, "select * from notes"), "x\nwritten\n");
}
