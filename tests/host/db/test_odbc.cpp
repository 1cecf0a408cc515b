// The path to a real server, run against Debian's SQLite ODBC driver through unixODBC
// (scripts/install-deps installs it).
#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "support/odbcsource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using host::Variant;

namespace {

class Odbc : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(OdbcSource::driver().empty())
            << "the SQLite ODBC driver (libsqliteodbc) is not installed";
        OdbcSource::connecting([&] { db.open(OdbcSource::connectionString()); });
        // numeric, not decimal: the SQLite driver describes a decimal column as text.
        db.Execute("CREATE TABLE ICStockCheck (FInterID int NOT NULL, FItemID int NOT NULL, "
                   "FName varchar(80) NULL, FQty numeric(28,10) NULL, FDate datetime NULL)");
    }
    void TearDown() override { db.close(); }
    Variant scalar(const std::string &sql) { return db.Execute(sql)->Fields(0L).Value(); }

    OdbcSource source;
    host::AppConnection db;
};

TEST_F(Odbc, StatementsOfTheModulesShapesRoundTripTheirValues)
{
    EXPECT_FALSE(db.embedded());
    struct Row
    {
        int item;
        const char *name; // SQL text
        const char *qty;
        const char *date;
        Variant expectedName;
        Variant expectedQty;
        Variant expectedDate;
    };
    const Row rows[] = {
        {1, "'螺丝 M6 不锈钢'", "1234.5678", "'2026-12-07 10:30:15'", Variant("螺丝 M6 不锈钢"),
         Variant(1234.5678), Variant::fromDate(host::makeDate({2026, 12, 7, 10, 30, 15, 0}))},
        {2, "'O''Brien'", "-0.0001", "'1753-01-01'", Variant("O'Brien"), Variant(-0.0001),
         Variant::fromDate(host::makeDate(1753, 1, 1))},
        {3, "NULL", "NULL", "NULL", Variant::null(), Variant::null(), Variant::null()},
    };
    for (const auto &r : rows)
        db.Execute("INSERT INTO ICStockCheck (FInterID, FItemID, FName, FQty, FDate) VALUES (5, " +
                   std::to_string(r.item) + ", " + r.name + ", " + r.qty + ", " + r.date + ")");
    auto rs = db.Execute("SELECT a.FItemID, a.FName, a.FQty, a.FDate FROM ICStockCheck a "
                         "WHERE a.FInterID = 5 ORDER BY a.FItemID");
    ASSERT_EQ(rs->RecordCount(), static_cast<long>(std::size(rows)));
    for (const auto &r : rows) {
        EXPECT_EQ(rs->Fields("FItemID").Value(), Variant(r.item));
        EXPECT_EQ(rs->Fields("FName").Value(), r.expectedName) << r.name;
        EXPECT_EQ(rs->Fields("FQty").Value(), r.expectedQty) << r.qty;
        EXPECT_EQ(rs->Fields("FDate").Value(), r.expectedDate) << r.date;
        rs->MoveNext();
    }
    db.Execute("UPDATE ICStockCheck SET FQty = FQty * 2, FName = NULL WHERE FItemID = 1");
    EXPECT_EQ(scalar("SELECT FQty FROM ICStockCheck WHERE FItemID = 1"), Variant(2469.1356));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ICStockCheck WHERE FName IS NULL"), Variant(2));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ICStockCheck t1 INNER JOIN ICStockCheck t2 ON "
                     "t1.FItemID = t2.FItemID WHERE t1.FName = '螺丝 M6 不锈钢' OR t2.FQty < 0"),
              Variant(1));
    db.Execute("DELETE FROM ICStockCheck WHERE FItemID > 1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ICStockCheck"), Variant(1));
}

TEST_F(Odbc, AStatementsErrorReachesTheCaller)
{
    const char *const failing[] = {
        "SELECT * FROM NoSuchTable",
        "INSERT INTO ICStockCheck (FInterID, FItemID) VALUES (NULL, 1)",
        "SELEC 1",
    };
    for (const char *sql : failing) {
        try {
            db.Execute(sql);
            ADD_FAILURE() << sql << " ran";
        } catch (const host::HostError &e) {
            EXPECT_FALSE(e.Description().empty()) << sql;
        }
    }
    try {
        db.Execute("SELECT * FROM NoSuchTable");
    } catch (const host::HostError &e) {
        EXPECT_NE(e.Description().find("NoSuchTable"), std::string::npos) << e.Description();
    }
    // The connection still serves the next statement.
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ICStockCheck"), Variant(0));
}

TEST_F(Odbc, ALostDatabaseGivesErrorsNotACrash)
{
    db.Execute("INSERT INTO ICStockCheck (FInterID, FItemID) VALUES (1, 1)");
    // What the server held is gone under the open connection.
    std::ofstream(source.database(), std::ios::binary | std::ios::trunc) << std::string(4096, 'x');
    for (int i = 0; i < 2; ++i)
        EXPECT_THROW(db.Execute("SELECT COUNT(*) FROM ICStockCheck"), host::HostError);
    db.close();
    EXPECT_THROW(db.Execute("SELECT 1"), host::HostError);
    // A data source that is not there is refused when opened, and leaves the connection closed.
    EXPECT_THROW(db.open("DSN=nosuchsource;"), host::HostError);
    EXPECT_FALSE(db.isOpen());
}

} // namespace
