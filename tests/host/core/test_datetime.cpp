#include "host/core/dateformatter.h"
#include "host/core/datetime.h"
#include "host/core/hosterror.h"

#include <gtest/gtest.h>

#include <utility>

using namespace host;

TEST(DateTime, SerialsMatchTheAutomationEpoch)
{
    EXPECT_EQ(makeDate(1899, 12, 30), 0);
    EXPECT_EQ(makeDate(1900, 1, 1), 2);
    EXPECT_EQ(makeDate(2000, 1, 1), 36526);
    const DateParts p = splitDate(makeDate(2026, 3, 1) - 1);
    EXPECT_EQ(p.year, 2026);
    EXPECT_EQ(p.month, 2);
    EXPECT_EQ(p.day, 28);
}

TEST(DateTime, TimeSurvivesTheRoundTrip)
{
    const auto serial = parseDate("2026-01-01 10:00:00.123");
    ASSERT_TRUE(serial);
    const DateParts p = splitDate(*serial);
    EXPECT_EQ(p.hour, 10);
    EXPECT_EQ(p.minute, 0);
    EXPECT_EQ(p.second, 0);
    EXPECT_EQ(p.millisecond, 123);
    EXPECT_EQ(formatDate(*serial, "YYYY-MM-DD HH:NN:SS.FFF"), "2026-01-01 10:00:00.123");
}

TEST(DateTime, FractionsOfASecondRoundToMilliseconds)
{
    const std::pair<const char *, int> cases[] = {
        {"2026-01-01 10:00:00.5", 500},         {"2026-01-01 10:00:00.07", 70},
        {"2026-01-01 10:00:00.1234", 123},      {"2026-01-01 10:00:00.1235", 124},
        {"2026-01-01 10:00:00.123499999", 123}, {"2026-01-01 10:00:00.123500000", 124},
        {"2026-01-01 10:00:00.0004", 0},        {"2026-01-01 10:00:00.0005", 1}};
    for (const auto &[text, ms] : cases) {
        const auto serial = parseDate(text);
        ASSERT_TRUE(serial) << text;
        EXPECT_EQ(splitDate(*serial).millisecond, ms) << text;
    }
    // Rounded up to a whole second, it is no time of the day any more.
    EXPECT_FALSE(parseDate("2026-01-01 10:00:00.9995"));
}

TEST(DateTime, RejectsWhatIsNotADate)
{
    for (const char *text : {"", "2026", "2026-13-01", "2026-02-30", "2026-01-01 25:00",
                             "2026-01-01x", "2026-1/01", "99-01-01"})
        EXPECT_FALSE(parseDate(text)) << text;
}

TEST(DateFormatter, FormatsDatesAndLeavesEmptyValuesEmpty)
{
    const DateFormatter f;
    EXPECT_EQ(f.format(Variant::fromDate(makeDate(2026, 7, 4)), "YYYY-MM-DD"), "2026-07-04");
    EXPECT_EQ(f.format(Variant("2026/7/4"), "YYYY-MM-DD"), "2026-07-04");
    EXPECT_EQ(f.format(Variant("2026-07-04"), "yyyymmdd"), "20260704");
    // MM next to the hour or the seconds is the minute.
    const std::pair<const char *, const char *> withTime[] = {
        {"YYYY-MM-DD HH:MM:SS", "2026-07-04 08:05:09"},
        {"YYYY-MM-DD HH:MM", "2026-07-04 08:05"},
        {"YYMMDDHHMMSS", "260704080509"},
        {"MM:SS", "05:09"}};
    for (const auto &[pattern, text] : withTime)
        EXPECT_EQ(f.format(Variant("2026-07-04 08:05:09"), pattern), text) << pattern;
    EXPECT_EQ(f.format(Variant(), "YYYY-MM-DD"), "");
    EXPECT_EQ(f.format(Variant::null(), "YYYY-MM-DD"), "");
    EXPECT_EQ(f.format(Variant("  "), "YYYY-MM-DD"), "");
    EXPECT_THROW(f.format(Variant("not a date"), "YYYY-MM-DD"), HostError);
}
