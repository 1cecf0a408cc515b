#include "host/core/settingsstore.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace host;

namespace {

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("stockcheck-settings-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::filesystem::path file() const { return m_dir / "StockCheck.ini"; }

    std::filesystem::path m_dir;
};

} // namespace

TEST_F(SettingsStoreTest, ChineseSectionsAndKeysSurviveARoundTrip)
{
    {
        SettingsStore ini(file());
        ini.write("盘点设置", "列宽Col3", 1440);
        ini.write("ZARVOSTOCKPRICE", "ldgCheck1-3", "900");
        ini.write("ZarvoStockCheck", "bShowDeleted", false);
        ini.write("frmSelectBill", "a/b\\c", "slash");
    }
    SettingsStore again(file());
    EXPECT_EQ(CStr(again.read("盘点设置", "列宽Col3", "")), "1440");
    EXPECT_EQ(CStr(again.read("ZARVOSTOCKPRICE", "ldgCheck1-3", "")), "900");
    EXPECT_EQ(CStr(again.read("ZarvoStockCheck", "bShowDeleted", "True")), "False");
    EXPECT_EQ(CStr(again.read("frmSelectBill", "a/b\\c", "")), "slash");
}

TEST_F(SettingsStoreTest, MissingKeysReadAsTheDefault)
{
    SettingsStore ini(file());
    EXPECT_EQ(CStr(ini.read("ZarvoStockCheck", "bShowStatBar", "True")), "True");
    EXPECT_TRUE(IsEmpty(ini.read("ZarvoStockCheck", "nothing", Variant())));
    // Mixed case names are distinct keys that keep their spelling.
    ini.write("ZarvoStockCheck", "bShowtoolbar", "False");
    EXPECT_EQ(CStr(ini.read("ZarvoStockCheck", "bShowtoolbar", "True")), "False");
}

TEST_F(SettingsStoreTest, NamedFileLivesInTheConfigFolder)
{
    setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    SettingsStore ini(std::string_view("StockCheck.ini"));
    EXPECT_EQ(ini.file(), m_dir / "stockcheck" / "StockCheck.ini");
    ini.write("ZarvoStockCheck", "k", "v");
    ini.sync();
    EXPECT_TRUE(std::filesystem::exists(m_dir / "stockcheck" / "StockCheck.ini"));
}
