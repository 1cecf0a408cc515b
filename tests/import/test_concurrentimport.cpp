// Imports on a database file that other programs use at the same time.
#include "importfixture.h"
#include "support/databasefile.h"

#include "host/core/datetime.h"
#include "host/db/hostdatabase.h"
#include "import/importcheckdata.h"
#include "import/staginglifetime.h"
#include "import/stagingtable.h"
#include "services/modulestate.h"

#include <string_view>

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

    // What another run of the user started at the time leaves in the database.
    void otherRunsTable(long userId, double startTime, const std::string &suffix = {})
    {
        other->Execute(StagingTable::createSql(StagingTable::name(userId, startTime) + suffix));
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
    // The other run holds the names of this second and the next two, whichever this run gets.
    for (int s = 0; s < 3; ++s)
        otherRunsTable(16, start + s * kSecond);
    EXPECT_EQ(StagingTable::create(16, start), StagingTable::name(16, start) + "_2");
    EXPECT_EQ(StagingTable::create(16, start), StagingTable::name(16, start) + "_3");
    StagingTable::drop(StagingTable::name(16, start) + "_2");
    StagingTable::drop(StagingTable::name(16, start) + "_3");

    EXPECT_TRUE(importCounted(6));

    EXPECT_EQ(modals.messageTexts(), QStringList{"数据引入完毕!"});
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 6);
    EXPECT_EQ(stagingTables(), 3) << "the other run's tables stay";
}

TEST_F(ConcurrentImportTest, TablesThatRunsOfTheUserLeftLongAgoAreDropped)
{
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
