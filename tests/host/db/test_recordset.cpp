#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/db/recordset/recordfilter.h"
#include "host/db/recordset/recordset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using host::HostError;
using host::Recordset;
using host::Variant;

namespace {

Recordset sample()
{
    return Recordset({"FItemID", "FName", "FQty", "FDate"},
                     {{1, "bolt", 5.0, Variant::fromDate(host::makeDate(2026, 1, 2))},
                      {2, "Nut", 0.0, Variant::fromDate(host::makeDate(2026, 1, 5))},
                      {3, "washer", Variant::null(), Variant::null()},
                      {4, "Bolt ", 2.5, Variant::fromDate(host::makeDate(2026, 1, 2))}});
}

long id(Recordset &rs)
{
    return host::CLng(rs.Fields("FItemID").Value());
}

TEST(RecordsetTest, NavigationAndBounds)
{
    Recordset rs = sample();
    EXPECT_EQ(rs.State(), Recordset::adStateOpen);
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_FALSE(rs.BOF());
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    rs.MoveLast();
    EXPECT_EQ(id(rs), 4);
    rs.MoveNext();
    EXPECT_TRUE(rs.EOF());
    EXPECT_EQ(rs.AbsolutePosition(), Recordset::adPosEOF);
    EXPECT_THROW(rs.Fields("FName").Value(), HostError);
    EXPECT_THROW(rs.MoveNext(), HostError);
    rs.Move(-2);
    EXPECT_EQ(id(rs), 3);
    rs.Move(-5);
    EXPECT_TRUE(rs.BOF());
    rs.MoveFirst();
    rs.Move(2);
    EXPECT_EQ(id(rs), 3);
    rs.MovePrevious();
    EXPECT_EQ(rs.Fields(1L).Value(), Variant("Nut"));
    EXPECT_THROW(rs.Fields("Nope"), HostError);
    EXPECT_THROW(rs.Fields(4L), HostError);
    rs.Close();
    EXPECT_EQ(rs.State(), Recordset::adStateClosed);
    EXPECT_THROW(rs.RecordCount(), HostError);

    Recordset empty({"a"}, {});
    EXPECT_TRUE(empty.EOF());
    EXPECT_TRUE(empty.BOF());
    EXPECT_EQ(empty.AbsolutePosition(), Recordset::adPosUnknown);
}

TEST(RecordsetTest, FilterCriteria)
{
    struct Case
    {
        const char *criteria;
        std::vector<long> ids;
    };
    const Case cases[] = {
        {" FItemID = 2", {2}},
        {"FItemID = '2'", {2}},
        {"fname = 'BOLT'", {1, 4}},
        {"FName LIKE 'b*'", {1, 4}},
        {"FName LIKE '%sh%'", {3}},
        {"FQty > 0 AND FItemID <> 1", {4}},
        {"FQty = NULL", {3}},
        {"FDate = #2026-01-02#", {1, 4}},
        {"FDate >= '2026-01-03'", {2}},
        {"(FItemID = 1 OR FItemID = 3) AND FName <> 'washer'", {1}},
        {"FQty >= -1", {1, 2, 4}},
        {"FDate<= '2026-01-02' and FDate>= '2026-01-02'", {1, 4}},
        {"FName Like '%ol%' AND FQty = 5", {1}},
        {"FName <> 'NUT' or FItemID = 2", {1, 2, 3, 4}},
    };
    // One recordset takes every criteria twice: criteria it has parsed before give the same rows.
    Recordset rs = sample();
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto &c : cases) {
            rs.Filter(c.criteria);
            std::vector<long> ids;
            for (; !rs.EOF(); rs.MoveNext())
                ids.push_back(id(rs));
            EXPECT_EQ(ids, c.ids) << c.criteria;
            EXPECT_EQ(rs.RecordCount(), static_cast<long>(c.ids.size())) << c.criteria;
        }
    }
    rs.Filter("FItemID = 2");
    EXPECT_THROW(rs.Filter("FItemID = "), HostError);
    EXPECT_THROW(rs.Filter("Missing = 1"), HostError);
    EXPECT_EQ(rs.Filter(), "FItemID = 2"); // a refused filter leaves the old one
    rs.Filter("");
    EXPECT_EQ(rs.RecordCount(), 4);
}

TEST(RecordsetTest, FilterLikeMatchesWildcardsOnly)
{
    struct Case
    {
        std::string text;
        std::string pattern;
        bool matches;
    };
    const std::string longText(20000, 'a');
    const std::string manyWildcards(26, '%');
    const Case cases[] = {
        {"bolt", "BOLT", true},
        {"bolt", "bol", false},
        {"bolt", "b*", true},
        {"bolt", "*t", true},
        {"bolt", "%o%", true},
        {"bolt", "%x%", false},
        {"", "%", true},
        {"", "", true},
        {"bolt", "", false},
        {"abcabd", "%ab%d", true}, // the first "ab" leads nowhere: the wildcard takes it
        {"abcabc", "%ab%d", false},
        {"a%b", "a%b", true},
        {"M6_10", "M6_10", true}, // "_" and "[...]" are no wildcards in a filter
        {"M6x10", "M6_10", false},
        {"[a]", "[a]", true},
        {"a", "[a]", false},
        {"螺栓M6", "%栓m%", true},
        {"螺栓M6", "%母%", false},
        {longText, manyWildcards + "b", false},
        {longText + "b", manyWildcards + "a%b" + manyWildcards, true},
    };
    for (const auto &c : cases) {
        Recordset rs({"FName"}, {{c.text}});
        rs.Filter("FName LIKE '" + c.pattern + "'");
        EXPECT_EQ(rs.RecordCount(), c.matches ? 1 : 0)
            << c.text.substr(0, 20) << " LIKE " << c.pattern.substr(0, 40);
    }
}

TEST(RecordsetTest, SortCloneAndBookmarks)
{
    Recordset rs = sample();
    rs.Sort("FName DESC, FItemID");
    std::vector<long> ids;
    for (; !rs.EOF(); rs.MoveNext())
        ids.push_back(id(rs));
    EXPECT_EQ(ids, (std::vector<long>{3, 2, 1, 4}));
    rs.Sort("FQty");
    EXPECT_EQ(id(rs), 3); // Null first
    EXPECT_THROW(rs.Sort("FQty sideways"), HostError);
    EXPECT_EQ(rs.Sort(), "FQty");

    auto clone = rs.Clone();
    EXPECT_EQ(clone->Sort(), "");
    clone->Filter("FName = 'nut'");
    const Variant mark = clone->Bookmark();
    rs.Bookmark(mark);
    EXPECT_EQ(id(rs), 2);
    EXPECT_EQ(rs.AbsolutePosition(), 2);
    // Clones share the rows: a value written through one is seen by the other.
    clone->Fields("FQty").Value(Variant(9.0));
    EXPECT_EQ(rs.Fields("FQty").Value(), Variant(9.0));
    rs.Filter("FItemID = 1");
    EXPECT_THROW(rs.Bookmark(mark), HostError);
    rs.Filter("");
    rs.AbsolutePosition(3);
    EXPECT_THROW(rs.AbsolutePosition(9), HostError);
}

// A reader of many rows sees the rows a MoveNext loop would visit, in the sort and filter in
// force, and each field's values as Fields(...).Value() gives them.
TEST(RecordsetTest, ManyRowReadersSeeWhatMoveNextVisits)
{
    Recordset rs = sample();
    rs.Sort("FName DESC");
    rs.Filter("FItemID <> 2");
    rs.MoveNext();
    const auto rows = rs.rowsAhead();
    ASSERT_EQ(rows.size(), 2U);
    for (std::size_t i = 0; i < rows.size(); ++i, rs.MoveNext()) {
        EXPECT_EQ(static_cast<long>(rs.column(0).number(rows[i])), id(rs));
        EXPECT_EQ(rs.column(1).text(rows[i]), rs.Fields("FName").Value().stringValue());
        EXPECT_EQ(rs.column(2).isNull(rows[i]), rs.Fields("FQty").Value().isNull());
    }
    EXPECT_TRUE(rs.column(0).holdsNumbers() && rs.column(2).holdsNumbers());
    EXPECT_TRUE(rs.column(1).holdsTexts());
    EXPECT_FALSE(rs.column(3).holdsNumbers() || rs.column(3).holdsTexts());
    EXPECT_TRUE(rs.EOF());
    EXPECT_TRUE(rs.rowsAhead().empty());
}

} // namespace

// Each field keeps its values by type; values of another type, Empty, objects or long texts
// must still come back exactly and sort as compareValues() orders them.
TEST(RecordsetTest, FieldsKeepEveryValueTheyAreGiven)
{
    const Variant date = Variant::fromDate(host::makeDate(2026, 3, 4));
    const std::string longText(70000, 'x');
    // Nulls past the first rows, some of them neighbours, between numbers.
    std::vector<Variant> manyRows;
    for (int i = 0; i < 300; ++i)
        manyRows.push_back(i % 97 == 5 || i == 200 || i == 201 ? Variant::null() : Variant(i));
    // More rows and text bytes than one block of the column holds, a long text among them.
    std::vector<Variant> manyTexts;
    for (int i = 0; i < 9000; ++i)
        manyTexts.push_back(i % 1000 == 7 ? Variant(longText)
                            : i % 13 == 0 ? Variant::null()
                                          : Variant(std::string(static_cast<size_t>(i % 40), 'a') +
                                                    std::to_string(i)));
    // One value on rows past a block of the column, until the last row.
    const auto same = [](const Variant &value, const Variant &last) {
        std::vector<Variant> values(5000, value);
        values.back() = last;
        return values;
    };
    struct Case
    {
        const char *name;
        std::vector<Variant> values;
        Variant replacement; // written over the second row afterwards
    };
    const std::vector<Case> cases = {
        {"integers", {3, Variant::null(), -7, 12}, Variant(5)},
        {"doubles", {2.5, 0.0, Variant::null(), -1.25}, Variant("text now")},
        {"texts", {"b", "", Variant::null(), "A ", "a"}, Variant::null()},
        {"booleans", {true, false, Variant::null()}, Variant(true)},
        {"dates", {date, Variant::null(), Variant::fromDate(1.5)}, Variant(2.0)},
        {"only nulls", {Variant::null(), Variant::null()}, Variant("first value")},
        {"mixed", {1, 2.5, "3", date, true, Variant(), Variant::null()}, Variant(9)},
        {"long text", {"short", Variant(longText)}, Variant(longText + "y")},
        {"nulls far apart", manyRows, Variant::null()},
        {"texts over many blocks", manyTexts, Variant("z")},
        {"repeated texts", {"a", "a", "b", "b", "", "", "a", "A"}, Variant("b")},
        {"zeros around a null", {0, Variant::null(), 0}, Variant(0)},
        {"an empty text, then a null", {"", Variant::null()}, Variant("")},
        {"one number on every row", same(2.5, 2.5), Variant(-1.0)},
        {"one text on every row", same("x", "x"), Variant("y")},
        {"one text, then a null", same("x", Variant::null()), Variant("x")},
        {"null on every row", same(Variant::null(), Variant::null()), Variant(3)},
        {"null on every row, then a number", same(Variant::null(), 4), Variant::null()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::vector<Variant>> rows;
        for (size_t i = 0; i < c.values.size(); ++i)
            rows.push_back({static_cast<long>(i), c.values[i]});
        Recordset rs({"n", "v"}, rows);
        for (size_t i = 0; i < c.values.size(); ++i, rs.MoveNext())
            EXPECT_EQ(rs.Fields("v").Value(), c.values[i]) << i;

        rs.MoveFirst();
        rs.MoveNext();
        rs.Fields("v").Value(c.replacement);
        std::vector<Variant> expected = c.values;
        expected[1] = c.replacement;
        const auto clone = rs.Clone();
        for (size_t i = 0; i < expected.size(); ++i, clone->MoveNext())
            EXPECT_EQ(clone->Fields("v").Value(), expected[i]) << i;

        std::vector<size_t> order(expected.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return host::compareValues(expected[a], expected[b]) < 0;
        });
        clone->Sort("v");
        for (const size_t row : order) {
            EXPECT_EQ(host::CLng(clone->Fields("n").Value()), static_cast<long>(row));
            clone->MoveNext();
        }
    }
}
