#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/variant.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace host;

namespace {

long errorNumber(auto &&f)
{
    try {
        f();
    } catch (const HostError &e) {
        return e.Number();
    }
    return 0;
}

} // namespace

TEST(Val, ReadsTheLeadingNumber)
{
    struct Case
    {
        const char *text;
        double expected;
    };
    const Case cases[] = {
        {"12abc", 12},  {"", 0},          {"abc", 0},     {"  -3.5kg", -3.5},
        {"1 2 3", 123}, {"1.5E3x", 1500}, {"1e", 1},      {"&H1F", 31},
        {"&O17", 15},   {".5", 0.5},      {"1.2.3", 1.2}, {"+7", 7},
        {"0012", 12},   {"-", 0},         {"1D2", 100},   {"\t42\n", 42},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(Val(c.text), c.expected) << c.text;
}

TEST(Val, OfVariants)
{
    EXPECT_EQ(Val(Variant()), 0);
    EXPECT_EQ(Val(Variant(7)), 7);
    EXPECT_EQ(Val(Variant(2.25)), 2.25);
    EXPECT_EQ(Val(Variant("4 boxes")), 4);
    EXPECT_EQ(errorNumber([] { Val(Variant::null()); }), HostError::InvalidUseOfNull);
}

TEST(CLng, RoundsHalfToEven)
{
    struct Case
    {
        double in;
        long out;
    };
    const Case cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2}, {3.5, 4}, {-0.5, 0},
                          {-1.5, -2}, {-2.5, -2}, {2.4, 2}, {2.6, 3}, {-2.6, -3}};
    for (const auto &c : cases)
        EXPECT_EQ(CLng(Variant(c.in)), c.out) << c.in;
    EXPECT_EQ(CInt(Variant(6.5)), 6);
    EXPECT_EQ(CLng(Variant("  2.5 ")), 2);
}

TEST(CLng, ConvertsOrFails)
{
    EXPECT_EQ(CLng(Variant()), 0);
    EXPECT_EQ(CLng(Variant(true)), -1);
    EXPECT_EQ(CLng(Variant("&H10")), 16);
    EXPECT_EQ(CLng(Variant(2147483647.0)), 2147483647);
    EXPECT_EQ(errorNumber([] { CLng(Variant(2147483648.0)); }), HostError::Overflow);
    EXPECT_EQ(errorNumber([] { CInt(Variant(32768)); }), HostError::Overflow);
    EXPECT_EQ(errorNumber([] { CLng(Variant("12abc")); }), HostError::TypeMismatch);
    EXPECT_EQ(errorNumber([] { CLng(Variant("")); }), HostError::TypeMismatch);
    EXPECT_EQ(errorNumber([] { CLng(Variant::null()); }), HostError::InvalidUseOfNull);
    EXPECT_EQ(errorNumber([] { CDbl(Variant(std::nan(""))); }), 0);
    EXPECT_EQ(errorNumber([] { CLng(Variant(std::nan(""))); }), HostError::Overflow);
}

TEST(CBool, OfNumbersTextsAndNull)
{
    EXPECT_TRUE(CBool(Variant(1)));
    EXPECT_TRUE(CBool(Variant(-0.5)));
    EXPECT_FALSE(CBool(Variant(0)));
    EXPECT_FALSE(CBool(Variant()));
    EXPECT_TRUE(CBool(Variant("True")));
    EXPECT_TRUE(CBool(Variant("true")));
    EXPECT_FALSE(CBool(Variant("False")));
    EXPECT_TRUE(CBool(Variant("1")));
    EXPECT_FALSE(CBool(Variant("0")));
    EXPECT_EQ(errorNumber([] { CBool(Variant("yes")); }), HostError::TypeMismatch);
    EXPECT_EQ(errorNumber([] { CBool(Variant::null()); }), HostError::InvalidUseOfNull);
}

TEST(CStr, WritesValuesTheHostWay)
{
    EXPECT_EQ(CStr(Variant()), "");
    EXPECT_EQ(CStr(Variant(42)), "42");
    EXPECT_EQ(CStr(Variant(0.1)), "0.1");
    EXPECT_EQ(CStr(Variant(0.1 + 0.2)), "0.3");
    EXPECT_EQ(CStr(Variant(-2.5)), "-2.5");
    EXPECT_EQ(CStr(Variant(1e20)), "1E+20");
    EXPECT_EQ(CStr(Variant(-0.0)), "0");
    EXPECT_EQ(CStr(Variant(true)), "True");
    EXPECT_EQ(CStr(Variant::fromDate(makeDate(2026, 1, 31))), "2026-01-31");
    EXPECT_EQ(CStr(Variant::fromDate(makeDate({2026, 1, 31, 10, 5, 0}))), "2026-01-31 10:05:00");
    EXPECT_EQ(errorNumber([] { CStr(Variant::null()); }), HostError::InvalidUseOfNull);
}

TEST(NullAndEmpty, AreDistinct)
{
    const Variant empty;
    const Variant null = Variant::null();
    EXPECT_TRUE(IsEmpty(empty));
    EXPECT_FALSE(IsNull(empty));
    EXPECT_TRUE(IsNull(null));
    EXPECT_FALSE(IsEmpty(null));
    EXPECT_FALSE(empty == null);
    // Empty converts quietly; Null refuses.
    EXPECT_EQ(CDbl(empty), 0);
    EXPECT_EQ(CStr(empty), "");
    EXPECT_TRUE(IsNull(Trim(null)));
    EXPECT_FALSE(IsNull(Variant("")));
}

TEST(Trim, OnlyBlanks)
{
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\tx\t"), "\tx\t");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(CStr(Trim(Variant(" 盘点 "))), "盘点");
    EXPECT_EQ(CStr(Trim(Variant(5))), "5");
}

TEST(IsNumeric, TextsThatReadWhole)
{
    EXPECT_TRUE(IsNumeric(Variant(" 12.5 ")));
    EXPECT_TRUE(IsNumeric(Variant("-1e3")));
    EXPECT_FALSE(IsNumeric(Variant("12abc")));
    EXPECT_FALSE(IsNumeric(Variant("")));
    EXPECT_FALSE(IsNumeric(Variant::null()));
    EXPECT_TRUE(IsNumeric(Variant()));
}

TEST(CDate, ReadsDateTexts)
{
    EXPECT_EQ(CDate(Variant("2026-01-31")), makeDate(2026, 1, 31));
    EXPECT_EQ(CDate(Variant("2026/1/5")), makeDate(2026, 1, 5));
    EXPECT_EQ(CDate(Variant("20260131")), makeDate(2026, 1, 31));
    EXPECT_TRUE(IsDate(Variant("2024-02-29")));
    EXPECT_FALSE(IsDate(Variant("2023-02-29")));
    EXPECT_FALSE(IsDate(Variant("31/01/2026")));
    EXPECT_EQ(errorNumber([] { CDate(Variant("tomorrow")); }), HostError::TypeMismatch);
}

TEST(NumberText, RoundTripsAndStaysPlain)
{
    for (const double v : {0.1, 1234.5678901234, -0.000012345, 1e20, 123456789012345.0}) {
        const auto back = parseNumber(numberToText(v));
        ASSERT_TRUE(back) << v;
        EXPECT_DOUBLE_EQ(*back, v);
    }
    EXPECT_EQ(numberToText(1.5e-5), "1.5E-05");
    EXPECT_EQ(numberToText(-2.5), "-2.5");
    EXPECT_DOUBLE_EQ(Val("-1.25e2kg"), -125);
}

TEST(Numbers, PastTheRangeOfADoubleAreErrorsNeverZero)
{
    struct Case
    {
        const char *text;
        bool number; // reads as a number
        double value;
    };
    const Case cases[] = {
        {"1e999", false, 0},      {"-1e999", false, 0},   {"1e-999", true, 0},
        {"0.0001e-400", true, 0}, {"1000e306", false, 0}, {"0.001e311", true, 1e308},
        {"1e308", true, 1e308},
    };
    for (const auto &c : cases) {
        const auto n = parseNumber(c.text);
        EXPECT_EQ(n.has_value(), c.number) << c.text;
        EXPECT_EQ(IsNumeric(Variant(c.text)), c.number) << c.text;
        if (n) {
            EXPECT_DOUBLE_EQ(*n, c.value) << c.text;
            EXPECT_DOUBLE_EQ(Val(c.text), c.value) << c.text;
        } else {
            EXPECT_EQ(errorNumber([&] { Val(c.text); }), HostError::Overflow) << c.text;
            EXPECT_NE(errorNumber([&] { CDbl(Variant(c.text)); }), 0) << c.text;
        }
    }
    for (const double v : {INFINITY, -INFINITY, NAN})
        EXPECT_THROW(sqlNumber(v), HostError);
}

TEST(Dates, OutsideTheHostsRangeAreOverflowErrors)
{
    for (const double serial : {1e308, -1e308, 3e6, -7e5, static_cast<double>(NAN)}) {
        EXPECT_EQ(errorNumber([&] { CDate(Variant(serial)); }), HostError::Overflow) << serial;
        EXPECT_EQ(errorNumber([&] { splitDate(serial); }), HostError::Overflow) << serial;
    }
    EXPECT_EQ(CDate(Variant(2958465.5)), 2958465.5);
    EXPECT_EQ(splitDate(makeDate(100, 1, 1)).year, 100);
}
