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
#include <memory>
#include <string>
#include <string_view>
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

    EXPECT_EQ(modals.messageTexts(), QStringList{"盘点引入失败\ndatabase or disk is full"});
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

// The module's connection, on which another program takes the write lock as the direction
// check begins and lets it go before the next batch.
class LockedDuringCheck : public host::AppConnection
{
public:
    explicit LockedDuringCheck(host::AppConnection &other) : m_other(other) {}

    std::shared_ptr<host::Recordset> Execute(std::string_view sql) override
    {
        if (m_held)
            DatabaseFile::release(m_other);
        m_held = sql.find("UPDATE t SET t.FQty = b.FQty") != std::string_view::npos;
        if (m_held)
            DatabaseFile::holdWriteLock(m_other, *this);
        return AppConnection::Execute(sql);
    }

private:
    host::AppConnection &m_other;
    bool m_held = false;
};

TEST_F(ConcurrentImportTest, AFailedDirectionCheckEndsTheImportBeforeTheMerge)
{
    auto checked = std::make_shared<LockedDuringCheck>(*other);
    checked->openDatabase(m_file->path());
    useConnection(checked);
    SheetLine opposite = line(kTwoUnitItem);
    opposite["FSecCheckQty"] = 4.0; // base +2, second unit -1
    auto rs = sheet({line(kPlainItem), opposite});

    EXPECT_FALSE(PubVariant::ImportCheckData(rs));

    EXPECT_EQ(modals.messageTexts(),
              (QStringList{"GetErrRecordSet!",
                           "盘点引入失败\n未能检查基本单位与辅助计量单位的盘盈盘亏方向，"
                           "没有引入任何数据。\n数据库正忙，请稍后再试。"}));
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FCheckQty")), 0);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
    EXPECT_EQ(stagingTables(), 0);
}

class BlockedImportTest : public ConcurrentImportTest,
                          public ::testing::WithParamInterface<BlockedDatabase>
{};

TEST_P(BlockedImportTest, IsReportedWithItsCauseNotAsARecordsFault)
{
    useConnection(m_file->block(GetParam(), db, *other));

    EXPECT_FALSE(importCounted(4));

    DatabaseFile::release(*other);
    EXPECT_EQ(modals.messageTexts(), QStringList{QString("盘点引入失败\n") + GetParam().cause});
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
    EXPECT_EQ(stagingTables(), 0);
}

INSTANTIATE_TEST_SUITE_P(Databases, BlockedImportTest, ::testing::ValuesIn(kBlockedDatabases),
                         [](const auto &param) { return std::string(param.param.description); });

} // namespace
