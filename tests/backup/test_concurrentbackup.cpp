// Backups on a database file that other programs use at the same time.
#include "backuptest.h"
#include "support/childprocess.h"
#include "support/databasefile.h"

#include "backup/backupstate.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/hostdatabase.h"

#include <gmock/gmock.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace {

constexpr long kLines = 2000;

class ConcurrentBackupTest : public BackupTest
{
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        // Enough lines that a backup's batch takes a moment.
        for (long n = 0; n < kLines; ++n)
            addStock({kItemPiece, 1, 10, "B" + std::to_string(n), 1});
        m_file = std::make_unique<DatabaseFile>(
            *m_conn, ::testing::UnitTest::GetInstance()->current_test_info()->name());
        useConnection(m_file->connect());
    }

    void useConnection(std::shared_ptr<host::AppConnection> connection)
    {
        m_conn = std::move(connection);
        host::setHostConnection(m_conn);
    }

    // One backup of stock 1 through the module's connection, with the snapshot maxima taken
    // unless already taken; "ok", or the messages it showed.
    std::string backUpStock1()
    {
        ICBackupInv backup;
        if (backupState().gSnapshotMaxima != BackupState::SnapshotMaxima::Taken &&
            !backup.GetStockBillMaxID())
            return "no maxima";
        if (backup.BackUpData(params("1"), false, 0.0, false, true))
            return "ok";
        std::string shown;
        for (const auto &text : messages())
            shown += text + "|";
        return shown;
    }

    std::unique_ptr<DatabaseFile> m_file;
};

TEST_F(ConcurrentBackupTest, TwoBackupsAtOnceEachMakeTheirOwnProcess)
{
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    // Each program opens its own connection, then both start together when the gate opens.
    const auto program = [this, &gate] {
        close(gate[1]);
        useConnection(m_file->connect());
        char go;
        if (read(gate[0], &go, 1) < 0)
            return std::string("no start");
        return backUpStock1();
    };
    ChildProcess first(program);
    ChildProcess second(program);
    close(gate[0]);
    close(gate[1]);
    EXPECT_EQ(first.finish(), "ok");
    EXPECT_EQ(second.finish(), "ok");

    const auto processes = rows("select FID,FProcessID from ICStockCheckProcess order by FID");
    ASSERT_EQ(processes.size(), 2u);
    EXPECT_NE(host::CStr(processes[0][1]), host::CStr(processes[1][1]));
    for (const auto &process : processes)
        EXPECT_EQ(count("ICInvBackup", "FInterID=" + host::CStr(process[0])), kLines);
}

// The module's connection, whose file another program removes as the count's lines are about to
// be written.
class RemovedBeforeTheLines : public host::AppConnection
{
public:
    explicit RemovedBeforeTheLines(std::string path) : m_path(std::move(path))
    {
        openDatabase(m_path);
    }
    std::shared_ptr<host::Recordset> Execute(std::string_view sql) override
    {
        if (sql.find(" Insert ICInvBackup") != std::string_view::npos)
            std::filesystem::remove(m_path);
        return AppConnection::Execute(sql);
    }

private:
    std::string m_path;
};

// In either journal mode: with a rollback journal SQLite finds the file gone when it begins to
// write, with a write-ahead log only the check after the batch does.
class RemovedFileTest : public ConcurrentBackupTest,
                        public ::testing::WithParamInterface<const char *>
{};

TEST_P(RemovedFileTest, ABackupIntoAFileRemovedMeanwhileIsReportedFailed)
{
    sqlite3 *db = m_conn->embedded()->handle();
    ASSERT_EQ(sqlite3_exec(db, (std::string("PRAGMA journal_mode=") + GetParam()).c_str(), nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    useConnection(std::make_shared<RemovedBeforeTheLines>(m_file->path()));

    // The database's own words follow, as the journal mode has them.
    EXPECT_THAT(backUpStock1(),
                ::testing::StartsWith(
                    "备份数据失败！\n数据库文件在使用中被删除或替换，刚才写入的数据已经丢失。\n"));
}

INSTANTIATE_TEST_SUITE_P(Journals, RemovedFileTest, ::testing::Values("WAL", "DELETE"),
                         [](const auto &param) { return std::string(param.param); });

class BlockedBackupTest : public ConcurrentBackupTest,
                          public ::testing::WithParamInterface<BlockedDatabase>
{};

TEST_P(BlockedBackupTest, FailsSayingWhyAndLeavesNoProcess)
{
    const auto writer = m_conn;
    const auto other = m_file->connect();
    ASSERT_TRUE(ICBackupInv().GetStockBillMaxID());
    useConnection(m_file->block(GetParam(), m_conn, *other));

    EXPECT_EQ(backUpStock1(), std::string("备份数据失败！\n") + GetParam().cause + "|");

    m_file->release(*other);
    EXPECT_EQ(
        host::CLng(writer->Execute("select count(*) from ICStockCheckProcess")->Fields(0).Value()),
        0);
    // Once the database can be written again, the same backup succeeds.
    useConnection(writer);
    m_modals = std::make_unique<host::ui::ScriptedModals>();
    EXPECT_EQ(backUpStock1(), "ok");
}

INSTANTIATE_TEST_SUITE_P(Databases, BlockedBackupTest, ::testing::ValuesIn(kBlockedDatabases),
                         [](const auto &param) { return std::string(param.param.description); });

} // namespace
