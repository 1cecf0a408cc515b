#include "servicestest.h"

#include "host/core/hosterror.h"
#include "services/mmts.h"
#include "services/mparse.h"

using namespace MParse;

using ContextString = ServicesTest;

TEST_F(ContextString, BracesMayHoldSeparators)
{
    ParseProps("UserID=16394;SUBID=ic;LANGUAGE=CHS;DSN={Driver=x;Server=a=b};UserName=张三;");
    const auto &props = *module().g_colProps;
    EXPECT_EQ(props.Count(), 5);
    EXPECT_EQ(GetPropValue("DSN"), "Driver=x;Server=a=b");
    EXPECT_EQ(GetPropValue("UserName"), "张三");
    EXPECT_EQ(GetUserID(), 16394);
    EXPECT_EQ(GetPropValue("language"), "CHS");
}

TEST_F(ContextString, NoFinalSeparatorAndBlanksAreForgiven)
{
    ParseProps(" UserID = 7 ; SUBID = ic ;LANGUAGE=EN");
    EXPECT_EQ(module().g_colProps->Count(), 3);
    EXPECT_EQ(GetUserID(), 7);
    EXPECT_EQ(GetPropValue("SUBID"), "ic");
    EXPECT_EQ(GetPropValue("LANGUAGE"), "EN");
    EXPECT_EQ(module().gPropsString, " UserID = 7 ; SUBID = ic ;LANGUAGE=EN");
}

TEST_F(ContextString, TextAfterAClosingBraceIsDropped)
{
    ParseProps("A={x;y} trailing junk;B=2");
    EXPECT_EQ(GetPropValue("A"), "x;y");
    EXPECT_EQ(GetPropValue("B"), "2");
}

TEST_F(ContextString, DuplicateAndMissingKeysAreErrors)
{
    EXPECT_THROW(ParseProps("UserID=1;userid=2"), host::HostError);
    ParseProps("UserID=abc");
    EXPECT_THROW(GetPropValue("SUBID"), host::HostError);
    EXPECT_THROW(GetUserID(), host::HostError);
}

TEST_F(ContextString, GetTokenSplitsAtTheFirstSeparatorAnyCase)
{
    std::string text = "aXbxc";
    EXPECT_EQ(GetToken(text, "x"), "a");
    EXPECT_EQ(text, "bxc");
    std::string none = "abc";
    EXPECT_EQ(GetToken(none, ";"), "abc");
    EXPECT_EQ(none, "");
    std::string empty;
    EXPECT_EQ(GetToken(empty, ";"), "");
}

TEST_F(ContextString, PropsItemReadsTheHostStringDirectly)
{
    setPropsString("UserID=1;language=cht;XSUBID=7;DSN={a;b}");
    EXPECT_EQ(GetPropsItem("LANGUAGE"), "cht");
    EXPECT_EQ(GetPropsItem("Missing"), "");
    // A key that ends a longer key name is found too.
    EXPECT_EQ(GetPropsItem("SUBID"), "7");
    setPropsString("");
    EXPECT_EQ(GetPropsItem("LANGUAGE"), "");
}

TEST_F(ContextString, SharedPropertiesAreAskedEachTime)
{
    setPropsString("UserID=1");
    host::ShareProps().SetProperty(host::currentProcessId(), "UserName", "Administrator");
    EXPECT_EQ(MMTS::GetPropsString(), "UserID=1");
    EXPECT_EQ(MMTS::GetUserName(), "Administrator");
    setPropsString("UserID=2");
    EXPECT_EQ(MMTS::GetPropsString(), "UserID=2");
    // Another process's properties are not ours.
    host::ShareProps().SetProperty(host::currentProcessId() + 1, "UserName", "other");
    EXPECT_EQ(MMTS::GetUserName(), "Administrator");
}
