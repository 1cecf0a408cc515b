// Values that do not fit their column or type are refused with SQL Server's error on every write
// path, and nothing of the failing statement is written.
#include "hostschema.h"

#include "host/core/hosterror.h"
#include "host/db/bulkinsert.h"

#include <gtest/gtest.h>

using host::Variant;
using testdb::scalar;

namespace {

class Limits : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        db.Execute("CREATE TABLE Lim (FID int, FInt int, FSmall smallint, FTiny tinyint, "
                   "FBig bigint, FQty decimal(5,2), FName varchar(4), FWide nvarchar(3), "
                   "FDate datetime, FFloat float)\r\n"
                   "INSERT INTO Lim (FID) VALUES (1)");
    }
    // The error of sql, or "" when it ran.
    std::string errorOf(const std::string &sql)
    {
        try {
            db.Execute(sql);
        } catch (const host::HostError &e) {
            return e.Description();
        }
        return {};
    }
    std::string snapshot()
    {
        auto rs = db.Execute("SELECT * FROM Lim ORDER BY FID");
        std::string out;
        for (; !rs->EOF(); rs->MoveNext()) {
            for (long i = 0; i < rs->FieldCount(); ++i)
                out += rs->Fields(i).Value().isNull() ? "NULL|"
                                                      : host::CStr(rs->Fields(i).Value()) + "|";
            out += "\n";
        }
        return out;
    }
    host::AppConnection db;
};

struct Refusal
{
    const char *column;
    const char *value;
    const char *error; // a part of SQL Server's message
};

const Refusal kRefusals[] = {
    {"FInt", "3000000000", "Arithmetic overflow error converting expression to data type int."},
    {"FInt", "-2147483649", "data type int"},
    {"FInt", "1e308", "data type int"},
    {"FInt", "'3000000000'", "overflowed an int column"},
    {"FInt", "2147483647 + 1", "data type int"},
    {"FSmall", "40000", "data type smallint"},
    {"FTiny", "256", "data type tinyint"},
    {"FTiny", "-1", "data type tinyint"},
    {"FBig", "1e19", "data type bigint"},
    {"FBig", "'9223372036854775808'", "overflowed an bigint column"},
    {"FQty", "1000", "data type numeric"},
    {"FQty", "999.996", "data type numeric"},
    {"FQty", "'12345'", "data type numeric"},
    {"FQty", "FInt", "data type numeric"}, // the row's FInt holds 2147483647 below
    // The refusal names the column and its length, counted as SQL Server counts it.
    {"FName", "'abcde'",
     "String or binary data would be truncated in table 'Lim', column 'FName': it holds 4 bytes"},
    {"FName", "'中文中'",
     "column 'FName': it holds 4 bytes (a Chinese character takes two), the "
     "value has 6."},
    {"FName", "FName + 'x'", "column 'FName'"},
    {"FWide", "N'中文中文'", "column 'FWide': it holds 3 characters, the value has 4."},
    {"FDate", "'1752-12-31'", "out-of-range value"},
    {"FDate", "1e308", "data type datetime"},
    {"FDate", "-100000", "data type datetime"},
    {"FDate", "DATEADD(yy, 8000, '2026-01-01')", "caused an overflow"},
    {"FDate", "DATEADD(d, -1, '1753-01-01')", "caused an overflow"},
    {"FDate", "DATEADD(d, 1e10, '2026-01-01')", "data type int"},
    {"FDate", "CONVERT(datetime, '2026-01-01') + 3000000", "caused an overflow"},
    {"FFloat", "'1e999'", "to data type float"},
    {"FFloat", "1e308 * 10", "data type float"},
    {"FFloat", "1e999", "out of the range of computer representation"},
};

TEST_F(Limits, EveryWritePathRefusesAValueThatDoesNotFit)
{
    db.Execute("UPDATE Lim SET FInt = 2147483647, FName = 'abcd'");
    const std::string before = snapshot();
    for (const auto &r : kRefusals) {
        const std::string value = r.value;
        const std::string column = r.column;
        const std::string paths[] = {
            "UPDATE Lim SET " + column + " = " + value,
            "INSERT INTO Lim (FID, " + column + ") SELECT 2, " + value + " FROM Lim",
            "INSERT INTO Lim (FID, " + column + ") VALUES (2, " + value + ")",
        };
        for (const auto &sql : paths) {
            if (sql.find("FROM Lim") == std::string::npos && value.find("F") == 0)
                continue; // a column reference needs a row to read
            EXPECT_NE(errorOf(sql).find(r.error), std::string::npos)
                << sql << " gave: " << errorOf(sql);
        }
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Limits, ValuesAtTheEdgesAreStored)
{
    const Refusal edges[] = {
        {"FInt", "2147483647", "2147483647"},
        {"FInt", "-2147483648", "-2147483648"},
        {"FInt", "'-2147483648'", "-2147483648"},
        {"FInt", "2.9", "2"},
        {"FSmall", "-32768", "-32768"},
        {"FTiny", "255", "255"},
        {"FBig", "'9223372036854775807'", "9223372036854775807"},
        {"FQty", "999.994", "999.99"},
        {"FQty", "-999.99", "-999.99"},
        {"FName", "'abcd    '", "abcd"},
        {"FName", "'中文'", "中文"},
        {"FWide", "N'中文字'", "中文字"},
        {"FDate", "'1753-01-01'", "1753-01-01"},
        {"FDate", "'9999-12-31 23:59:59'", "9999-12-31 23:59:59"},
        {"FDate", "DATEADD(yy, 7973, '2026-01-01')", "9999-01-01"},
        {"FFloat", "1e308", "1E+308"},
        {"FFloat", "'1e-999'", "0"},
    };
    for (const auto &e : edges) {
        const std::string column = e.column;
        db.Execute("UPDATE Lim SET " + column + " = " + e.value);
        EXPECT_EQ(host::CStr(scalar(db, "SELECT " + column + " FROM Lim")), e.error) << e.value;
        db.Execute("INSERT INTO Lim (FID, " + column + ") VALUES (2, " + e.value + ")");
        EXPECT_EQ(host::CStr(scalar(db, "SELECT " + column + " FROM Lim WHERE FID = 2")), e.error);
        db.Execute("DELETE FROM Lim WHERE FID = 2");
    }
}

TEST_F(Limits, ConversionsRefuseWhatTheTargetCannotHold)
{
    const Refusal conversions[] = {
        {"", "CAST(3000000000 AS int)", "data type int"},
        {"", "CAST(1e308 AS int)", "data type int"},
        {"", "CONVERT(smallint, 40000)", "data type smallint"},
        {"", "CAST('1752-01-01' AS datetime)", "out-of-range value"},
        {"", "CONVERT(datetime, 1e308)", "data type datetime"},
        {"", "CAST(12345.6 AS decimal(5,2))", "data type numeric"},
        {"", "CAST('1e999' AS float)", "data type float"},
        {"", "DATEPART(yy, 1e308)", "data type datetime"},
        {"", "1e308 * 10", "data type float"},
        {"", "(SELECT 1 FROM (SELECT 1e999 AS x) d)", "out of the range"},
    };
    for (const auto &c : conversions)
        EXPECT_NE(errorOf(std::string("SELECT ") + c.value).find(c.error), std::string::npos)
            << c.value << " gave: " << errorOf(std::string("SELECT ") + c.value);
    // A column of no declared type adds by the values: bigint's end is an error, not a wrap.
    EXPECT_NE(errorOf("SELECT NULL AS a INTO #u\r\nUPDATE #u SET a = 9223372036854775807\r\n"
                      "SELECT a + 1 FROM #u")
                  .find("data type bigint"),
              std::string::npos);
    EXPECT_EQ(scalar(db, "SELECT CAST(2147483647 AS int)"), Variant(2147483647));
    EXPECT_EQ(scalar(db, "SELECT ROUND(1e300, 2000000000, 1)"), Variant(1e300));
    EXPECT_EQ(scalar(db, "SELECT ROUND(2.5, -2147483648)"), Variant(0.0));
    EXPECT_TRUE(scalar(db, "SELECT STR(1, 2000000000)").isNull());
}

// Outside a column SQL Server cuts a text to its type's length without an error: a variable, an
// ISNULL's replacement, REPLICATE and SPACE (8,000 bytes, 4,000 characters of an nvarchar,
// unless the text repeated is of a max type).
TEST_F(Limits, TextsOutsideAColumnAreCutAsTheServerCutsThem)
{
    db.Execute("CREATE TABLE Wide (FMax varchar(max), FText ntext)\r\n"
               "INSERT INTO Wide VALUES ('ab', N'ab')");
    struct Cut
    {
        const char *batch;
        Variant value;
    };
    const Cut cuts[] = {
        {"DECLARE @v varchar(3) SET @v = 'abcdef' SELECT @v", "abc"},
        {"DECLARE @v varchar(5) = '中文中' SELECT @v", "中文"},
        {"DECLARE @v nvarchar(2) SELECT @v = N'中文中' SELECT @v", "中文"},
        {"DECLARE @v varchar(3) SELECT @v = FName + 'xyz' FROM Lim SELECT @v", "abc"},
        {"DECLARE @v varchar(2) SET @v = 12345 SELECT @v", "*"},
        {"SELECT ISNULL(FWide, N'四五六七') FROM Lim", "四五六"},
        {"SELECT LEN(REPLICATE(N'盘', 3000))", 3000},
        {"SELECT LEN(REPLICATE('盘', 3000))", 3000},
        {"SELECT LEN(REPLICATE('盘', 5000))", 4000},
        {"SELECT LEN(REPLICATE(N'a', 5000))", 4000},
        {"SELECT LEN(REPLICATE('ab', 4000))", 8000},
        {"SELECT LEN(REPLICATE('abc', 1e18))", 8000},
        {"SELECT RIGHT(REPLICATE('abc', 3000), 3)", "cab"},
        {"SELECT LEN(REPLICATE('', 1e18))", 0},
        {"SELECT DATALENGTH(SPACE(1e18))", 8000},
        {"SELECT SPACE(-1)", Variant::null()},
        {"DECLARE @m varchar(max) = 'ab' SELECT LEN(REPLICATE(@m, 5000))", 10000},
        {"SELECT LEN(REPLICATE(FMax, 5000)) FROM Wide", 10000},
        {"SELECT LEN(REPLICATE(FText, 5000)) FROM Wide", 10000},
        {"DECLARE @a varchar(5000) SET @a = REPLICATE('a', 5000) SELECT LEN(@a + @a)", 8000},
        {"DECLARE @a nvarchar(3000) SET @a = REPLICATE(N'a', 3000) SELECT LEN(@a + 'b' + @a)",
         4000},
        {"SELECT LEN(FMax + REPLICATE('a', 8000)) FROM Wide", 8002},
    };
    db.Execute("UPDATE Lim SET FName = 'abcd'");
    for (const auto &c : cuts) {
        try {
            EXPECT_EQ(scalar(db, c.batch), c.value) << c.batch;
        } catch (const host::HostError &e) {
            ADD_FAILURE() << c.batch << " gave: " << e.Description();
        }
    }
    // A decimal is never cut short; the layer refuses a max text beyond what SQLite holds.
    EXPECT_NE(errorOf("DECLARE @v varchar(2) SET @v = 1.25").find("data type varchar"),
              std::string::npos);
    EXPECT_NE(errorOf("SELECT LEN(REPLICATE(FMax, 1e18)) FROM Wide")
                  .find("embedded database does not support texts of more than"),
              std::string::npos);
}

TEST_F(Limits, BulkInsertRefusesTheRowAndKeepsNothing)
{
    const std::vector<Variant> rows[] = {
        {3000000000LL, "ab", 1.5, "2026-01-01"}, {1, "abcde", 1.5, "2026-01-01"},
        {1, "ab", 1000.0, "2026-01-01"},         {1, "ab", 1.5, "1700-01-01"},
        {1, "ab", "1e999", "2026-01-01"},        {1, "ab", 1.5, Variant::fromDate(3e6)},
    };
    for (const auto &row : rows) {
        host::BulkInsert bulk(db, "Lim", {"FInt", "FName", "FQty", "FDate"});
        bulk.add({1, "ab", 1.5, "2026-01-01"});
        EXPECT_THROW(bulk.add(row), host::HostError) << host::CStr(row[0]);
    }
    host::BulkInsert bulk(db, "Lim", {"FName"});
    try {
        bulk.add({"abcde"});
        ADD_FAILURE() << "a text too long was stored";
    } catch (const host::HostError &e) {
        EXPECT_NE(e.Description().find("table 'Lim', column 'FName'"), std::string::npos);
    }
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Lim"), Variant(1));
}

} // namespace
