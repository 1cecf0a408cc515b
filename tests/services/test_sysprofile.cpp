#include "servicesdatabase.h"

#include "host/billdata/sysinfo.h"
#include "host/billdata/systemprofile.h"
#include "host/core/hosterror.h"
#include "services/pubvariant.h"

#include <cmath>
#include <functional>

using namespace PubVariant;

using SystemProfile = ServicesDatabaseTest;

TEST_F(SystemProfile, ProfileEntriesByTrimmedKey)
{
    setOption("ICBillPos", "1");
    const auto both = GetSysProfile("IC", "ICBillPos','CurrentYear");
    EXPECT_EQ(both->Count(), 2);
    EXPECT_EQ(CStr(both->Value("ICBillPos")), "1");
    EXPECT_EQ(CLng(both->Value("CurrentYear")), kYear);
    EXPECT_EQ(GetSysProfile("IC", "NoSuchKey")->Count(), 0);
    // A quote inside a key is data, not SQL.
    EXPECT_EQ(GetSysProfile("IC", "a'b")->Count(), 0);
}

// The module's routines and the host's components read options through one reader: a key
// stored with trailing blanks, a Null and a missing row read alike for all of them.
TEST_F(SystemProfile, TheModuleAndTheHostReadOptionsAlike)
{
    db->Execute("insert into t_SystemProfile (FCategory,FKey,FValue) "
                "values ('IC','Padded  ','7'),('IC','Unset',NULL)");
    host::SysInfo info([this] { return db; });
    const auto both = GetSysProfile("IC", "Padded','Unset");
    EXPECT_EQ(CStr(both->Value("Padded")), "7");
    EXPECT_TRUE(both->Value("Unset").isNull());
    EXPECT_EQ(info.GetSysValue({}, "IC", "padded"), "7");
    EXPECT_EQ(host::readSystemOption(*db, "IC", "Padded"), host::Variant("7"));
    EXPECT_TRUE(host::readSystemOption(*db, "IC", "Unset")->isNull());

    EXPECT_FALSE(host::readSystemOption(*db, "IC", "Missing"));
    EXPECT_FALSE(host::readSystemOption(*db, "GL", "Padded"));
    for (const auto &read : std::initializer_list<std::function<void()>>{
             [&] { host::requireSystemOption(*db, "IC", "Missing"); },
             [&] { info.GetSysValue({}, "IC", "Missing"); }}) {
        try {
            read();
            ADD_FAILURE() << "a missing option was read";
        } catch (const host::HostError &e) {
            EXPECT_NE(e.Description().find("IC/Missing"), std::string::npos) << e.Description();
        }
    }
}

TEST_F(SystemProfile, ShortNumbersUnlessTheOptionSaysOtherwise)
{
    const std::pair<const char *, bool> cases[] = {{"1", false}, {"0", true}, {"2", true}};
    for (const auto &[value, full] : cases) {
        setOption("UseShortNumber", value);
        EXPECT_EQ(GetUseShortNumber(), full) << value;
    }
    dropOption("UseShortNumber");
    EXPECT_FALSE(GetUseShortNumber());
}

TEST_F(SystemProfile, CurrentPeriodDatesComeFromThePeriodTable)
{
    double start = 0;
    double end = 0;
    ASSERT_TRUE(GetCurPeriodDate(start, end));
    EXPECT_EQ(start, host::makeDate(kYear, kMonth, 1));
    EXPECT_EQ(end, host::makeDate(kYear, kMonth, 31));
    EXPECT_EQ(module().gCurPeriod, kMonth);
    EXPECT_TRUE(modals.messages().empty());
}

TEST_F(SystemProfile, PeriodWithoutItsRowsIsQuietOrReported)
{
    double start = 1;
    double end = 2;
    dropOption("CurrentPeriod");
    EXPECT_FALSE(GetCurPeriodDate(start, end));
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 2);
    EXPECT_TRUE(modals.messages().empty());

    setOption("CurrentPeriod", "12");
    dropOption("CurrentYear");
    EXPECT_FALSE(GetCurPeriodDate(start, end));
    ASSERT_EQ(modals.messages().size(), 1u);
    EXPECT_TRUE(modals.messages()[0].text.startsWith(
        QStringLiteral("获取本期的起始日期时出错。[GetPeriodStartEnd]")));
    EXPECT_GT(modals.messages()[0].text.size(),
              QStringLiteral("获取本期的起始日期时出错。[GetPeriodStartEnd]").size());
}

TEST_F(SystemProfile, ServerDateIsTodayWithoutTime)
{
    const double today = std::floor(host::now());
    const double server = GetServerDate();
    EXPECT_EQ(server, std::floor(server));
    EXPECT_NEAR(server, today, 1);
}

TEST_F(SystemProfile, PeriodChecksCompareTheServerDate)
{
    // The sample periods end in December of the current year; the server date is today.
    const double today = std::floor(host::now());
    EXPECT_EQ(CheckPeriodStart(0), today >= host::makeDate(kYear, kMonth, 1));
    EXPECT_EQ(CheckDate(), today >= host::makeDate(kYear, kMonth, 31));
    // Without period dates the held ones are used: the zero date lets both pass.
    resetModuleState();
    module().gAppConn = db;
    dropOption("CurrentPeriod");
    EXPECT_TRUE(CheckPeriodStart(0));
    EXPECT_TRUE(CheckDate());
}

TEST_F(SystemProfile, StartDateOfTheStartPeriod)
{
    const std::string year = host::CStr(
        scalar("select FValue from t_SystemProfile where FCategory='IC' and FKey='StartYear'"));
    const std::string period = host::CStr(
        scalar("select FValue from t_SystemProfile where FCategory='IC' and FKey='StartPeriod'"));
    const std::string expected = host::CStr(scalar(
        "select FStartDate from t_PeriodDate where FYear=" + year + " and FPeriod=" + period));
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(GetStartDate(), expected);
    setOption("StartYear", "1990");
    EXPECT_EQ(GetStartDate(), "");
}

TEST_F(SystemProfile, AlertOptionReadAndSaved)
{
    const std::pair<const char *, bool> cases[] = {
        {"1", true}, {"0", false}, {"", false}, {"yes", false}};
    for (const auto &[value, expected] : cases) {
        setOption("AlertSameCheckStockRecord", value);
        bool alert = !expected;
        EXPECT_TRUE(GetAlertSameCheck(alert));
        EXPECT_EQ(alert, expected) << value;
        EXPECT_EQ(module().gAlertSameCheckStockRecord, expected);
    }
    db->Execute("update t_SystemProfile set FValue=NULL where FKey='AlertSameCheckStockRecord'");
    bool alert = true;
    GetAlertSameCheck(alert);
    EXPECT_FALSE(alert);

    dropOption("AlertSameCheckStockRecord");
    alert = true;
    EXPECT_TRUE(GetAlertSameCheck(alert));
    EXPECT_TRUE(alert); // no row: the caller's value stays

    SaveAlertSameCheck(true);
    EXPECT_TRUE(module().gAlertSameCheckStockRecord);
    const auto rs = db->Execute("select FValue,FReadonly,FDescription,FSort from t_SystemProfile "
                                "where FKey='AlertSameCheckStockRecord'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(host::CStr(rs->Fields("FValue").Value()), "1");
    EXPECT_TRUE(host::CBool(rs->Fields("FReadonly").Value()));
    EXPECT_EQ(host::CStr(rs->Fields("FDescription").Value()), "盘点重复添加时给予提示 ");
    SaveAlertSameCheck(false);
    EXPECT_EQ(host::CStr(scalar("select FValue from t_SystemProfile where "
                                "FKey='AlertSameCheckStockRecord'")),
              "0");
    EXPECT_FALSE(module().gAlertSameCheckStockRecord);
}

TEST_F(SystemProfile, FailuresShowTheirMessage)
{
    db->Execute("drop table t_SystemProfile");
    bool alert = true;
    EXPECT_FALSE(GetAlertSameCheck(alert));
    module().gAlertSameCheckStockRecord = true;
    SaveAlertSameCheck(false);
    EXPECT_TRUE(module().gAlertSameCheckStockRecord);
    const QStringList texts = modals.messageTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], QStringLiteral("读取系统设置错误!"));
    EXPECT_EQ(texts[1], QStringLiteral("保存系统设置错误!"));
    EXPECT_EQ(modals.messages()[0].title, QStringLiteral("Hembrel提示"));
}
