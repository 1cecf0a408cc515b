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
               "w.png", "--press", "Find", "--odbc", "DSN=stock;UID=sa", "import", "count.xls"},
              error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->database, "x.db");
    EXPECT_EQ(o->operatorId, 16394);
    EXPECT_EQ(o->language, "zh-TW");
    EXPECT_TRUE(o->test);
    EXPECT_EQ(o->screenshot, "w.png");
    EXPECT_EQ(o->press, "Find");
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

TEST(Options, OptionsMayFollowTheCommand)
{
    std::string error;
    const auto sql = parse({"sql", "--db", "x.db", "--lang", "en"}, error);
    ASSERT_TRUE(sql) << error;
    EXPECT_EQ(sql->database, "x.db");
    EXPECT_TRUE(sql->databaseGiven);
    EXPECT_EQ(sql->language, "en");
    EXPECT_TRUE(sql->arguments.empty());

    const auto init = parse({"init-db", "--rows", "500", "--force"}, error);
    ASSERT_TRUE(init) << error;
    EXPECT_EQ(init->rows, 500);
    EXPECT_TRUE(init->force);
    EXPECT_FALSE(init->noCount);
    EXPECT_FALSE(init->databaseGiven);
    const auto empty = parse({"init-db", "--no-count"}, error);
    ASSERT_TRUE(empty) << error;
    EXPECT_TRUE(empty->noCount);

    const auto import = parse({"import", "count.xls", "--test", "--operator", "16"}, error);
    ASSERT_TRUE(import) << error;
    EXPECT_EQ(import->arguments, std::vector<std::string>{"count.xls"});
    EXPECT_TRUE(import->test);
    EXPECT_TRUE(import->operatorGiven);
}

TEST(Options, BadUsageIsRefusedWithAReason)
{
    struct Case
    {
        std::vector<const char *> args;
        const char *reason;
    };
    const std::vector<Case> bad = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"--db"}, "needs a value"},
        {{"check", "--db"}, "needs a value"},
        {{"--operator", "abc", "check"}, "whole number"},
        {{"--lang", "fr", "check"}, "zh-CN, zh-TW or en"},
        {{"--verbose", "check"}, "unknown option"},
        {{"check", "--verbose"}, "unknown option"},
        {{"import"}, "one file"},
        {{"import", "a.xls", "b.xls"}, "one file"},
        {{"sql", "extra"}, "takes no argument"},
        {{"init-db", "--rows", "abc"}, "positive whole number"},
        {{"init-db", "--rows", "0"}, "positive whole number"},
        {{"init-db", "--rows"}, "needs a value"},
        {{"check", "--force"}, "init-db only"},
        {{"processes", "--no-count"}, "init-db only"},
        {{"--screenshot", "/no/such/folder/p.png", "processes"}, "no folder"},
        {{"--press", "Find", "input"}, "goes with --screenshot"},
        // An empty value would open the default database instead of the one meant.
        {{"--odbc", "", "processes"}, "--odbc needs a connection string"},
        {{"sql", "--odbc", " "}, "--odbc needs a connection string"},
        {{"--db", "", "sql"}, "--db needs a file name"},
    };
    for (const auto &[args, reason] : bad) {
        std::string error;
        EXPECT_FALSE(parse(args, error)) << reason;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}
