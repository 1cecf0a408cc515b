#include "importfixture.h"

#include "host/displayer/displaywindow.h"
#include "import/importfromexcel.h"
#include "services/modulestate.h"
#include "services/mparse.h"

#include <zip.h>

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

struct LanguageCase
{
    const char *exportLanguage;
    const char *importLanguage;
    long mtoPlanMode;
};

class TranslatedHeaderTest : public ImportFromExcelTest,
                             public ::testing::WithParamInterface<LanguageCase>
{};

// The count sheet's export heads column 11 with its caption in the exporting user's language;
// whoever imports the sheet, in whatever language, gets it back.
TEST_P(TranslatedHeaderTest, ASheetExportedInAnyLanguageImportsBack)
{
    const LanguageCase &c = GetParam();
    setOption("EnableMtoPlanMode", std::to_string(c.mtoPlanMode));
    module().gMtoPlanMode = c.mtoPlanMode;
    module().gLanguage = c.exportLanguage;
    const std::string header =
        MParse::LoadLangString(c.mtoPlanMode == 1 ? "计划跟踪号" : "生产/采购日期");
    SheetLine counted = line(kPlainItem);
    counted["CheckQty"] = 5.0;
    const auto file = writeXlsx({counted}, header);
    module().gLanguage = c.importLanguage;

    EXPECT_TRUE(PubVariant::ImportFromExcel(file.string()));

    EXPECT_EQ(modals.messageTexts(),
              QStringList{QString::fromStdString(MParse::LoadLangString("数据引入完毕!"))})
        << header;
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 5);
}

std::vector<LanguageCase> everyLanguagePair()
{
    std::vector<LanguageCase> cases;
    for (const char *exported : {"CHS", "CHT", "EN"})
        for (const char *imported : {"CHS", "CHT", "EN"})
            for (const long mode : {0L, 1L})
                cases.push_back({exported, imported, mode});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslatedHeaderTest, ::testing::ValuesIn(everyLanguagePair()),
                         [](const ::testing::TestParamInfo<LanguageCase> &param) {
                             return std::string(param.param.exportLanguage) + "To" +
                                    param.param.importLanguage +
                                    (param.param.mtoPlanMode == 1 ? "WithPlanTracking" : "");
                         });

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

// A column letter of a 0-based index below 26 * 27.
std::string columnLetters(size_t column)
{
    return column < 26 ? std::string(1, static_cast<char>('A' + column))
                       : columnLetters(column / 26 - 1) + static_cast<char>('A' + column % 26);
}

// More lines than the whole sheet could once take in memory (about 200,000 lines of 31 columns
// filled 256 MB): written straight into the archive, the texts shared, only the cells the
// import reads. Every line counts the plain item's line again, except a line in the middle
// that names an unknown item and a last one that adds a batch.
TEST_F(ImportFromExcelTest, ASheetOfMoreLinesThanMemoryOnceHeldIsImportedLineByLine)
{
    constexpr long kLines = 210000;
    constexpr long kUnknownLine = 150000;
    const std::vector<std::string> names = columnNames();
    std::vector<std::string> texts = headers();
    const auto textIndex = [&texts](const std::string &text) {
        const auto at = std::find(texts.begin(), texts.end(), text);
        if (at != texts.end())
            return static_cast<size_t>(at - texts.begin());
        texts.push_back(text);
        return texts.size() - 1;
    };
    // A line's cells: the column letters, then what follows the reference's row number.
    using Cells = std::vector<std::pair<std::string, std::string>>;
    const auto cellsOf = [&](const SheetLine &l) {
        Cells cells;
        for (size_t c = 0; c < names.size(); ++c) {
            const auto it = l.find(names[c]);
            if (it == l.end())
                continue;
            cells.emplace_back(columnLetters(c),
                               it->second.isNumeric()
                                   ? "\"><v>" + host::CStr(it->second) + "</v></c>"
                                   : "\" t=\"s\"><v>" +
                                         std::to_string(textIndex(host::CStr(it->second))) +
                                         "</v></c>");
        }
        return cells;
    };
    SheetLine counted = line(kPlainItem);
    counted["CheckQty"] = 3.0;
    SheetLine unknown = counted;
    unknown["ItemName"] = "没有的物料";
    SheetLine last = line(kBatchItem);
    last["BatchNo"] = "LAST";
    last["CheckQty"] = 5.0;
    const Cells usual = cellsOf(counted);

    std::string sheetData = "<row r=\"1\">";
    for (size_t c = 0; c < names.size(); ++c)
        sheetData += "<c t=\"s\"><v>" + std::to_string(c) + "</v></c>";
    sheetData += "</row>";
    for (long record = 1; record <= kLines; ++record) {
        const std::string row = std::to_string(record + 1);
        sheetData += "<row r=\"" + row + "\">";
        for (const auto &[letters, rest] : record == kUnknownLine ? cellsOf(unknown)
                                           : record == kLines     ? cellsOf(last)
                                                                  : usual)
            sheetData.append("<c r=\"").append(letters).append(row).append(rest);
        sheetData += "</row>";
    }
    std::string strings = "<sst>";
    for (const auto &text : texts)
        strings += "<si><t>" + text + "</t></si>";
    strings += "</sst>";
    const std::pair<const char *, std::string> parts[] = {
        {"xl/workbook.xml", "<workbook xmlns:r=\"urn:r\"><sheets><sheet r:id=\"rId1\"/></sheets>"
                            "</workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
         "</Relationships>"},
        {"xl/worksheets/sheet1.xml",
         "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"},
        {"xl/sharedStrings.xml", strings}};
    const auto file = m_dir / "large.xlsx";
    int error = 0;
    zip_t *archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto &[name, content] : parts) {
        const zip_int64_t index = zip_file_add(
            archive, name, zip_source_buffer(archive, content.data(), content.size(), 0), 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(archive), 0);

    QStringList errorLines;
    modals.whileShown([&errorLines](host::ui::Form &form) {
        errorLines = dynamic_cast<host::DisplayWindow &>(form).columnTexts(0);
    });
    EXPECT_TRUE(PubVariant::ImportFromExcel(file.string()));

    EXPECT_EQ(errorLines, QStringList{"第150000条记录的物料为：没有的物料 在基础资料中不存在!"});
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FAuxCheckQty")), 3);
    EXPECT_EQ(countLines(kBatchItem), 1);
    EXPECT_EQ(host::CStr(lineValue(kBatchItem, "FBatchNo")), "LAST");
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kBatchItem, "FAuxCheckQty")), 5);
}

} // namespace
