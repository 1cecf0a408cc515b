#include "hostschema.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/db/bulkinsert.h"

#include <gtest/gtest.h>

using host::Variant;
using testdb::scalar;

namespace {

class BulkInsertTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        db.Execute("CREATE TABLE Bal (FItemID int NOT NULL, FName varchar(20), "
                   "FQty decimal(28,2), FDate datetime, FOn bit)");
    }
    host::AppConnection db;
};

TEST_F(BulkInsertTest, StoresByTheSameConventionsAsInsert)
{
    {
        host::BulkInsert bulk(db, "bal", {"FItemID", "FName", "FQty", "FDate", "FOn"});
        bulk.add({1, "Bolt", 1.005, Variant::fromDate(host::makeDate(2026, 1, 2)), true});
        bulk.add({"2", Variant::null(), "3.333", "2026-01-03", 0});
        bulk.commit();
    }
    db.Execute("INSERT INTO Bal VALUES (3, 'Bolt', 1.005, '2026-01-02', 1)");
    auto rs = db.Execute("SELECT FItemID, FName, FQty, FDate, FOn FROM Bal ORDER BY FItemID");
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(1.01));
    EXPECT_EQ(rs->Fields("FDate").Value(), Variant::fromDate(host::makeDate(2026, 1, 2)));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("FItemID").Value(), Variant(2));
    EXPECT_TRUE(rs->Fields("FName").Value().isNull());
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(3.33));
    EXPECT_EQ(rs->Fields("FOn").Value(), Variant(false));
    // The bulk rows and the INSERT row are stored alike: one group per date and name.
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Bal WHERE FDate = '2026-01-02' AND FName = 'BOLT' "
                         "AND FQty = 1.01"),
              Variant(2));
}

TEST_F(BulkInsertTest, NothingIsKeptWithoutCommit)
{
    {
        host::BulkInsert bulk(db, "Bal", {"FItemID"});
        bulk.add({1});
    }
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Bal"), Variant(0));
    EXPECT_THROW(host::BulkInsert(db, "Bal", {"FNope"}), host::HostError);
    host::BulkInsert bulk(db, "Bal", {"FItemID", "FName"});
    EXPECT_THROW(bulk.add({1}), host::HostError);
    EXPECT_THROW(bulk.add({"x", "y"}), host::HostError);
}

} // namespace
