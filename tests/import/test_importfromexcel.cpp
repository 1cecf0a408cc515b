#include "importfixture.h"

#include "import/importfromexcel.h"
#include "services/modulestate.h"

#include <fstream>
#include <iterator>

namespace {

using ImportFromExcelTest = ImportDatabaseTest;

TEST_F(ImportFromExcelTest, ImportsAWorkbookIntoTheCurrentProcess)
{
    SheetLine counted = line(kShelfLifeItem);
    counted["CheckQty"] = 7.0;
    counted["KFDate"] = "2026/6/1";
    const auto file = writeXlsx({counted});

    EXPECT_TRUE(PubVariant::ImportFromExcel(file.string()));

    EXPECT_EQ(modals.messageTexts(), QStringList{"数据引入完毕!"});
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kShelfLifeItem, "FCheckQty")), 7);
    EXPECT_EQ(host::CStr(lineValue(kShelfLifeItem, "FKFDate")), "2026-06-01");
    EXPECT_EQ(host::CLng(lineValue(kShelfLifeItem, "FKFPeriod")), 180);
    EXPECT_GT(module().gImportStartTime, 0);
}

struct ShapeCase
{
    const char *name;
    long mtoPlanMode;
    std::string column11;
    const char *message;
};

void PrintTo(const ShapeCase &c, std::ostream *os)
{
    *os << c.name;
}

class ImportShapeTest : public ImportFromExcelTest, public ::testing::WithParamInterface<ShapeCase>
{};

TEST_P(ImportShapeTest, RefusesASheetWhoseColumn11DoesNotFitTheMode)
{
    const ShapeCase &c = GetParam();
    setOption("EnableMtoPlanMode", std::to_string(c.mtoPlanMode));
    SheetLine counted = line(kPlainItem);
    counted["CheckQty"] = 5.0;
    const auto file = writeXlsx({counted}, c.column11);

    EXPECT_TRUE(PubVariant::ImportFromExcel(file.string()));

    EXPECT_EQ(modals.messageTexts(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ImportShapeTest,
    ::testing::Values(ShapeCase{"PlanTrackingSheetWithModeOff", 0, "计划跟踪号",
                                "引入Excel文件不合法，第11列不是生产/采购日，请确认!"},
                      ShapeCase{"HeaderWithTrailingBlank", 0, "生产/采购日期 ",
                                "引入Excel文件不合法，第11列不是生产/采购日，请确认!"},
                      ShapeCase{"PlainSheetWithModeOn", 1, "生产/采购日期",
                                "引入Excel文件不合法，第11列不是计划跟踪号，请确认!"}),
    [](const ::testing::TestParamInfo<ShapeCase> &param) { return std::string(param.param.name); });

// The mode is the database's option when the import runs, whatever a window read before.
TEST_F(ImportFromExcelTest, WithThePlanTrackingModeTheNumberIsImported)
{
    setOption("EnableMtoPlanMode", "1");
    module().gMtoPlanMode = 1;
    SheetLine counted = line(kBatchItem);
    counted["MtoNo"] = " MTO-1 ";
    const auto file = writeXlsx({counted});
    module().gMtoPlanMode = 0;
    EXPECT_TRUE(PubVariant::ImportFromExcel(file.string()));
    EXPECT_EQ(host::CStr(lineValue(kBatchItem, "FMtoNo")), "MTO-1");
}

TEST_F(ImportFromExcelTest, ASheetWithoutDataLinesIsRefused)
{
    EXPECT_FALSE(PubVariant::ImportFromExcel(writeXlsx({}).string()));
    EXPECT_EQ(modals.messageTexts(), QStringList{"引入Excel文件不合法，请确认!"});
}

TEST_F(ImportFromExcelTest, AFileThatIsNoWorkbookIsReported)
{
    const auto file = m_dir / "count.xls";
    std::ofstream(file) << "StockNumber,StockName\n01,原材料仓\n";
    EXPECT_FALSE(PubVariant::ImportFromExcel(file.string()));
    // The reader's reason follows the message.
    ASSERT_EQ(modals.messageTexts().size(), 1);
    const QStringList lines = modals.messageTexts().front().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "引入遇到问题，请重命名工作表或重新生成引入文件，再重试");
    EXPECT_TRUE(lines[1].contains("not an Excel workbook")) << lines[1].toStdString();
}

// The shared texts hold the headers: a reader that skipped the damaged part would blame column 11.
TEST_F(ImportFromExcelTest, ADamagedPartIsReportedAsADamagedFile)
{
    const auto file = writeXlsx({line(kPlainItem)});
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string member = "xl/sharedStrings.xml";
    size_t at = bytes.find("PK\x03\x04");
    while (at != std::string::npos && bytes.compare(at + 30, member.size(), member) != 0)
        at = bytes.find("PK\x03\x04", at + 4);
    ASSERT_NE(at, std::string::npos);
    const auto extra = static_cast<unsigned char>(bytes[at + 28]);
    bytes[at + 30 + member.size() + extra + 8] ^= 0x55;
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    EXPECT_FALSE(PubVariant::ImportFromExcel(file.string()));

    ASSERT_EQ(modals.messageTexts().size(), 1);
    EXPECT_TRUE(modals.messageTexts().front().startsWith(
        "引入遇到问题，请重命名工作表或重新生成引入文件，再重试\n"))
        << modals.messageTexts().front().toStdString();
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
}

} // namespace
