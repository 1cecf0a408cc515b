#include "dialogs/frmfind.h"
#include "support/casename.h"

#include <gtest/gtest.h>

namespace {

struct ValueCase
{
    const char *name;
    long dataType;
    const char *typed;
    const char *kept;
};

class SearchValue : public ::testing::TestWithParam<ValueCase>
{};

TEST_P(SearchValue, IsCheckedByType)
{
    EXPECT_EQ(checkedSearchValue(GetParam().dataType, QString::fromUtf8(GetParam().typed)),
              QString::fromUtf8(GetParam().kept));
}

const ValueCase kValues[] = {
    {"whole number kept", 3, "180", "180"},
    {"whole number with a point cleared", 3, "1.5", ""},
    {"whole number with a minus cleared", 3, "-3", ""},
    {"whole number too large capped", 3, "3000000000", "2147483647"},
    {"number kept", 5, "2.5", "2.5"},
    {"not a number cleared", 5, "abc", ""},
    {"whole number with a condition cleared", 3, "180 OR FQty>0", ""},
    {"number in hexadecimal cleared", 5, "&H1F", ""},
    {"huge number capped", 5, "1e20", "99999999999999"},
    {"huge negative capped", 5, "-1e20", "-99999999999999"},
    {"text as typed", 8, "O'Brien", "O'Brien"},
    {"empty stays empty", 3, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Types, SearchValue, ::testing::ValuesIn(kValues),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

} // namespace
