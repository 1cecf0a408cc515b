#include "countsheet/decimaltext.h"
#include "countsheet/maindo.h"
#include "countsheet/sheettext.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

TEST(QelRound, HalvesAwayFromZeroOnTheDecimalForm)
{
    struct Case
    {
        double value;
        long scale;
        double expected;
    };
    const Case cases[] = {
        {2.5, 0, 3},
        {-2.5, 0, -3},
        {1234.5678, 2, 1234.57},
        {0.125, 2, 0.13},
        {-0.125, 2, -0.13},
        {0.004, 2, 0},
        {1.23456, 2, 1.23},
        {0.5, 0, 1},
        {0.49999, 0, 0},
        {999.995, 2, 1000},
        {123456789.5, 0, 123456790},
        // Below the half in binary (1.00499999999999989...), a half on its 15-digit form.
        {1.005, 2, 1.01},
        {2.675, 2, 2.68},
        {0, 3, 0},
        {7, 0, 7},
        {0.0000004, 6, 0},
        {0.0000005, 6, 0.000001},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MainDo::QelRound(c.value, c.scale), c.expected) << c.value << " @" << c.scale;
}

// The totals and a ledger cell's value must be the number its text shows, for every value
// and not only the halves listed above.
TEST(QelRound, IsTheNumberTheFormattedTextReads)
{
    const double offsets[] = {0, 1e-9, 0.4999999, 0.5, 0.5000001, 0.999999999, 0.123456789};
    for (int decimals = 0; decimals <= 10; ++decimals) {
        for (long whole : {0L, 1L, 7L, 1234L, 99999L, 123456789L, 99999999999L}) {
            for (double offset : offsets) {
                for (double sign : {1.0, -1.0}) {
                    const double value = sign * (static_cast<double>(whole) + offset);
                    const std::string text = formatDecimal(value, decimals, false);
                    EXPECT_EQ(MainDo::QelRound(value, decimals), std::strtod(text.c_str(), nullptr))
                        << value << " @" << decimals << " shows " << text;
                }
            }
        }
    }
}

TEST(QelRound, RefusesNullAndNegativeScale)
{
    EXPECT_THROW(MainDo::QelRound(host::Variant::null(), 2), host::HostError);
    EXPECT_THROW(MainDo::QelRound(1.5, -1), host::HostError);
    EXPECT_EQ(MainDo::QelRound(std::string("12.345"), 2), 12.35);
}

TEST(FormatDecimal, GroupsAndPads)
{
    EXPECT_EQ(formatDecimal(1234.5, 3, true), "1,234.500");
    EXPECT_EQ(formatDecimal(1234.5, 0, true), "1,235");
    EXPECT_EQ(formatDecimal(-1234567.891, 2, true), "-1,234,567.89");
    EXPECT_EQ(formatDecimal(999.5, 0, true), "1,000");
    EXPECT_EQ(formatDecimal(12, 4, false), "12.0000");
    EXPECT_EQ(formatDecimal(0.004, 2, true), "0.00");
    EXPECT_EQ(formatDecimal(-0.004, 2, true), "0.00");
    EXPECT_EQ(formatDecimal(0.07, 1, false), "0.1");
}

TEST(SqlNumber, PlainDecimalThatReadsBackExactly)
{
    const double values[] = {0.1, 1e-7, -12, 123456789.123, 2.0 / 3, 1e15 + 0.5, 5e-324};
    for (double v : values) {
        const std::string text = host::sqlNumber(v);
        EXPECT_EQ(text.find_first_of("eE,"), std::string::npos) << text;
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
    }
    EXPECT_EQ(host::sqlNumber(1e-7), "0.0000001");
    EXPECT_EQ(host::sqlNumber(-0.0), "0");
    EXPECT_EQ(host::sqlNumber(3), "3");
}

TEST(ShownCaption, DropsTheLastCharacterOfTheStoredCaption)
{
    EXPECT_EQ(shownCaption("物料代码$"), "物料代码");
    EXPECT_EQ(shownCaption("Item$"), "Item");
    // Cut by the stored length: with trailing blanks the last character survives.
    EXPECT_EQ(shownCaption("物料$ "), "物料$");
    EXPECT_EQ(shownCaption(" 仓库$"), "仓库$");
    // A caption without "$" loses its last character whole, never a part of it.
    EXPECT_EQ(shownCaption("仓库"), "仓");
    EXPECT_EQ(shownCaption(""), "");
}

// A sheet hands a number on rounded to the ten decimals the database keeps, as the double its
// rounded text reads as: for noisy quotients, halves in binary and values too large to scale.
TEST(StoredNumber, IsTheDoubleItsTextRoundedToTenDecimalsReadsAs)
{
    const auto asText = [](double value) {
        std::array<char, 352> text{};
        const auto end =
            std::to_chars(text.begin(), text.end(), value, std::chars_format::fixed, 10).ptr;
        double stored = 0;
        std::from_chars(text.data(), end, stored);
        return stored == 0 ? 0.0 : stored;
    };
    std::vector<double> values = {
        0.0,       -0.0, 9.3,   731.07, 6.0409 * 1.0000000000000002, 1e-11, 5e-11, -5e-11, 2.0 / 3,
        0.1 + 0.2, 1e15, 1e300, 5e-324, 123456.78901234567};
    for (int i = -20000; i <= 20000; ++i) {
        values.push_back(i / 3.0);
        values.push_back(i * 0.00011);
        values.push_back(6.0409 + i * 1e-11);
        values.push_back((i + 0.5) * 1e-10);
        values.push_back(i * 1234.56789012345 / 7);
    }
    for (const double value : values) {
        const auto stored = storedNumber(value);
        ASSERT_TRUE(stored);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*stored),
                  std::bit_cast<std::uint64_t>(asText(value)))
            << value;
    }
    EXPECT_EQ(storedNumberText(9.300000000000001), "9.3");
    EXPECT_EQ(storedNumberText(-0.0), "0");
    EXPECT_EQ(storedNumberText(2.0 / 3), "0.6666666667");
    EXPECT_EQ(storedNumberText(std::nan("")), "");
    EXPECT_FALSE(storedNumber(HUGE_VAL));
}
