// DDL and DML statements: what they do to the rows, with SQL Server's conversions.
#include "hostschema.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using host::HostError;
using host::Variant;
using testdb::scalar;

namespace {

class Statements : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        db.Execute(R"(
CREATE TABLE dbo.Item ([FItemID] int IDENTITY(1,1) NOT NULL, FNumber varchar(20) NOT NULL,
  FName nvarchar(max) NULL, FPrice money NULL, FQty decimal(18,2) NOT NULL DEFAULT ((0)),
  FAdded datetime NOT NULL DEFAULT (getdate()), FActive bit NOT NULL DEFAULT 1,
  FCode char(4) NULL,
  CONSTRAINT PK_Item PRIMARY KEY CLUSTERED (FItemID))
CREATE UNIQUE NONCLUSTERED INDEX IX_Item_Number ON Item (FNumber ASC)
CREATE TABLE Stock (FItemID int NOT NULL, FStockID int NOT NULL, FQty decimal(18,2) NOT NULL)
INSERT INTO Item (FNumber, FName, FPrice, FQty) VALUES ('A1', N'Bolt', 1.23456, 2.345)
INSERT Item (FNumber, FName) VALUES ('b2', 'Nut'), ('C3', NULL)
INSERT INTO Stock SELECT FItemID, 1, FItemID * 10 FROM Item
)");
    }
    host::AppConnection db;
};

TEST_F(Statements, CreateTableKeepsTypesDefaultsAndIdentity)
{
    auto rs = db.Execute("SELECT FItemID, FPrice, FQty, FAdded, FActive FROM Item ORDER BY 1");
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields("FItemID").Value(), Variant(1));
    EXPECT_EQ(rs->Fields("FPrice").Value(), Variant(1.2346)); // money keeps four decimals
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(2.35));     // rounded half away from zero
    EXPECT_EQ(rs->Fields("FAdded").Value().type(), host::VariantType::Date);
    EXPECT_EQ(rs->Fields("FActive").Value(), Variant(true));
    rs->MoveLast();
    EXPECT_EQ(rs->Fields("FItemID").Value(), Variant(3));
    EXPECT_EQ(rs->Fields("FQty").Value(), Variant(0.0));
    EXPECT_THROW(db.Execute("INSERT INTO Item (FNumber) VALUES ('A1')"), HostError);
    EXPECT_THROW(db.Execute("CREATE TABLE Item (x int)"), HostError);
}

TEST_F(Statements, TextsCompareWithoutCaseAndTrailingBlanks)
{
    struct Case
    {
        const char *condition;
        long count;
    };
    const Case cases[] = {
        {"FNumber = 'a1'", 1},
        {"FNumber = 'A1   '", 1},
        {"FNumber <> 'B2'", 2},
        {"FNumber IN ('a1','B2')", 2},
        {"FNumber > 'a9'", 2},
        {"FName LIKE 'bo%'", 1},
        {"rtrim(FName) = 'NUT'", 1},
        {"FName IS NULL", 1},
        // Quoted numbers next to numbers are numbers; ISNULL takes its first argument's type.
        {"FItemID + 0 = '2'", 1},
        {"ISNULL(FPrice, '') = 0", 2},
        {"FQty * 1 = '2.35'", 1},
        {"'3' IN (FItemID, FItemID + 1)", 2},
        {"FActive = 'true'", 3},
        // A binary collation tells case apart, but not trailing blanks.
        {"FNumber = 'a1' COLLATE Chinese_PRC_BIN", 0},
        {"FNumber <> 'B2' COLLATE Latin1_General_BIN2", 3},
        {"FNumber = 'A1  ' COLLATE Chinese_PRC_BIN", 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(scalar(db, std::string("SELECT COUNT(*) FROM Item WHERE ") + c.condition),
                  Variant(c.count))
            << c.condition;
    EXPECT_THROW(db.Execute("SELECT COUNT(*) FROM Item WHERE FItemID + 0 = '1.5'"), HostError);
    // An ORDER BY name is the select item of that name before any column of the tables.
    struct Order
    {
        const char *select;
        std::vector<long> items;
    };
    const Order orders[] = {
        {"SELECT FItemID, FNumber FROM Item ORDER BY FNumber DESC", {3, 2, 1}},
        {"SELECT FItemID, FName AS FNumber FROM Item ORDER BY FNumber DESC", {2, 1, 3}},
        {"SELECT FName AS FNumber, FNumber AS FName, FItemID FROM Item ORDER BY FName, FNumber",
         {1, 2, 3}},
        {"SELECT i.FItemID, FName FROM Item i JOIN Stock s ON s.FItemID = i.FItemID "
         "ORDER BY FItemID DESC",
         {3, 2, 1}},
    };
    for (const auto &o : orders) {
        std::vector<long> items;
        for (auto rs = db.Execute(o.select); !rs->EOF(); rs->MoveNext())
            items.push_back(host::CLng(rs->Fields("FItemID").Value()));
        EXPECT_EQ(items, o.items) << o.select;
    }
    EXPECT_EQ(scalar(db, "SELECT COUNT(DISTINCT FNumber) FROM (SELECT FNumber FROM Item UNION ALL "
                         "SELECT 'B2 ') x"),
              Variant(3));

    // A join finds the pairs a nested loop finds, under the columns' collation or a binary one,
    // whatever plan it takes: a filter over the bytes beside an automatic index dropped the
    // pairs equal only without their case or trailing blanks. Each meeting has an id of its own,
    // far from the others'.
    const std::pair<std::optional<std::string>, std::optional<std::string>> meetings[] = {
        {"B ", "b"}, {"b", "B  "}, {"B", "B "}, {"B", "b"}, {"", " "},
        {" ", ""},   {"", ""},     {"b", {}},   {{}, "b"},  {{}, {}}};
    db.Execute("CREATE TABLE tJ (id int, code varchar(10)) "
               "CREATE TABLE tK (id int, jid int, code varchar(10))");
    const auto literal = [](const std::optional<std::string> &text) {
        return text ? "'" + *text + "'" : std::string("NULL");
    };
    constexpr long kApart = 100;
    for (size_t m = 0; m < std::size(meetings); ++m) {
        const std::string id = std::to_string(static_cast<long>(m) * kApart);
        db.Execute("INSERT INTO tJ VALUES (" + id + ", " + literal(meetings[m].first) + ")");
        db.Execute("INSERT INTO tK VALUES (" + id + ", " + id + ", " + literal(meetings[m].second) +
                   ")");
    }
    const auto folded = [](std::string text, bool binary) {
        text.erase(text.find_last_not_of(' ') + 1);
        if (!binary)
            std::transform(text.begin(), text.end(), text.begin(), ::tolower);
        return text;
    };
    for (const bool binary : {false, true}) {
        std::vector<long> expected;
        for (size_t m = 0; m < std::size(meetings); ++m) {
            const auto &[j, k] = meetings[m];
            if (j && k && folded(*j, binary) == folded(*k, binary))
                expected.push_back(static_cast<long>(m) * kApart);
        }
        const std::string join =
            std::string("SELECT j.id FROM tJ j JOIN tK k ON k.jid = j.id WHERE j.code = k.code") +
            (binary ? " COLLATE Chinese_PRC_BIN" : "") + " ORDER BY 1";
        std::vector<long> found;
        for (auto rs = db.Execute(join); !rs->EOF(); rs->MoveNext())
            found.push_back(host::CLng(rs->Fields(0L).Value()));
        EXPECT_EQ(found, expected) << join;
    }
}

TEST_F(Statements, InsertConvertsValuesToTheColumnTypes)
{
    db.Execute("INSERT INTO Stock (FItemID, FStockID, FQty) VALUES ('7', '', '1.005')");
    auto rs = db.Execute("SELECT FItemID, FStockID, FQty FROM Stock WHERE FItemID = 7");
    EXPECT_EQ(rs->Fields(0L).Value(), Variant(7));
    EXPECT_EQ(rs->Fields(1L).Value(), Variant(0));
    EXPECT_EQ(rs->Fields(2L).Value(), Variant(1.01));
    db.Execute("INSERT INTO Item (FNumber, FCode, FAdded) VALUES (12, 5, '2026/3/5 10:30')");
    rs = db.Execute("SELECT FNumber, FCode, FAdded FROM Item WHERE FNumber = '12'");
    EXPECT_EQ(rs->Fields(0L).Value(), Variant("12"));
    EXPECT_EQ(rs->Fields(1L).Value(), Variant("5"));
    EXPECT_EQ(rs->Fields(2L).Value(),
              Variant::fromDate(host::makeDate({2026, 3, 5, 10, 30, 0, 0})));
    EXPECT_THROW(db.Execute("INSERT INTO Stock VALUES ('x', 1, 1)"), HostError);
    EXPECT_THROW(db.Execute("INSERT INTO Item (FNumber, FAdded) VALUES ('d', 'soon')"), HostError);
    EXPECT_THROW(db.Execute("INSERT INTO Stock (FItemID) VALUES (1, 2)"), HostError);
}

TEST_F(Statements, UpdateWithJoinedFromList)
{
    db.Execute("update s set s.FQty = s.FQty + i.FQty from Stock s inner join Item i on "
               "s.FItemID = i.FItemID where i.FNumber = 'a1'");
    EXPECT_EQ(scalar(db, "SELECT FQty FROM Stock WHERE FItemID = 1"), Variant(12.35));
    // The target named by its table, joined in the FROM list by name.
    db.Execute("UPDATE Item SET Item.FName = 'x' FROM Item INNER JOIN Stock ON Item.FItemID = "
               "Stock.FItemID WHERE Stock.FQty >= 20");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Item WHERE FName = 'x'"), Variant(2));
    // The target second in the FROM list.
    db.Execute("update b set FQty = 0 from Stock a join Item b on a.FItemID = b.FItemID and "
               "a.FQty = 30");
    EXPECT_EQ(scalar(db, "SELECT FQty FROM Item WHERE FItemID = 3"), Variant(0.0));
    EXPECT_EQ(scalar(db, "SELECT FQty FROM Item WHERE FItemID = 1"), Variant(2.35));
    // A table updated from itself.
    db.Execute("update Stock set FStockID=FItemID+1 from Stock where FItemID=2");
    EXPECT_EQ(scalar(db, "SELECT FStockID FROM Stock WHERE FItemID = 2"), Variant(3));
    EXPECT_THROW(db.Execute("update s set FQty = 1 from Stock s left join Item i on 1=1"),
                 HostError);
}

// Sums and differences that are zero in decimals are zero: no phantom count differences.
TEST_F(Statements, DecimalResultsKeepTheirScaleOnEveryWritePath)
{
    db.Execute(R"(
CREATE TABLE Cnt (FID int, FQty decimal(28,10), FQtyAct decimal(28,10), FAdjQty decimal(28,10),
  FCoefficient decimal(28,10), FMinus decimal(28,10), FPrice decimal(10,2))
INSERT INTO Cnt VALUES (1, 0.1, 0.3, 0.1, 2, NULL, NULL), (2, 0.2, 0.3, 0.1, 1, NULL, NULL),
  (3, -0.3, 0, 0, 0, NULL, NULL)
)");
    const auto text = [&](const std::string &sql) { return host::CStr(scalar(db, sql)); };
    EXPECT_EQ(text("SELECT SUM(FQty) FROM Cnt"), "0");
    EXPECT_EQ(text("SELECT COUNT(*) FROM Cnt WHERE FQtyAct - FQty - FAdjQty = 0"), "1");
    EXPECT_EQ(text("SELECT SUM(CASE WHEN FID < 3 THEN FQty ELSE 0 END) - 0.3 FROM Cnt"), "0");
    EXPECT_EQ(text("SELECT AVG(FQtyAct) FROM Cnt"), "0.2");
    // UPDATE without and with FROM, reading the row's old values.
    db.Execute("UPDATE Cnt SET FQty = FQty + 0.2 WHERE FID = 1");
    EXPECT_EQ(text("SELECT FQty - 0.3 FROM Cnt WHERE FID = 1"), "0");
    db.Execute("UPDATE c SET c.FMinus = c.FQtyAct - c.FQty - (c.FAdjQty * c.FCoefficient) "
               "FROM Cnt c INNER JOIN Stock s ON s.FItemID = c.FID");
    auto rs = db.Execute("SELECT FMinus, -FMinus FROM Cnt ORDER BY FID");
    EXPECT_EQ(host::CStr(rs->Fields(0L).Value()), "-0.2");
    rs->MoveNext();
    EXPECT_EQ(host::CStr(rs->Fields(0L).Value()), "0");
    EXPECT_EQ(host::CStr(rs->Fields(1L).Value()), "0");
    rs->MoveNext();
    EXPECT_EQ(host::CStr(rs->Fields(0L).Value()), "0.3");
    // The target column's scale rounds what a quotient or a float gives.
    db.Execute("UPDATE Cnt SET FPrice = FQtyAct / 7 + CAST(0.005 AS float)");
    EXPECT_EQ(text("SELECT FPrice FROM Cnt WHERE FID = 1"), "0.05");
    // INSERT ... SELECT and SELECT INTO keep sums of stored values exact.
    db.Execute("INSERT INTO Cnt (FID, FQty) SELECT 9, SUM(FQty) - 0.3 FROM Cnt WHERE FID < 3");
    EXPECT_EQ(text("SELECT FQty FROM Cnt WHERE FID = 9"), "0.2");
    db.Execute("SELECT FID, FQty * 3 - 0.9 AS FDiff INTO #d FROM Cnt WHERE FID = 1");
    EXPECT_EQ(text("SELECT FDiff FROM #d"), "0");
    // Values with many digits keep them all, up to the 15 a double holds.
    db.Execute("INSERT INTO Cnt (FID, FQty, FQtyAct) VALUES (8, 1234.5678901234, 0.0000000004)");
    EXPECT_EQ(text("SELECT FQty FROM Cnt WHERE FID = 8"), "1234.5678901234");
    EXPECT_EQ(text("SELECT FQty + FQtyAct * 2.0 FROM Cnt WHERE FID = 8"), "1234.5678901242");
    // Rounding to ten decimals adds nothing to a large value that has fewer.
    db.Execute("INSERT INTO Cnt (FID, FQty, FQtyAct) VALUES (7, 70000, 120000.25)");
    EXPECT_EQ(host::CDbl(scalar(db, "SELECT FQtyAct - FQty FROM Cnt WHERE FID = 7")), 50000.25);
    EXPECT_EQ(host::CDbl(scalar(db, "SELECT CAST(FQty AS decimal(28,10)) FROM Cnt WHERE FID = 7")),
              70000.0);
    // decimal(28,10) times an int has 9 decimals, as SQL Server types it.
    EXPECT_EQ(scalar(db, "SELECT FQtyAct * 2 FROM Cnt WHERE FID = 8"), Variant(1e-9));
}

TEST_F(Statements, DeleteTruncateDropAndViews)
{
    db.Execute("CREATE VIEW v_Stock AS SELECT i.FNumber, s.FQty FROM Item i JOIN Stock s ON "
               "s.FItemID = i.FItemID");
    EXPECT_EQ(scalar(db, "SELECT FQty FROM v_Stock WHERE FNumber = 'B2'"), Variant(20.0));
    db.Execute("delete Stock where FItemID=1");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM v_Stock"), Variant(2));
    db.Execute("DELETE s FROM Stock s JOIN Item i ON i.FItemID = s.FItemID WHERE i.FNumber='C3'");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Stock"), Variant(1));
    db.Execute("TRUNCATE TABLE Stock");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Stock"), Variant(0));
    db.Execute("DROP VIEW v_Stock\r\nDROP TABLE Stock");
    EXPECT_THROW(db.Execute("SELECT * FROM Stock"), HostError);
    EXPECT_THROW(db.Execute("DROP TABLE Stock"), HostError);
}

TEST_F(Statements, TempTablesAndSelectInto)
{
    db.Execute("select FItemID, FNumber, FQty * 2 as FDouble, FAdded into #t from Item where "
               "FItemID < 3");
    auto rs = db.Execute("select * from #T order by FItemID");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->FieldCount(), 4);
    EXPECT_EQ(rs->Fields("FAdded").Value().type(), host::VariantType::Date);
    EXPECT_EQ(scalar(db, "select count(*) from #t where FNumber = 'B2'"), Variant(1));
    EXPECT_THROW(db.Execute("select FItemID into #t from Item"), HostError);
    EXPECT_THROW(db.Execute("select FItemID + 1 into #u from Item"), HostError);
    db.Execute("create table #Temp(fstock int,fsp int)\r\ninsert into #Temp select 1, 2\r\n"
               "select distinct fstock into #Temp2 from #Temp\r\ndrop table #Temp,#Temp2");
    EXPECT_TRUE(scalar(db, "select OBJECT_ID('tempdb..#Temp')").isNull());
}

TEST_F(Statements, GeneratedScriptForms)
{
    db.Execute(R"(
SET ANSI_NULLS ON
GO
IF OBJECT_ID('dbo.t_Unit') IS NOT NULL DROP TABLE dbo.t_Unit
GO
CREATE TABLE [dbo].[t_Unit](
  [FMeasureUnitID] [int] NOT NULL,
  [FName] [nvarchar](80) NOT NULL CONSTRAINT [DF_t_Unit_FName] DEFAULT (N''),
  CONSTRAINT [PK_t_Unit] PRIMARY KEY CLUSTERED ([FMeasureUnitID] ASC)
    WITH (PAD_INDEX = OFF, IGNORE_DUP_KEY = OFF) ON [PRIMARY]
) ON [PRIMARY]
GO
CREATE NONCLUSTERED INDEX [IX_t_Unit_Name] ON [dbo].[t_Unit] ([FName]) WITH (FILLFACTOR = 90) ON [PRIMARY]
INSERT INTO t_Unit (FMeasureUnitID) VALUES (1)
)");
    EXPECT_EQ(scalar(db, "SELECT '[' + FName + ']' FROM t_Unit"), Variant("[]"));
    db.Execute("IF OBJECT_ID('dbo.t_Unit') IS NOT NULL DROP TABLE dbo.t_Unit");
    EXPECT_TRUE(scalar(db, "SELECT OBJECT_ID('t_Unit')").isNull());
}

} // namespace
