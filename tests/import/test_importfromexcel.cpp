#include "importfixture.h"

#include "host/displayer/displaywindow.h"
#include "import/importfromexcel.h"
#include "import/importstate.h"
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
    EXPECT_GT(importState().gImportStartTime, 0);
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
    // The caption an earlier version wrote, instead of today's in the export's language.
    const char *header = nullptr;
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
        c.header ? c.header
                 : MParse::LoadLangString(c.mtoPlanMode == 1 ? "计划跟踪号" : "生产/采购日期");
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
    cases.push_back({"CHT", "CHS", 1, "計劃跟蹤號"});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslatedHeaderTest, ::testing::ValuesIn(everyLanguagePair()),
                         [](const ::testing::TestParamInfo<LanguageCase> &param) {
                             return std::string(param.param.exportLanguage) + "To" +
                                    param.param.importLanguage +
                                    (param.param.mtoPlanMode == 1 ? "WithPlanTracking" : "") +
                                    (param.param.header ? "EarlierWording" : "");
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

// Its records cannot be read without the password; the user is told what to do, in words of
// the user's language rather than the reader's.
TEST_F(ImportFromExcelTest, AWorkbookProtectedByAPasswordIsRefusedForThat)
{
    std::string bytes;
    {
        std::ifstream in(std::filesystem::path(IMPORTER_FIXTURES) / "counts.xls", std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // The record after the workbook's first says its contents are encrypted.
    const size_t bof = bytes.find(std::string("\x09\x08\x10\x00\x00\x06\x05\x00", 8));
    ASSERT_NE(bof, std::string::npos);
    bytes.replace(bof + 20, 2, std::string("\x2F\x00", 2));
    const auto file = m_dir / "locked.xls";
    std::ofstream(file, std::ios::binary) << bytes;
    module().gLanguage = "EN";

    EXPECT_FALSE(PubVariant::ImportFromExcel(file.string()));

    EXPECT_EQ(modals.messageTexts(),
              QStringList{"The import file is protected by a password: open the workbook in a "
                          "spreadsheet program, clear its password and save it, then import it "
                          "again!"});
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

// A workbook of the sheet's rows (sheetData XML) and shared texts (an sst element), its parts
// stored as they are.
std::filesystem::path writeWorkbook(const std::filesystem::path &file, const std::string &sheetData,
                                    const std::string &strings)
{
    const std::pair<const char *, std::string> parts[] = {
        {"xl/workbook.xml", "<workbook xmlns:r=\"urn:r\"><sheets><sheet r:id=\"rId1\"/></sheets>"
                            "</workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
         "</Relationships>"},
        {"xl/worksheets/sheet1.xml",
         "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"},
        {"xl/sharedStrings.xml", strings}};
    int error = 0;
    zip_t *archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto &[name, content] : parts) {
        const zip_int64_t index = zip_file_add(
            archive, name, zip_source_buffer(archive, content.data(), content.size(), 0), 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    EXPECT_EQ(zip_close(archive), 0);
    return file;
}

// A column letter of a 0-based index below 26 * 27.
std::string columnLetters(size_t column)
{
    return column < 26 ? std::string(1, static_cast<char>('A' + column))
                       : columnLetters(column / 26 - 1) + static_cast<char>('A' + column % 26);
}

// Sheets written straight into the archive: the texts shared, only the cells the import reads.
class LineByLineTest : public ImportFromExcelTest
{
protected:
    // A line's cells: the column letters, then what follows the reference's row number.
    using Cells = std::vector<std::pair<std::string, std::string>>;

    Cells cellsOf(const SheetLine &l)
    {
        Cells cells;
        for (size_t c = 0; c < m_names.size(); ++c) {
            const auto it = l.find(m_names[c]);
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
    }

    void addLine(long sheetRow, const Cells &cells)
    {
        const std::string row = std::to_string(sheetRow);
        m_sheetData += "<row r=\"" + row + "\">";
        for (const auto &[letters, rest] : cells)
            m_sheetData.append("<c r=\"").append(letters).append(row).append(rest);
        m_sheetData += "</row>";
    }

    std::filesystem::path write()
    {
        std::string strings = "<sst>";
        for (const auto &text : m_texts)
            strings += "<si><t>" + text + "</t></si>";
        strings += "</sst>";
        return writeWorkbook(m_dir / "lines.xlsx", m_sheetData, strings);
    }

    // Runs the import of the file; what the error list showed goes to errorLines.
    bool import(const std::filesystem::path &file)
    {
        modals.whileShown([this](host::ui::Form &form) {
            errorLines = dynamic_cast<host::DisplayWindow &>(form).columnTexts(0);
        });
        return PubVariant::ImportFromExcel(file.string());
    }

    QStringList errorLines;

private:
    size_t textIndex(const std::string &text)
    {
        const auto at = std::find(m_texts.begin(), m_texts.end(), text);
        if (at != m_texts.end())
            return static_cast<size_t>(at - m_texts.begin());
        m_texts.push_back(text);
        return m_texts.size() - 1;
    }

    std::string headerLine() const
    {
        std::string xml = "<row r=\"1\">";
        for (size_t c = 0; c < m_names.size(); ++c)
            xml += "<c t=\"s\"><v>" + std::to_string(c) + "</v></c>";
        return xml + "</row>";
    }

    std::vector<std::string> m_names = columnNames();
    std::vector<std::string> m_texts = headers();
    std::string m_sheetData = headerLine();
};

// More lines than the whole sheet could once take in memory (about 200,000 lines of 31 columns
// filled 256 MB). Every line counts the plain item's line again, except a line in the middle
// that names an unknown item and a last one that adds a batch.
TEST_F(LineByLineTest, ASheetOfMoreLinesThanMemoryOnceHeldIsImported)
{
    constexpr long kLines = 210000;
    constexpr long kUnknownLine = 150000;
    SheetLine counted = line(kPlainItem);
    counted["CheckQty"] = 3.0;
    SheetLine unknown = counted;
    unknown["ItemName"] = "没有的物料";
    SheetLine last = line(kBatchItem);
    last["BatchNo"] = "LAST";
    last["CheckQty"] = 5.0;
    const Cells usual = cellsOf(counted);
    for (long record = 1; record <= kLines; ++record)
        addLine(record + 1, record == kUnknownLine ? cellsOf(unknown)
                            : record == kLines     ? cellsOf(last)
                                                   : usual);

    EXPECT_TRUE(import(write()));

    EXPECT_EQ(errorLines, QStringList{"第150000条记录的物料为：没有的物料 在基础资料中不存在!"});
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FAuxCheckQty")), 3);
    EXPECT_EQ(countLines(kBatchItem), 1);
    EXPECT_EQ(host::CStr(lineValue(kBatchItem, "FBatchNo")), "LAST");
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kBatchItem, "FAuxCheckQty")), 5);
}

// A template's formula dragged down past the data into a column the import passes over leaves
// lines holding nothing the import reads: no records, so nothing is refused.
TEST_F(LineByLineTest, LinesHoldingOnlyCellsTheImportPassesOverAreNoRecords)
{
    SheetLine counted = line(kPlainItem);
    counted["CheckQty"] = 3.0;
    addLine(2, cellsOf(counted));
    for (long sheetRow = 3; sheetRow <= 5; ++sheetRow)
        addLine(sheetRow,
                {{"G", "\" t=\"str\"><f>A1</f><v>规格</v></c>"}, {"AA", "\"><f>1+1</f></c>"}});

    EXPECT_TRUE(import(write()));

    EXPECT_EQ(modals.messageTexts(), QStringList{"数据引入完毕!"});
    EXPECT_TRUE(errorLines.isEmpty()) << errorLines.join('\n').toStdString();
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FAuxCheckQty")), 3);
}

// Damage past the first lines is found while the lines before it are being staged: the import
// stops with the reader's reason, and nothing it staged reaches the count.
TEST_F(LineByLineTest, DamageFoundMidwayStopsTheImportBeforeAnythingIsMerged)
{
    SheetLine counted = line(kPlainItem);
    counted["CheckQty"] = 3.0;
    for (long sheetRow = 2; sheetRow <= 300; ++sheetRow)
        addLine(sheetRow, cellsOf(counted));
    addLine(250, cellsOf(counted));

    import(write());

    ASSERT_EQ(modals.messageTexts().size(), 1);
    const QStringList lines = modals.messageTexts().front().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "引入遇到问题，请重命名工作表或重新生成引入文件，再重试");
    EXPECT_TRUE(lines[1].endsWith("the row 250 comes after the row 300")) << lines[1].toStdString();
    EXPECT_TRUE(errorLines.isEmpty());
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
    EXPECT_EQ(stagingTables(), 0);
}

} // namespace
