#include "window/findcriteria.h"
#include "window/sheetfinder.h"

#include "host/core/hosterror.h"
#include "host/db/recordset/recordset.h"
#include "support/casename.h"

#include <gtest/gtest.h>

namespace {

QueryColumn column(const char *field, long type, const char *value)
{
    QueryColumn c;
    c.FieldName = field;
    c.DataType = type;
    c.SearchValue = value;
    return c;
}

struct CriteriaCase
{
    const char *name;
    std::vector<QueryColumn> columns;
    long searchMode;
    bool useShortNumber;
    std::string expected;
};

class FindCriteria : public ::testing::TestWithParam<CriteriaCase>
{};

TEST_P(FindCriteria, Builds)
{
    const CriteriaCase &c = GetParam();
    EXPECT_EQ(findCriteria(c.columns, c.searchMode, c.useShortNumber), c.expected);
}

const CriteriaCase kCriteria[] = {
    {"nothing typed", {column("FName", 8, "")}, 1, false, ""},
    {"fuzzy text", {column("FName", 8, "bolt")}, 1, false, "FName Like '%bolt%' AND "},
    {"exact text", {column("FName", 8, "bolt")}, 0, false, "FName = 'bolt' AND "},
    {"quote doubled", {column("FName", 8, "O'Brien")}, 0, false, "FName = 'O''Brien' AND "},
    {"date in the long form",
     {column("FKFDate", 7, "2024-5-1")},
     1,
     false,
     "FKFDate = '2024-05-01' AND "},
    {"fuzzy number without quotes",
     {column("FKFPeriod", 3, "180")},
     1,
     false,
     "FKFPeriod Like 180 AND "},
    {"exact number", {column("FQty", 5, "2.5")}, 0, false, "FQty = 2.5 AND "},
    {"codes on short numbers",
     {column("FNumber", 8, "1"), column("FSPNumber", 8, "2"), column("FStockNumber", 8, "3")},
     0,
     false,
     "FItemShortNumber = '1' AND FSPShortNumber = '2' AND FStockShortNumber = '3' AND "},
    {"codes on full numbers", {column("FNumber", 8, "1")}, 0, true, "FNumber = '1' AND "},
};

INSTANTIATE_TEST_SUITE_P(Columns, FindCriteria, ::testing::ValuesIn(kCriteria),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

class Finder : public ::testing::Test
{
protected:
    // Five lines; "bolt" is in lines 1, 3 and 5, "nut" in line 2.
    std::shared_ptr<host::Recordset> m_sheet = std::make_shared<host::Recordset>(
        std::vector<std::string>{"FName", "FQty"},
        std::vector<std::vector<host::Variant>>{{host::Variant("bolt M8"), host::Variant(1.0)},
                                                {host::Variant("nut"), host::Variant(2.0)},
                                                {host::Variant("bolt M6"), host::Variant(3.0)},
                                                {host::Variant("washer"), host::Variant(4.0)},
                                                {host::Variant("bolt M4"), host::Variant(5.0)}});
    SheetFinder m_finder;

    SheetFinder::Step find(const char *text)
    {
        return m_finder.find(m_sheet.get(), {column("FName", 8, text)}, 1, false);
    }
    // The sheet position of a found line.
    long positionOf(const SheetFinder::Step &step)
    {
        EXPECT_EQ(step.outcome, SheetFinder::Outcome::Found);
        m_sheet->Bookmark(step.bookmark);
        return m_sheet->AbsolutePosition();
    }
};

TEST_F(Finder, NewCriteriaStartAtTheirFirstMatch)
{
    find("bolt");
    find("bolt");
    EXPECT_EQ(positionOf(find("nut")), 2);
    EXPECT_EQ(positionOf(find("bolt")), 1);
}

TEST_F(Finder, AQuoteInTheValueIsFoundNotAnError)
{
    m_sheet->Fields("FName").Value(host::Variant("O'Brien's bolt"));
    EXPECT_EQ(positionOf(find("O'Brien")), 1);
}

TEST_F(Finder, AnUnreadableValueIsAnErrorAndKeepsTheCount)
{
    find("bolt");
    EXPECT_THROW(m_finder.find(m_sheet.get(), {column("FQty", 5, "1 or")}, 0, false),
                 host::HostError);
    EXPECT_EQ(m_finder.visited(), 1);
}

} // namespace
