#include "servicestest.h"

#include "host/core/objectfactory.h"
#include "host/lang/resloader.h"
#include "services/mparse.h"

using namespace MParse;

using Language = ServicesTest;

TEST_F(Language, SimplifiedChineseIsTheTextItself)
{
    setPropsString("UserID=1;LANGUAGE=CHS");
    EXPECT_EQ(LoadLangString("  仓库数据还未备份,请备份仓库数据!  "),
              "仓库数据还未备份,请备份仓库数据!");
    EXPECT_EQ(LoadLangString(""), "");
    EXPECT_EQ(module().gLanguage, "CHS");
}

TEST_F(Language, TraditionalChineseIsConverted)
{
    setPropsString("LANGUAGE=cht");
    EXPECT_EQ(LoadLangString("盘点数据"), "盤點資料");
    EXPECT_EQ(FormatLangString("盘点方案[%1]重复，请修改后保存!", {"A1"}),
              "盤點方案[A1]重複，請修改後儲存!");
}

TEST_F(Language, EnglishComesFromTheTableOrFallsBack)
{
    setPropsString("LANGUAGE=EN");
    EXPECT_EQ(LoadLangString("合计"), "Total");
    EXPECT_EQ(LoadLangString("没有译文的文字"), "没有译文的文字");
    EXPECT_EQ(FormatLangString("盘点方案[%1]重复，请修改后保存!", {host::Variant::null()}),
              "Count process [] appears more than once. Please change it before saving!");
}

TEST_F(Language, CompoundTextsTranslateOnlyMarkedParts)
{
    setPropsString("LANGUAGE=EN");
    EXPECT_EQ(LoadLangString("~$~合计^|^: 12"), "Total: 12");
    EXPECT_EQ(LoadLangString("12 ^|^~$~就绪"), "12 Ready");
    setPropsString("LANGUAGE=CHT");
    module().gLanguage.clear();
    EXPECT_EQ(LoadLangString("~$~数据^|^数据"), "資料数据");
}

TEST_F(Language, TheLanguageIsKeptOnceRead)
{
    setPropsString("LANGUAGE=EN");
    EXPECT_EQ(LoadLangString("合计"), "Total");
    setPropsString("LANGUAGE=CHS");
    EXPECT_EQ(LoadLangString("合计"), "Total");
}

TEST_F(Language, AMissingLoaderGivesTheSourceText)
{
    setPropsString("LANGUAGE=EN");
    const auto saved = host::registerObject(host::ResLoader::ProgId, {});
    EXPECT_EQ(LoadLangString(" 合计 "), "合计");
    EXPECT_EQ(FormatLangString("%1件", {3}), "3件");
    host::registerObject(host::ResLoader::ProgId, saved);
}

TEST_F(Language, SuffixFollowsTheLanguage)
{
    const std::pair<const char *, const char *> cases[] = {
        {"LANGUAGE=CHT", "FColCaption_CHT"},
        {"LANGUAGE=en", "FColCaption_EN"},
        {"LANGUAGE=CHS", "FColCaption"},
        {"UserID=1", "FColCaption"},
    };
    for (const auto &[props, expected] : cases) {
        setPropsString(props);
        EXPECT_EQ(AddLangSuffix(" FColCaption"), expected) << props;
    }
}

// Traditional Chinese takes the characters and the words used in Taiwan; a word of the trade
// that Taiwan shares stays as it is, and no replacement is taken for a word again.
TEST_F(Language, TraditionalChineseTakesTheTaiwanForms)
{
    setPropsString("LANGUAGE=CHT");
    const std::pair<const char *, const char *> cases[] = {
        {"为", "為"},
        {"数据库是只读的，不能写入。", "資料庫是唯讀的，不能寫入。"},
        {"基本单位账存数量$", "基本單位帳存數量$"},
        {"获取表头模版出错。", "取得表頭範本發生錯誤。"},
        {"新建盘点进程", "新增盤點方案"},
        {"物料代码", "物料代號"},
        {"刷新当前盘点进程列表", "重新整理目前盤點方案列表"},
        {"保质期(天)", "保存期限(天)"},
        {"匹配搜索(&A)", "完全符合(&A)"},
        // A dialog is closed; the window's own command ends the work.
        {"退出(&E)", "關閉(&E)"},
        {"退出(&X)", "結束(&X)"},
        {"以下仓库(仓位)有未审核的单据，不能备份：", "以下倉庫(倉位)有未審核的單據，不能備份："},
        {"单据类型", "單據類型"},
        {"第 &[页] 页", "第 &[頁] 頁"},
        {"磁盘已满，数据库不能写入。", "磁碟已滿，資料庫不能寫入。"},
        {"第%1条记录的%2是没有计算结果的公式，请先用电子表格程序打开并保存工作簿!",
         "第%1筆記錄的%2是沒有計算結果的公式，請先用試算表程式開啟並儲存活頁簿!"},
    };
    for (const auto &[source, taiwan] : cases)
        EXPECT_EQ(LoadLangString(source), taiwan) << source;
}
