#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/db/appconnection.h"

#include <gtest/gtest.h>

using host::AppConnection;
using host::Variant;

namespace {

class Basics : public ::testing::Test
{
protected:
    void SetUp() override { db.openDatabase(":memory:"); }
    Variant scalar(const std::string &sql)
    {
        auto rs = db.Execute(sql);
        EXPECT_EQ(rs->State(), 1) << sql;
        EXPECT_FALSE(rs->EOF()) << sql;
        return rs->Fields(0).Value();
    }
    AppConnection db;
};

TEST_F(Basics, CreateInsertSelect)
{
    db.Execute("CREATE TABLE t_Item (FItemID int NOT NULL, FName varchar(80) NULL, "
               "FQty decimal(28,10) NOT NULL DEFAULT(0), FDate datetime NULL, FOn bit DEFAULT 1)");
    db.Execute("INSERT INTO t_Item (FItemID, FName, FQty, FDate) VALUES (1, 'Bolt', 6, "
               "'2026-03-05')\r\nINSERT t_Item (FItemID, FName) VALUES ('2', 'nut  ')");
    auto rs = db.Execute("select FItemID, FName, FQty, FDate, FOn from t_item order by fitemid");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("fitemid").Value(), Variant(1));
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(6.0));
    EXPECT_EQ(rs->Fields("FDate").Value(), Variant::fromDate(host::makeDate(2026, 3, 5)));
    EXPECT_EQ(rs->Fields("FOn").Value(), Variant(true));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(1L).Value(), Variant("nut  "));
    EXPECT_TRUE(rs->Fields("FDate").Value().isNull());
    rs->MoveNext();
    EXPECT_TRUE(rs->EOF());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM t_Item WHERE FName = 'NUT'"), Variant(1));
    EXPECT_EQ(scalar("SELECT 6 / FQty FROM t_Item WHERE FItemID = 1 AND FQty = 6"), Variant(1.0));
}

TEST(Connection, OpensByConnectionStringAndReportsOdbcFailures)
{
    AppConnection db;
    EXPECT_FALSE(db.isOpen());
    EXPECT_THROW(db.Execute("select 1"), host::HostError);
    db.open("Data Source=:memory:");
    EXPECT_EQ(db.ConnectionString(), "Data Source=:memory:");
    EXPECT_EQ(db.Execute("select 1 as one")->Fields("one").Value(), Variant(1));
    try {
        db.open("Driver={No Such Driver};Server=nowhere;");
        FAIL() << "no driver should connect";
    } catch (const host::HostError &e) {
        EXPECT_FALSE(e.Description().empty());
    }
    // A failed open leaves the connection as it was.
    EXPECT_EQ(db.ConnectionString(), "Data Source=:memory:");
    EXPECT_TRUE(db.isOpen());
    db.close();
    EXPECT_THROW(db.registerProcedure("p", [](const std::vector<Variant> &) {}), host::HostError);
}

} // namespace
