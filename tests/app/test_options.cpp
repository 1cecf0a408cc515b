#include "options.h"

#include <gtest/gtest.h>

namespace {

std::optional<Options> parse(std::vector<const char *> args, std::string &error)
{
    args.insert(args.begin(), "stockcheck");
    return parseOptions(static_cast<int>(args.size()), args.data(), error);
}

} // namespace

TEST(Options, ReadsOptionsAndCommand)
{
    std::string error;
    const auto o =
        parse({"--db", "x.db", "--operator", "16394", "--lang", "zh-TW", "--test", "--screenshot",
               "w.png", "--odbc", "DSN=stock;UID=sa", "import", "count.xls"},
              error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->database, "x.db");
    EXPECT_EQ(o->operatorId, 16394);
    EXPECT_EQ(o->language, "zh-TW");
    EXPECT_TRUE(o->test);
    EXPECT_EQ(o->screenshot, "w.png");
    EXPECT_EQ(o->odbc, "DSN=stock;UID=sa");
    EXPECT_EQ(o->command, "import");
    EXPECT_EQ(o->arguments, std::vector<std::string>{"count.xls"});
}

TEST(Options, DefaultDatabaseIsInTheUserDataFolder)
{
    setenv("XDG_DATA_HOME", "/tmp/xdg-data", 1);
    std::string error;
    const auto o = parse({"check"}, error);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->database, "/tmp/xdg-data/stockcheck/host.db");
    EXPECT_EQ(o->language, "zh-CN");
}

TEST(Options, BadUsageIsRefusedWithAReason)
{
    const std::vector<std::vector<const char *>> bad = {
        {},
        {"frobnicate"},
        {"--db"},
        {"--operator", "abc", "check"},
        {"--lang", "fr", "check"},
        {"--verbose", "check"},
        {"import"},
        {"import", "a.xls", "b.xls"},
    };
    for (const auto &args : bad) {
        std::string error;
        EXPECT_FALSE(parse(args, error));
        EXPECT_FALSE(error.empty());
    }
}
