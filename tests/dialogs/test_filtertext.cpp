#include "dialogs/filtertext.h"

#include "support/casename.h"

#include <gtest/gtest.h>

namespace {

using filtertext::Condition;

struct FilterCase
{
    const char *name;
    std::vector<Condition> conditions;
    bool useShortNumber;
    std::string expected;
};

class FilterText : public ::testing::TestWithParam<FilterCase>
{};

TEST_P(FilterText, Builds)
{
    EXPECT_EQ(filtertext::filterText(GetParam().conditions, GetParam().useShortNumber),
              GetParam().expected);
}

const FilterCase kFilterCases[] = {
    {"nothing", {}, false, ""},
    {"code on short number and over quantity",
     {{"FNumber", "1", "=", "A01", "and"}, {"FCUUnitOverQty", "2", ">", "5", ""}},
     false,
     "FItemShortNumber = 'A01' and IsNull(FCUUnitOverQty,0) > 5"},
    {"code on full number", {{"FNumber", "1", "=", "A01", ""}}, true, "FNumber = 'A01'"},
    {"stock place and stock codes",
     {{"FSPNumber", "1", "<>", "P", "or"}, {"FStockNumber", "1", "=", "S", ""}},
     false,
     "FSPShortNumber <> 'P' or FStockShortNumber = 'S'"},
    {"trailing and is cut, blank kept", {{"FQty", "2", ">", "5", "and"}}, false, "FQty > 5 "},
    {"like wraps the text", {{"FName", "1", "like", "bolt", ""}}, false, "FName like '%bolt%'"},
    {"date in the long form",
     {{"FKFDate", "0", "=", "2024-3-5", ""}},
     false,
     "FKFDate = '2024-03-05'"},
    {"a type the dialog does not know is a text",
     {{"FNote", "7", "=", "1 Delete ICInvBackup", ""}},
     false,
     "FNote = '1 Delete ICInvBackup'"},
    {"number reads its leading part", {{"FQty", "2", "=", "12abc", ""}}, false, "FQty = 12"},
    {"quote in a text is doubled",
     {{"FName", "1", "=", "O'Brien", ""}},
     false,
     "FName = 'O''Brien'"},
    {"quote under like is doubled",
     {{"FNote", "1", "like", "x' or 1=1 --", ""}},
     false,
     "FNote like '%x'' or 1=1 --%'"},
};

INSTANTIATE_TEST_SUITE_P(Rows, FilterText, ::testing::ValuesIn(kFilterCases),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

TEST(SortText, JoinsKeysAndCutsTheLastComma)
{
    EXPECT_EQ(filtertext::sortText({}, false), "");
    EXPECT_EQ(filtertext::sortText({{"FNumber", "Asc"}, {"FQty", "Desc"}}, false),
              "FItemShortNumber Asc ,FQty Desc ");
    EXPECT_EQ(filtertext::sortText({{"FStockNumber", ""}}, true), "FStockNumber  ");
}

TEST(ListWords, TakenByPosition)
{
    EXPECT_EQ(filtertext::wordAt(filtertext::compareOperators, 0), "");
    EXPECT_EQ(filtertext::wordAt(filtertext::compareOperators, 1), "=");
    EXPECT_EQ(filtertext::wordAt(filtertext::compareOperators, 8), "not like");
    EXPECT_EQ(filtertext::wordAt(filtertext::compareOperators, 9), "");
    EXPECT_EQ(filtertext::wordAt(filtertext::logicWords, 2), "or");
    EXPECT_EQ(filtertext::wordAt(filtertext::orderWords, 2), "Desc");
}

} // namespace
