// The statements of the option, period and server-date routines, run as the module sends them.
#include "hostschema.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"

#include <gtest/gtest.h>

#include <cmath>

using host::Variant;
using testdb::crlf;
using testdb::scalar;

namespace {

class ProfileTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.openDatabase(":memory:");
        testdb::createHostTables(db);
        db.Execute("INSERT INTO t_SystemProfile (FCategory,FKey,FValue) VALUES "
                   "('IC','UseShortNumber','1'),('IC','StartYear','2026'),"
                   "('IC','StartPeriod','3'),('IC','CurrentPeriod','4 ')");
        db.Execute("INSERT INTO t_PeriodDate VALUES (2026,3,'2026-03-01','2026-03-31'),"
                   "(2026,4,'2026-04-01','2026-04-30')");
    }

    std::string saveAlert(const std::string &v)
    {
        return crlf({"IF EXISTS (SELECT * FROM t_systemProfile WHERE fkey = "
                     "'AlertSameCheckStockRecord' and fcategory = 'IC')",
                     "    UPDATE t_systemProfile SET FValue = " + v +
                         " WHERE  fkey='AlertSameCheckStockRecord' and fcategory = 'IC'",
                     "ELSE",
                     "INSERT INTO t_systemProfile "
                     "(FCategory,FKey,FValue,FReadonly,FDescription,FLevel,FExplanation,FFormat,"
                     "FSort,FDescription_cht,FDescription_en)",
                     "    VALUES('IC','AlertSameCheckStockRecord','" + v +
                         "',1,'盘点重复添加时给予提示 ','','','',0,'','')"});
    }

    host::AppConnection db;
};

TEST_F(ProfileTexts, SysProfileReadsOneCategoryAndKey)
{
    auto rs = db.Execute("select fkey,fvalue from t_systemprofile where fcategory in ('IC') and "
                         "fkey in ('CurrentPeriod')");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("fkey").Name(), "fkey");
    EXPECT_EQ(rs->Fields("FVALUE").Value(), Variant("4 "));
    // Several keys joined by quote, comma, quote; texts compare without regard to case.
    rs = db.Execute("select fkey,fvalue from t_systemprofile where fcategory in ('ic') and "
                    "fkey in ('startyear','StartPeriod')");
    EXPECT_EQ(rs->RecordCount(), 2);
}

TEST_F(ProfileTexts, AlertOptionIsInsertedOnceThenUpdated)
{
    db.Execute(saveAlert("1"));
    auto rs = db.Execute("select isnull(fvalue,'0') from t_systemprofile where "
                         "fkey='AlertSameCheckStockRecord' and fcategory = 'IC'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields(0L).Value(), Variant("1"));
    EXPECT_EQ(scalar(db, "SELECT FDescription FROM t_SystemProfile WHERE "
                         "FKey='AlertSameCheckStockRecord'"),
              Variant("盘点重复添加时给予提示 "));
    EXPECT_EQ(scalar(db, "SELECT FReadonly FROM t_SystemProfile WHERE "
                         "FKey='AlertSameCheckStockRecord'"),
              Variant(true));
    db.Execute(saveAlert("0"));
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM t_SystemProfile WHERE "
                         "FKey='AlertSameCheckStockRecord'"),
              Variant(1));
    // The update wrote the number 0 into a text column: it reads back as the text "0".
    EXPECT_EQ(scalar(db, "select isnull(fvalue,'0') from t_systemprofile where "
                         "fkey='AlertSameCheckStockRecord' and fcategory = 'IC'"),
              Variant("0"));
}

TEST_F(ProfileTexts, StartDateComesFromTheStartPeriod)
{
    const std::string sql = crlf(
        {"SELECT FStartDate FROM t_PeriodDate ",
         "WHERE FYear = (SELECT ISNULL(FValue,'') FROM t_SystemProfile WHERE FKey = 'StartYear' "
         "AND FCategory = 'IC')",
         "  AND FPeriod = (SELECT ISNULL(FValue,0) FROM t_SystemProfile WHERE FKey = "
         "'StartPeriod' AND FCategory = 'IC')"});
    EXPECT_EQ(scalar(db, sql), Variant::fromDate(host::makeDate(2026, 3, 1)));
    db.Execute("UPDATE t_SystemProfile SET FValue = '9' WHERE FKey = 'StartPeriod'");
    EXPECT_TRUE(db.Execute(sql)->EOF());
}

TEST_F(ProfileTexts, ServerDateAndPeriodValue)
{
    const Variant now = scalar(db, "Select GetDate()");
    ASSERT_EQ(now.type(), host::VariantType::Date);
    EXPECT_LT(std::fabs(now.dateValue() - host::now()), 1.0 / 24);
    const Variant period = scalar(db, "Select FValue From t_SystemProFile Where "
                                      "FKey='CurrentPeriod' And FCategory='IC'");
    EXPECT_EQ(host::Val(period), 4);
    EXPECT_TRUE(db.Execute("Select FValue From t_SystemProFile Where FKey='CurrentYear' And "
                           "FCategory='IC'")
                    ->EOF());
}

} // namespace
