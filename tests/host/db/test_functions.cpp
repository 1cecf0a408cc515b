// SQL Server's built-in functions and operators as the layer evaluates them.
#include "hostschema.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"

#include <gtest/gtest.h>

using host::Variant;

namespace {

Variant date(int y, int m, int d)
{
    return Variant::fromDate(host::makeDate(y, m, d));
}

struct Case
{
    const char *expression;
    Variant expected;
};

class Functions : public ::testing::Test
{
protected:
    void SetUp() override { db.openDatabase(":memory:"); }
    void check(const Case &c)
    {
        EXPECT_EQ(testdb::scalar(db, std::string("SELECT ") + c.expression), c.expected)
            << c.expression << " gave "
            << host::CStr(testdb::scalar(db, std::string("SELECT ") + c.expression));
    }
    host::AppConnection db;
};

TEST_F(Functions, DateArithmetic)
{
    const Case cases[] = {
        {"DATEADD(m,1,'2026-01-31')", date(2026, 2, 28)},
        {"DATEADD(yy,1,'2024-02-29')", date(2025, 2, 28)},
        {"DATEADD(ww,2,'2026-11-04')", date(2026, 11, 18)},
        {"DATEADD(d,-1,'2026-03-01')", date(2026, 2, 28)},
        {"DATEADD(hh,36,'2026-03-01')",
         Variant::fromDate(host::makeDate({2026, 3, 2, 12, 0, 0, 0}))},
        {"DATEDIFF(dd,'2026-12-07 23:59','2026-12-08 00:01')", 1},
        {"DATEDIFF(mm,'2026-01-31','2026-02-01')", 1},
        {"DATEDIFF(yy,'2026-12-31','2025-01-01')", -1},
        {"DATEDIFF(wk,'2026-12-05','2026-12-06')", 1},
        {"DATEDIFF(dd,'2026-12-07',NULL)", Variant::null()},
        {"DATEPART(dw,'2026-12-07')", 2},
        {"DATEPART(wk,'2026-01-04')", 2},
        {"DATEPART(dy,'2026-02-01')", 32},
        {"DATEPART(m,'2026-02-01')", 2},
        {"YEAR('2026-03-05') * 100 + MONTH('2026-03-05')", 202603},
        {"CONVERT(DATETIME,'2026-03-05') - 1", date(2026, 3, 4)},
        {"CONVERT(DATETIME,'2026-03-05') + 1", date(2026, 3, 6)},
        {"CONVERT(DATETIME,'')", date(1900, 1, 1)},
        {"CONVERT(DATETIME,'  ')", date(1900, 1, 1)},
        {"CONVERT(DATETIME,' 2024-02-29 ')", date(2024, 2, 29)},
        {"CONVERT(DATETIME,'2026-03-05 08:30')",
         Variant::fromDate(host::makeDate({2026, 3, 5, 8, 30, 0, 0}))},
        {"CONVERT(DATETIME,'20260305')", date(2026, 3, 5)},
        {"CASE WHEN CONVERT(DATETIME,'2026-03-05') = '2026-03-05' THEN 1 ELSE 0 END", 1},
        {"CASE WHEN CONVERT(DATETIME,'2026-03-05 10:00') <= '2026-03-05' THEN 1 ELSE 0 END", 0},
        // Days counted from a date a union, CASE or COALESCE made of '' or 0: 1900-01-01.
        {"ISNULL((SELECT id FROM (SELECT 1 AS id, CAST('2024-01-05' AS datetime) AS d UNION ALL "
         "SELECT 2, '') x WHERE DATEDIFF(dd, d, '1900-01-05') = 4), 0)",
         2},
        {"ISNULL((SELECT SUM(id) FROM (SELECT 1 AS id, CAST('2024-01-05' AS datetime) AS d "
         "UNION ALL SELECT 2, 0 UNION ALL SELECT 4, '') x WHERE DATEDIFF(dd, '1900-01-03', d) = "
         "-2), 0)",
         2 + 4},
        {"(SELECT COUNT(*) FROM (SELECT CASE WHEN 1=0 THEN GETDATE() ELSE '' END AS d) x "
         "WHERE DATEDIFF(dd, '1900-01-01', d) = 0)",
         1},
        {"(SELECT COUNT(*) FROM (SELECT COALESCE(CAST(NULL AS datetime), 0) AS d) x "
         "WHERE DATEDIFF(dd, d, '1900-01-02') = 1)",
         1},
        {"ISNULL((SELECT d FROM (SELECT CAST('2024-01-05' AS datetime) AS d UNION ALL SELECT '') "
         "x WHERE DATEDIFF(dd, d, '2024-01-05') > 0), '2000-01-01')",
         date(1900, 1, 1)},
    };
    for (const auto &c : cases)
        check(c);
    db.Execute("SET DATEFIRST 1");
    check({"DATEPART(dw,'2026-12-07')", 1});
    check({"DATEPART(dw,'2026-12-06')", 7});
    for (const char *none : {"soon", "2026-02-29", "2026-13-01", "1700-01-01"})
        EXPECT_THROW(db.Execute(std::string("SELECT CONVERT(DATETIME,'") + none + "')"),
                     host::HostError)
            << none;
    EXPECT_THROW(db.Execute("SELECT DATEADD(fortnight,1,GETDATE())"), host::HostError);
}

// Days counted between a constant and a date column, compared with a number, as conditions on
// the column's rows: each row a bit, the last day before, the first and last moment of the day,
// the next day, no date, and datetime's first and last days.
TEST_F(Functions, DayDifferenceConditions)
{
    db.Execute("CREATE TABLE d (bit int, at datetime NULL)\r\n"
               "INSERT INTO d VALUES (1,'2026-12-07 23:59:59.997'),(2,'2026-12-08'),"
               "(4,'2026-12-08 23:59:59.997'),(8,'2026-12-09'),(16,NULL),(32,'1753-01-01'),"
               "(64,'9999-12-31 23:59:59.997')");
    const Case cases[] = {
        {"DATEDIFF(dd,'2026-12-08 10:30',at) <= 0", 1 + 2 + 4 + 32},
        {"DATEDIFF(day,'2026-12-08',at) < 0", 1 + 32},
        {"DATEDIFF(dd,'2026-12-08',at) >= 1", 8 + 64},
        {"DATEDIFF(dd,'2026-12-08',at) > 0", 8 + 64},
        {"DATEDIFF(dd,'2026-12-08',at) = 0", 2 + 4},
        {"DATEDIFF(dd,'2026-12-08',at) <> 0", 1 + 8 + 32 + 64},
        {"DATEDIFF(dd,at,'2026-12-08 00:00') <= 0", 2 + 4 + 8 + 64},
        {"DATEDIFF(dd,at,'2026-12-08') >= 1", 1 + 32},
        {"DATEDIFF(dd,at,'2026-12-09') = 1", 2 + 4},
        {"DATEDIFF(dd,'2026-12-08',at) <= 0.5", 1 + 2 + 4 + 32},
        {"DATEDIFF(dd,'2026-12-08',at) >= 0.5", 8 + 64},
        {"DATEDIFF(dd,'2026-12-08',at) < -1000000", 0},
        {"DATEDIFF(dd,'2026-12-08',at) >= -1000000", 1 + 2 + 4 + 8 + 32 + 64},
        {"DATEDIFF(dd,'2026-12-08',at) <= 3000000", 1 + 2 + 4 + 8 + 32 + 64},
        {"DATEDIFF(dd,'2026-12-08',at) > 3000000", 0},
        {"DATEDIFF(dd,'',at) <= 0", 32},
    };
    for (const auto &c : cases)
        check(
            {(std::string("ISNULL(SUM(bit),0) FROM d WHERE ") + c.expression).c_str(), c.expected});
}

// A text column's dates compared converted with a constant, as count lines are found by their
// key: each row a bit, no date, two days, a time of day, a null, and the same dates in the other
// forms SQL Server reads (1900-01-01 for no date, a midnight written out, slashes, blanks).
TEST_F(Functions, TextDatesComparedWithAConstant)
{
    db.Execute("CREATE TABLE k (bit int, kf varchar(23) NULL)\r\n"
               "INSERT INTO k VALUES (1,''),(2,'2026-12-08'),(4,'2026-12-09'),"
               "(8,'2026-12-09 10:30:00.000'),(16,NULL),(32,'1900-01-01'),"
               "(64,'2026-12-08 00:00:00.000'),(128,'2026-12-08 00:00:00'),(256,'2026/12/8'),"
               "(512,' 2026-12-08 '),(1024,'  '),(2048,'2026/12/9 10:30')");
    constexpr int none = 1 + 32 + 1024;
    constexpr int day = 2 + 64 + 128 + 256 + 512;
    const Case cases[] = {
        {"CONVERT(DATETIME,kf) = ''", none},
        {"CONVERT(DATETIME,kf) = '1900-01-01'", none},
        {"CONVERT(DATETIME,kf) = 0", none},
        {"CONVERT(DATETIME,kf) = '2026-12-08'", day},
        {"CONVERT(DATETIME,kf) = ' 2026-12-08 '", day},
        {"CONVERT(DATETIME,kf) = '20261208'", day},
        {"'2026-12-09' = CONVERT(DATETIME,kf)", 4},
        {"CONVERT(DATETIME,kf) = '2026-12-09 10:30'", 8 + 2048},
        {"CONVERT(DATETIME,kf) = NULL", 0},
        {"CONVERT(DATETIME,kf) <> '2026-12-08'", 1 + 4 + 8 + 32 + 1024 + 2048},
    };
    for (const auto &c : cases)
        check(
            {(std::string("ISNULL(SUM(bit),0) FROM k WHERE ") + c.expression).c_str(), c.expected});
    // A text that is no date is another line's key: it matches nothing and stops no lookup.
    db.Execute("INSERT INTO k VALUES (4096,'0')");
    check({"ISNULL(SUM(bit),0) FROM k WHERE CONVERT(DATETIME,kf) = '2026-12-08'", day});
}

TEST_F(Functions, TextsAndConversions)
{
    const Case cases[] = {
        {"CONVERT(varchar,CONVERT(DATETIME,'2026-03-05 14:07:09'),112)", "20260305"},
        {"convert(varchar(10),CONVERT(DATETIME,'2026-03-05 14:07:09'),120)", "2026-03-05"},
        {"CONVERT(varchar(19),CONVERT(DATETIME,'2026-03-05 14:07:09'),120)", "2026-03-05 14:07:09"},
        {"CONVERT(varchar(10),CONVERT(DATETIME,'2026-03-05'),111)", "2026/03/05"},
        {"CONVERT(varchar(10), 12.5)", "12.5"},
        {"CONVERT(varchar(2), 'abc')", "ab"},
        {"CAST('7' AS int) + 1", 8},
        {"CAST(1.23456 AS decimal(28,2))", 1.23},
        {"CAST(2.5 AS int)", 2},
        {"'12' + 3", 15},
        {"'ab' + 'cd'", "abcd"},
        {"'ab' + NULL", Variant::null()},
        {"REPLICATE('0', 4 - LEN('7')) + '7'", "0007"},
        {"REPLICATE('0', -1)", Variant::null()},
        {"STR(7)", "         7"},
        {"STR(3.14159, 6, 2)", "  3.14"},
        {"STR(123456, 3)", "***"},
        {"LEN('ab  ')", 2},
        {"LEN(1234)", 4},
        // DATALENGTH counts bytes as the server stores them: two for a character of an
        // nvarchar, two for a Chinese character in the code page of a varchar.
        {"DATALENGTH(N'a')", 2},
        {"DATALENGTH('盘a')", 3},
        {"DATALENGTH(N'盘a')", 4},
        {"DATALENGTH(CONVERT(nvarchar(10), 'ab '))", 6},
        {"DATALENGTH(7)", 4},
        {"DATALENGTH(CAST(7 AS decimal(28,10)))", 13},
        {"DATALENGTH(GETDATE())", 8},
        {"DATALENGTH(NULL)", Variant::null()},
        {"LTRIM(RTRIM('  x  '))", "x"},
        {"RTRIM(NULL)", Variant::null()},
        {"UPPER(RTRIM(N'盘点 ab  '))", "盘点 AB"},
        {"RTRIM(12.5) + 'x'", "12.5x"},
        {"ISNULL(NULL, 'd')", "d"},
        {"SUBSTRING('abcdef', 2, 3)", "bcd"},
        {"LEFT('abc', 2) + RIGHT('abc', 2)", "abbc"},
        {"CHARINDEX('c','abcd')", 3},
        {"UPPER('ab') + LOWER('CD')", "ABcd"},
        {"REPLACE('a-b-c', '-', '')", "abc"},
        {"COALESCE(NULL, NULL, 3)", 3},
        {"NULLIF(1,1)", Variant::null()},
        {"CASE WHEN 'a' = 'A ' THEN 1 ELSE 0 END", 1},
        {"CASE 'x' WHEN 'X' THEN 'yes' END", "yes"},
    };
    for (const auto &c : cases)
        check(c);
    EXPECT_THROW(db.Execute("SELECT 'ab' + 1"), host::HostError);
    EXPECT_THROW(db.Execute("SELECT NOSUCHFUNCTION(1)"), host::HostError);
}

TEST_F(Functions, Numbers)
{
    const Case cases[] = {
        {"7 / 2", 3},
        {"7 % 3", 1},
        {"7.0 / 2", 3.5},
        {"-7 / 2", -3},
        {"ROUND(1.235, 2)", 1.24},
        {"ROUND(-1.5, 0)", -2.0},
        {"ROUND(1.239, 2, 1)", 1.23},
        {"ROUND(15, -1)", 20},
        {"ROUND(1234.5, -2)", 1200.0},
        {"ROUND(-1250, -2)", -1300},
        {"SIGN(-2.5) + SIGN(0) + SIGN(7)", 0.0},
        {"SIGN(-3)", -1},
        {"FLOOR(-1.5)", -2.0},
        {"CEILING(1.2)", 2.0},
        {"ABS(-3)", 3},
        {"1 + 2 * 3 - 4", 3},
        {"(datepart(yy,'2027-01-01')%4)", 3},
        {"~0", -1},
        {"6 & 3 | 8", 10},
        // Integer quotients truncate; a decimal or a float on either side keeps the fraction.
        {"7 / 2.0", 3.5},
        {"CAST(7 AS decimal(5,2)) / 2", 3.5},
        {"7 / CAST(2 AS float)", 3.5},
        {"'7' / 2", 3},
        {"7.5 % 2", 1.5},
        {"-7 % 3", -1},
        // Decimal results have SQL Server's scale: 1.0/3 keeps 12 places, 2/3.0 keeps 6.
        {"1.0 / 3", 0.333333333333},
        {"2 / 3.0 * 3", 2.000001},
        {"0.1 + 0.2 - 0.3", 0.0},
        {"0.1 * 3 - 0.3", 0.0},
        {"-1.0 / 3", -0.333333333333},
        {"NULL / 0", Variant::null()},
        {"1.5 / NULL", Variant::null()},
        {"CASE WHEN 1 = 0 THEN 1 / 0 ELSE 2 END", 2},
        // Decimals round half away from zero on either side, as written.
        {"CAST(-1.5 AS decimal(28,0))", -2.0},
        {"CAST(2.5 AS decimal(28,0))", 3.0},
        {"CAST(-2.345 AS decimal(28,2))", -2.35},
        {"CAST(1.005 AS decimal(28,2))", 1.01},
        {"-0.5 * 3", -1.5},
        // A minus keeps a decimal's digits, which beyond 15 round as they are stored.
        {"-0.0625", -0.0625},
        {"-123456.1234567891", -123456.123456789},
    };
    for (const auto &c : cases)
        check(c);
    EXPECT_EQ(host::CStr(testdb::scalar(db, "SELECT -(0.1 + 0.2 - 0.3)")), "0");
    EXPECT_EQ(host::CStr(testdb::scalar(db, "SELECT CAST(-0.001 AS decimal(28,2))")), "0");
    EXPECT_THROW(db.Execute("SELECT CAST(1e308 AS float) / 0.1"), host::HostError);
    EXPECT_THROW(db.Execute("SELECT CAST(1000 AS decimal(5,2))"), host::HostError);
}

TEST_F(Functions, DivisionByZeroIsAnError)
{
    db.Execute("CREATE TABLE n (i int, d decimal(18,2))\r\nINSERT INTO n VALUES (0, 0)");
    for (const char *sql : {"SELECT 1 / 0", "SELECT 1.5 / 0", "SELECT 5 % 0", "SELECT 1 / i FROM n",
                            "SELECT 2.0 / d FROM n", "UPDATE n SET d = 1 / d"}) {
        try {
            db.Execute(sql);
            ADD_FAILURE() << sql;
        } catch (const host::HostError &e) {
            EXPECT_TRUE(e.Description().starts_with("Divide by zero error encountered."))
                << e.Description();
        }
    }
}

} // namespace
