#include "host/core/dictionary.h"
#include "host/core/formatter.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "host/core/text.h"
#include "host/core/vector.h"

#include <gtest/gtest.h>

#include <memory>

using namespace host;

TEST(Dictionary, KeepsInsertionOrderAndReplacesInPlace)
{
    Dictionary d;
    d.SetValue("7|BackupType", 1);
    d.SetValue("7|CuteDate", "2026-01-31");
    d.SetValue("7|BackupType", 2);
    EXPECT_EQ(d.Count(), 2);
    EXPECT_EQ(d.Keys(), (std::vector<std::string>{"7|BackupType", "7|CuteDate"}));
    EXPECT_EQ(CLng(d.Value("7|BackupType")), 2);
}

TEST(Dictionary, ReadingAMissingKeyDoesNotAddIt)
{
    Dictionary d;
    EXPECT_TRUE(IsEmpty(d.Value("Filter")));
    EXPECT_FALSE(d.Exists("Filter"));
    EXPECT_EQ(d.Count(), 0);
    EXPECT_EQ(CStr(d.GetValue("Font.Name", "宋体")), "宋体");
}

TEST(Dictionary, KeysIgnoreCaseButKeepTheirSpelling)
{
    Dictionary d;
    d.SetValue("ShowFilterBeforeCheck", "1");
    EXPECT_TRUE(d.Exists("showfilterbeforecheck"));
    d.SetValue("SHOWFILTERBEFORECHECK", "0");
    EXPECT_EQ(d.Count(), 1);
    EXPECT_EQ(d.KeyAt(0), "ShowFilterBeforeCheck");
    EXPECT_EQ(CStr(d.Value("ShowFilterBeforeCheck")), "0");
}

TEST(Dictionary, RemoveKeepsTheOthersReachable)
{
    Dictionary d;
    for (int i = 0; i < 5; ++i)
        d.SetValue(std::to_string(i), i);
    EXPECT_TRUE(d.Remove("1"));
    EXPECT_FALSE(d.Remove("1"));
    EXPECT_EQ(d.Count(), 4);
    EXPECT_EQ(CLng(d.Value("4")), 4);
    EXPECT_EQ(d.KeyAt(1), "2");
    d.SetValue("1", 10);
    EXPECT_EQ(d.KeyAt(4), "1");
    EXPECT_THROW(d.KeyAt(5), HostError);
}

TEST(Dictionary, HoldsObjectsAndALoadingState)
{
    auto inner = std::make_shared<Dictionary>();
    inner->SetValue("ColType", 10);
    Dictionary d;
    d.SetSizeHint(100);
    d.SetLoading(true);
    d.SetValue("2", Variant(inner));
    d.SetLoading(false);
    EXPECT_FALSE(d.Loading());
    const auto back = d.Value("2").as<Dictionary>();
    ASSERT_TRUE(back);
    EXPECT_EQ(CLng(back->Value("ColType")), 10);
    EXPECT_FALSE(d.Value("2").as<Vector>());
}

TEST(Vector, IsOneBased)
{
    Vector v;
    v.Add("a");
    v.Add("c");
    v.Insert(2, "b");
    v.Insert(4, "d");
    ASSERT_EQ(v.Count(), 4);
    EXPECT_EQ(CStr(v.Item(1)), "a");
    EXPECT_EQ(CStr(v.Item(2)), "b");
    EXPECT_EQ(CStr(v.Item(4)), "d");
    v.Remove(1);
    EXPECT_EQ(CStr(v.Item(1)), "b");
    v.SetItem(3, "z");
    EXPECT_EQ(CStr(v.Item(3)), "z");
}

TEST(Vector, OutOfRangeIsAnError)
{
    Vector v;
    EXPECT_THROW(v.Item(1), HostError);
    EXPECT_THROW(v.Insert(2, 1), HostError);
    v.Add(1);
    EXPECT_THROW(v.Item(0), HostError);
    EXPECT_THROW(v.Remove(2), HostError);
    try {
        v.Item(2);
    } catch (const HostError &e) {
        EXPECT_EQ(e.Number(), HostError::SubscriptOutOfRange);
    }
}

TEST(StringBuilder, CountsCharactersNotBytes)
{
    StringBuilder sb;
    sb.Append("update 盘点\r\n").Append("x");
    EXPECT_EQ(sb.Length(), 12);
    sb.Remove(8, 2); // the two Chinese characters
    EXPECT_EQ(sb.StringValue(), "update \r\nx");
    sb.Remove(sb.Length() - 2, 2);
    EXPECT_EQ(sb.StringValue(), "update x");
    sb.Remove(1, sb.Length());
    EXPECT_EQ(sb.StringValue(), "");
    EXPECT_EQ(sb.Length(), 0);
    EXPECT_THROW(sb.Remove(1, 1), HostError);
}

TEST(Formatter, ReplacesNumberedMarkers)
{
    EXPECT_EQ(formatText("盘点方案[%1]重复，请修改后保存!", {"P-01"}),
              "盘点方案[P-01]重复，请修改后保存!");
    EXPECT_EQ(formatText("%2 before %1", {"a", "b"}), "b before a");
    EXPECT_EQ(formatText("%1%1", {"x"}), "xx");
    EXPECT_EQ(formatText("100%% of %3", {"a"}), "100% of %3");
    EXPECT_EQ(formatText("%12", {"one"}), "one2");
    EXPECT_EQ(formatText("trailing %", {}), "trailing %");
}

TEST(SqlText, DoublesQuotes)
{
    EXPECT_EQ(sqlEscape("O'Brien's"), "O''Brien''s");
    EXPECT_EQ(sqlEscape("盘点"), "盘点");
    EXPECT_EQ(sqlString("a'b"), "'a''b'");
    EXPECT_EQ(sqlString(""), "''");
}

TEST(Text, CaseFoldingIsAsciiOnly)
{
    EXPECT_EQ(toUpper("chs 盘点"), "CHS 盘点");
    EXPECT_TRUE(equalsNoCase("ShowFilterBeforeCheck", "SHOWFILTERBEFORECHECK"));
    EXPECT_FALSE(equalsNoCase("ab", "abc"));
    EXPECT_TRUE(startsWithNoCase("zarvocaculaterpt.Cost", "ZarvoCaculateRpt."));
    EXPECT_EQ(findNoCase("UserID=1;SubID=ic", "subid="), 9u);
    EXPECT_EQ(findNoCase("abc", "c", 3), std::string_view::npos);
    EXPECT_EQ(findNoCase("abc", ""), std::string_view::npos);
}
