// Imports on a database file that other programs use at the same time.
#include "importfixture.h"
#include "support/databasefile.h"

#include "host/core/datetime.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "import/importcheckdata.h"
#include "import/staginglifetime.h"
#include "import/stagingtable.h"
#include "services/modulestate.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr double kSecond = 1.0 / 86400;

class ConcurrentImportTest : public ImportDatabaseTest
{
protected:
    void SetUp() override
    {
        ImportDatabaseTest::SetUp();
        m_file = std::make_unique<DatabaseFile>(
            *db, ::testing::UnitTest::GetInstance()->current_test_info()->name());
        useConnection(m_file->connect());
        other = m_file->connect();
    }

    void useConnection(std::shared_ptr<host::AppConnection> connection)
    {
        db = std::move(connection);
        host::setHostConnection(db);
        module().gAppConn = db;
    }

    // The table of another run of the user started at the time; the run goes on while the
    // hold lives.
    std::unique_ptr<host::NameHold> otherRunsTable(long userId, double startTime,
                                                   const std::string &suffix = {})
    {
        const std::string table = StagingTable::name(userId, startTime) + suffix;
        auto hold = other->holdName(table);
        other->Execute(StagingTable::createSql(table));
        return hold;
    }
    // Each time the connection's statements find the database locked, counted instead of
    // waited for.
    void countWaits(host::AppConnection &connection)
    {
        sqlite3_busy_handler(
            connection.embedded()->handle(),
            [](void *count, int tries) {
                *static_cast<int *>(count) += tries == 0 ? 1 : 0;
                return 0;
            },
            &waits);
    }
    bool tableExists(const std::string &name)
    {
        return !scalar("select OBJECT_ID('" + name + "')").isNull();
    }

    bool importCounted(double quantity)
    {
        SheetLine counted = line(kPlainItem);
        counted["CheckQty"] = quantity;
        auto rs = sheet({counted});
        return PubVariant::ImportCheckData(rs);
    }

    std::unique_ptr<DatabaseFile> m_file;
    std::shared_ptr<host::AppConnection> other;
    int waits = 0;
};

TEST_F(ConcurrentImportTest, ANameAnotherRunOfTheSameSecondHoldsIsPassedOver)
{
    const double start = host::now();
    // Other runs hold the names of this second and the next two, whichever this run gets.
    std::vector<std::unique_ptr<host::NameHold>> running;
    running.reserve(4);
    for (int s = 0; s < 3; ++s)
        running.push_back(otherRunsTable(16, start + s * kSecond));
    // One more run of this second holds the next name but has not made its table yet.
    running.push_back(other->holdName(StagingTable::name(16, start) + "_2"));
    EXPECT_EQ(StagingTable::create(16, start).name, StagingTable::name(16, start) + "_3");
    EXPECT_EQ(StagingTable::create(16, start).name, StagingTable::name(16, start) + "_4");
    StagingTable::drop(StagingTable::name(16, start) + "_3");
    StagingTable::drop(StagingTable::name(16, start) + "_4");

    EXPECT_TRUE(importCounted(6));

    EXPECT_EQ(modals.messageTexts(), QStringList{"数据引入完毕!"});
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 6);
    EXPECT_EQ(stagingTables(), 3) << "the other run's tables stay";
}

// An import finds out whose tables no import holds, whoever left them, and drops them, even
// when the disk is full and it can stage nothing itself; an import still running keeps its
// table. Once there is room again, the import goes through.
TEST_F(ConcurrentImportTest, TablesNoRunningImportHoldsAreDroppedWhoeverLeftThem)
{
    const double now = host::now();
    otherRunsTable(16, now - 2 * StagingTable::kLeftoverAge);
    otherRunsTable(17, now - 60 * kSecond);
    const auto running = otherRunsTable(17, now - 30 * kSecond);
    other->Execute("create table IcInvBackUpTemp_16_notarun (FItemID int)");
    sqlite3 *handle = db->embedded()->handle();
    const auto pragma = [handle](const std::string &sql) {
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr);
        sqlite3_step(statement);
        const auto value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return value;
    };
    const auto full = pragma("PRAGMA page_count");
    pragma("PRAGMA max_page_count=" + std::to_string(full));
    // More lines than the pages the leftovers free can stage.
    std::vector<SheetLine> lines;
    for (int n = 0; n < 300; ++n) {
        lines.push_back(line(kBatchItem));
        lines.back()["BatchNo"] = "B" + std::to_string(n);
        lines.back()["FNote"] = std::string(100, 'x');
    }

    auto rs = sheet(lines);
    EXPECT_FALSE(PubVariant::ImportCheckData(rs));

    EXPECT_EQ(modals.messageTexts(),
              QStringList{"盘点引入失败\n磁盘已满，数据库不能写入。\ndatabase or disk is full"});
    EXPECT_FALSE(tableExists(StagingTable::name(16, now - 2 * StagingTable::kLeftoverAge)));
    EXPECT_FALSE(tableExists(StagingTable::name(17, now - 60 * kSecond)));
    EXPECT_TRUE(tableExists(StagingTable::name(17, now - 30 * kSecond)));
    EXPECT_TRUE(tableExists("IcInvBackUpTemp_16_notarun"));
    EXPECT_EQ(stagingTables(), 2);

    pragma("PRAGMA max_page_count=" + std::to_string(full * 2));
    rs = sheet(lines);
    EXPECT_TRUE(PubVariant::ImportCheckData(rs));
    EXPECT_EQ(countLines(kBatchItem), 300);
}

// Where the holds cannot be told (the file beside the database cannot be opened, as on a
// server), only the user's tables of runs started long ago count as left behind.
TEST_F(ConcurrentImportTest, WithoutHoldsTablesThatRunsOfTheUserLeftLongAgoAreDropped)
{
    std::filesystem::create_directory(m_file->path() + "-holds");
    const double now = host::now();
    const double longAgo = now - 2 * StagingTable::kLeftoverAge;
    otherRunsTable(16, longAgo);
    otherRunsTable(16, longAgo, "_2");
    otherRunsTable(17, longAgo);
    otherRunsTable(16, now - StagingTable::kLeftoverAge / 2); // a run that may still be going
    other->Execute("create table IcInvBackUpTemp_16_notarun (FItemID int)");

    EXPECT_TRUE(importCounted(2));

    EXPECT_FALSE(tableExists(StagingTable::name(16, longAgo)));
    EXPECT_FALSE(tableExists(StagingTable::name(16, longAgo) + "_2"));
    EXPECT_TRUE(tableExists(StagingTable::name(17, longAgo)));
    EXPECT_TRUE(tableExists(StagingTable::name(16, now - StagingTable::kLeftoverAge / 2)));
    EXPECT_TRUE(tableExists("IcInvBackUpTemp_16_notarun"));
}

// The module's connection, on which something befalls the database as a statement of the run
// comes: the run's own connection gives no other chance.
class BefallsAt : public host::AppConnection
{
public:
    BefallsAt(std::string_view statement, std::function<void()> befall)
        : m_statement(statement), m_befall(std::move(befall))
    {}

    std::shared_ptr<host::Recordset> Execute(std::string_view sql) override
    {
        if (m_befall && sql.find(m_statement) != std::string_view::npos)
            std::exchange(m_befall, nullptr)();
        return AppConnection::Execute(sql);
    }

private:
    std::string_view m_statement;
    std::function<void()> m_befall;
};

struct RunFailure
{
    const char *name;
    const char *statement;
    bool lock; // otherwise the file is deleted
    QStringList messages;
    int waits;
};

void PrintTo(const RunFailure &f, std::ostream *os)
{
    *os << f.name;
}

class RunFailureTest : public ConcurrentImportTest, public ::testing::WithParamInterface<RunFailure>
{};

// The database fails in the middle of a run, each time as the user is to be told, after one wait
// at most: nothing is merged, and a table the run could not drop is dropped by the next one.
TEST_P(RunFailureTest, EndsTheImportBeforeTheMergeWithTheDatabasesCause)
{
    const RunFailure &f = GetParam();
    const std::string file = m_file->path();
    std::shared_ptr<BefallsAt> failing;
    failing = std::make_shared<BefallsAt>(f.statement, [&] {
        if (!f.lock) {
            std::filesystem::remove(file);
            return;
        }
        DatabaseFile::holdWriteLock(*other, *failing);
        countWaits(*failing);
    });
    failing->openDatabase(file);
    // As the program makes its databases: a file deleted under it takes writes without a word.
    sqlite3_exec(failing->embedded()->handle(), "PRAGMA journal_mode=WAL", nullptr, nullptr,
                 nullptr);
    useConnection(failing);
    SheetLine opposite = line(kTwoUnitItem);
    opposite["FSecCheckQty"] = 4.0; // base +2, second unit -1
    auto rs = sheet({line(kPlainItem), opposite});

    EXPECT_FALSE(PubVariant::ImportCheckData(rs));

    EXPECT_EQ(modals.messageTexts(), f.messages);
    EXPECT_EQ(waits, f.waits);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FCheckQty")), 0);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
    if (f.lock) {
        EXPECT_EQ(stagingTables(), 1);
        m_file->release(*other);
        EXPECT_TRUE(importCounted(3));
        EXPECT_EQ(stagingTables(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RunFailureTest,
    ::testing::Values(
        RunFailure{"LockedAtTheDirectionCheck", "UPDATE t SET t.FQty = b.FQty", true,
                   QStringList{"GetErrRecordSet!",
                               "盘点引入失败\n未能检查基本单位与辅助计量单位的盘盈盘亏方向，"
                               "没有引入任何数据。\n数据库正忙，请稍后再试。\ndatabase is locked"},
                   1},
        RunFailure{"DeletedAsTheStagingTableIsMade", "Create Table IcInvBackUpTemp_", false,
                   QStringList{"盘点引入失败\n数据库文件在使用中被删除或替换，刚才写入的数据已经丢"
                               "失。\nThe database file was deleted or replaced while it was open; "
                               "what was written to it since is lost."},
                   0}),
    [](const auto &param) { return std::string(param.param.name); });

class BlockedImportTest : public ConcurrentImportTest,
                          public ::testing::WithParamInterface<BlockedDatabase>
{};

// A table an ended run left waits for a run that can write; the blocked one waits once at most.
TEST_P(BlockedImportTest, IsReportedWithItsCauseNotAsARecordsFault)
{
    otherRunsTable(16, host::now() - 60 * kSecond);
    useConnection(m_file->block(GetParam(), db, *other));
    countWaits(*db);

    EXPECT_FALSE(importCounted(4));

    m_file->release(*other);
    EXPECT_EQ(modals.messageTexts(), QStringList{QString("盘点引入失败\n") + GetParam().cause});
    EXPECT_EQ(waits, GetParam().way == BlockedDatabase::Way::Locked ? 1 : 0);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
    EXPECT_EQ(stagingTables(), 1);
}

INSTANTIATE_TEST_SUITE_P(Databases, BlockedImportTest, ::testing::ValuesIn(kBlockedDatabases),
                         [](const auto &param) { return std::string(param.param.description); });

} // namespace
