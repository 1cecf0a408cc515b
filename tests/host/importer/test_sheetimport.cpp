#include "support/childprocess.h"
#include "xlswriter.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/displayer/dispbuilder.h"
#include "host/displayer/displaywindow.h"
#include "host/importer/sheetimport.h"
#include "host/importer/sheetrecords.h"
#include "host/ui/modal/scriptedmodals.h"

#include <QTableView>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <charconv>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include <cstdlib>

namespace {

class SheetImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("sheetimport-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path m_dir;
    host::SheetImport reader;
};

// What both formats must give: header texts as field names (an empty one named by its column),
// Null for empty cells, numbers, dates and texts, trailing empty lines dropped.
// Returns the first record's production date.
host::Variant expectCountSheet(host::SheetRecords &rs)
{
    EXPECT_EQ(rs.FieldCount(), 4);
    EXPECT_EQ(rs.FieldName(0), "仓库代码");
    EXPECT_EQ(rs.FieldName(2), "F3");
    EXPECT_EQ(rs.FieldName(3), "生产/采购日期");
    EXPECT_THROW(rs.FieldName(4), host::HostError);
    EXPECT_FALSE(rs.EOF());
    EXPECT_EQ(host::CStr(rs.Value(0)), "01");
    EXPECT_DOUBLE_EQ(host::CDbl(rs.Value(1)), 12.5);
    EXPECT_TRUE(rs.Value(2).isNull());
    const host::Variant kfDate = rs.Value(3);
    rs.MoveNext();
    EXPECT_FALSE(rs.EOF());
    EXPECT_TRUE(rs.Value(0).isNull());
    EXPECT_EQ(host::CStr(rs.Value(2)), "批次 B1");
    EXPECT_TRUE(rs.Value(3).isNull());
    rs.MoveNext();
    EXPECT_TRUE(rs.EOF());
    EXPECT_THROW(rs.Value(0), host::HostError);
    return kfDate;
}

TEST_F(SheetImportTest, ReadsTheFirstWorksheetOfAnXlsxWorkbook)
{
    const auto file = m_dir / "count.xlsx";
    lxw_workbook *workbook = workbook_new(file.c_str());
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    workbook_add_worksheet(workbook, nullptr);
    lxw_format *dateFormat = workbook_add_format(workbook);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    worksheet_write_string(sheet, 0, 0, "仓库代码", nullptr);
    worksheet_write_string(sheet, 0, 1, "数量", nullptr);
    worksheet_write_string(sheet, 0, 3, "生产/采购日期", nullptr);
    worksheet_write_string(sheet, 1, 0, "01", nullptr);
    worksheet_write_number(sheet, 1, 1, 12.5, nullptr);
    lxw_datetime date = {2024, 3, 5, 0, 0, 0};
    worksheet_write_datetime(sheet, 1, 3, &date, dateFormat);
    worksheet_write_string(sheet, 2, 2, "批次 B1", nullptr);
    worksheet_write_blank(sheet, 5, 0, dateFormat);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    const host::Variant kfDate = expectCountSheet(*reader.importdata(file.string()));
    ASSERT_EQ(kfDate.type(), host::VariantType::Date);
    EXPECT_EQ(host::formatDate(kfDate.dateValue(), "YYYY-MM-DD"), "2024-03-05");
}

TEST_F(SheetImportTest, ReadsAnXlsWorkbook)
{
    const auto file = m_dir / "count.xls";
    const host::Variant null = host::Variant::null();
    writeXls(file, {{"仓库代码", "数量", null, "生产/采购日期"},
                    {"01", 12.5, null, "2024-03-05"},
                    {null, null, "批次 B1"},
                    {null}});

    EXPECT_EQ(host::CStr(expectCountSheet(*reader.importdata(file.string()))), "2024-03-05");
}

// A value with its kind, so that a number and a date of the same day differ.
std::string describe(const host::Variant &value)
{
    switch (value.type()) {
    case host::VariantType::Null:
        return "";
    case host::VariantType::Double: {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, host::CDbl(value)).ptr;
        return "number " + std::string(text, end);
    }
    case host::VariantType::Date:
        return "date " + host::formatDate(value.dateValue(), "YYYY-MM-DD");
    case host::VariantType::Boolean:
        return value.boolValue() ? "TRUE" : "FALSE";
    case host::VariantType::String:
        return "text " + value.stringValue();
    default:
        return host::isUncomputedFormula(value) ? "formula without a result" : "other";
    }
}

// The field names, then every record: its line and its values.
std::vector<std::vector<std::string>> readAll(const std::filesystem::path &file)
{
    const auto rs = host::SheetImport().importdata(file.string());
    std::vector<std::vector<std::string>> read(1);
    for (long field = 0; field < rs->FieldCount(); ++field)
        read[0].push_back(rs->FieldName(field));
    for (; !rs->EOF(); rs->MoveNext()) {
        read.push_back({std::to_string(rs->sheetLine())});
        for (long field = 0; field < rs->FieldCount(); ++field)
            read.back().push_back(describe(rs->Value(field)));
    }
    return read;
}

// One sheet saved by a spreadsheet program as .xls and as .xlsx (see fixtures/README.md), after
// a hidden sheet, reads alike from both; what it holds is checked in one of them.
TEST_F(SheetImportTest, ASheetSavedInBothFormatsReadsAlike)
{
    const std::filesystem::path fixtures = IMPORTER_FIXTURES;
    for (const std::string name : {"counts", "counts1904"}) {
        const auto xls = readAll(fixtures / (name + ".xls"));
        EXPECT_EQ(xls, readAll(fixtures / (name + ".xlsx"))) << name;
        ASSERT_GE(xls.size(), 3u) << name;
        ASSERT_EQ(xls[0].size(), 31u) << name;
        EXPECT_EQ(xls[0][10], "生产/采购日期");
        // A date, and a formula giving a date, each under a date format.
        const size_t dated = name == "counts" ? 3 : 1;
        EXPECT_EQ(xls[dated][11], "date 2026-06-01") << name;
        EXPECT_EQ(xls[dated + 1][11], "date 2026-07-01") << name;
    }
    // Field values follow the record's line; the texts of formulas, their errors and logical
    // values, an empty text and a text longer than a record holds.
    const auto read = readAll(fixtures / "counts.xls");
    ASSERT_EQ(read.size(), 9u);
    EXPECT_EQ(read[1][7].size(), std::string("text ").size() + 9000 * 3);
    EXPECT_EQ(read[1][22], "number 12.5");
    EXPECT_EQ(read[1][23], "number 2");
    EXPECT_EQ(read[1][31], "text #DIV/0!");
    EXPECT_EQ(read[2][31], "");
    EXPECT_EQ(read[4][31], "text 公式文本");
    EXPECT_EQ(read[5][31], "TRUE");
    EXPECT_EQ(read[7][22], "TRUE");
}

TEST_F(SheetImportTest, AHeaderWithoutDataLinesGivesNoRecords)
{
    const auto file = m_dir / "empty.xls";
    writeXls(file, {{"仓库代码", "数量"}});
    const auto rs = reader.importdata(file.string());
    EXPECT_EQ(rs->FieldCount(), 2);
    EXPECT_TRUE(rs->EOF());
}

TEST_F(SheetImportTest, AFileThatIsNoWorkbookIsAnError)
{
    const auto text = m_dir / "count.xls";
    std::ofstream(text) << "a,b\n1,2\n";
    EXPECT_THROW(reader.importdata(text.string()), host::HostError);
    EXPECT_THROW(reader.importdata((m_dir / "missing.xlsx").string()), host::HostError);
    const auto broken = m_dir / "broken.xlsx";
    std::ofstream(broken, std::ios::binary) << "PK\x03\x04 not really a zip";
    EXPECT_THROW(reader.importdata(broken.string()), host::HostError);
    // A pipe is refused before it is opened, which would wait for a writer.
    const auto pipe = m_dir / "pipe.xlsx";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const auto &notAFile : {pipe, m_dir}) {
        try {
            reader.importdata(notAFile.string());
            ADD_FAILURE() << notAFile << " was read";
        } catch (const host::HostError &e) {
            EXPECT_NE(e.Description().find("is no regular file"), std::string::npos)
                << e.Description();
        }
    }
}

TEST(DispBuilderTest, ShowsItsLinesInOneWindow)
{
    host::ui::ScriptedModals modals;
    QStringList shown;
    QStringList headers;
    modals.whileShown([&](host::ui::Form &form) {
        auto &window = dynamic_cast<host::DisplayWindow &>(form);
        shown = window.columnTexts(0);
        headers = window.headerTexts();
    });
    host::DispBuilder list;
    list.Cols(1);
    list.SetColWidth(1, 7800);
    list.titles("错误原因|");
    list.Caption("引入错误提示");
    list.Add("第1条记录的物料为：螺栓 在基础资料中不存在!|");
    list.Add("第2条记录进行批次管理物料批次为空!|ignored|");
    list.Show(1);

    ASSERT_EQ(modals.modalWindows().size(), 1u);
    EXPECT_EQ(modals.modalWindows().front().caption, "引入错误提示");
    EXPECT_EQ(headers, QStringList{"错误原因"});
    EXPECT_EQ(shown, (QStringList{"第1条记录的物料为：螺栓 在基础资料中不存在!",
                                  "第2条记录进行批次管理物料批次为空!"}));
    EXPECT_THROW(list.SetColWidth(2, 100), host::HostError);
}

// The peak of the process's resident memory, in megabytes.
long peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::atol(line.c_str() + 6) / 1024;
    return 0;
}

// The refusals of an import of a million lines of junk are kept and shown in a fraction of
// what a list of a million texts and a table item for each would take.
TEST(DispBuilderTest, AMillionLinesTakeLittleMoreMemoryThanTheirTexts)
{
    constexpr long kLines = 1000000;
    const std::string result =
        ChildProcess([] {
            const long before = peakMegabytes();
            host::ui::ScriptedModals modals;
            std::string shown;
            modals.whileShown([&shown](host::ui::Form &form) {
                const auto *table = form.findChild<QTableView *>();
                const int rows = table->model()->rowCount();
                shown = std::to_string(rows) + " lines, the last: " +
                        table->model()->index(rows - 1, 0).data().toString().toStdString();
            });
            host::DispBuilder list;
            list.Cols(1);
            list.titles("错误原因|");
            for (long record = 1; record <= kLines; ++record)
                list.Add("第" + std::to_string(record) +
                         "条记录的物料为：junk 在基础资料中不存在!|");
            list.Show(1);
            return shown + "; " + std::to_string(peakMegabytes() - before) + " MB";
        }).finish();

    EXPECT_TRUE(result.starts_with("1000000 lines, the last: 第1000000条记录的物料为：junk "
                                   "在基础资料中不存在!; "))
        << result;
    // The texts take some 70 MB; a table item for each line took 530.
#ifdef __SANITIZE_ADDRESS__
    // The sanitizer's redzones and quarantine add what the heap holds again, or more.
    constexpr long kLimitMb = 400;
#else
    constexpr long kLimitMb = 150;
#endif
    EXPECT_LT(std::atol(result.substr(result.rfind("; ") + 2).c_str()), kLimitMb) << result;
}

} // namespace
