// Crafted workbooks: small files whose sizes and numbers lie. Each is read in a child process
// whose memory is limited, as a small file must never take more than a few hundred megabytes;
// it is refused with the reader's error, or read for what it really holds.
#include "craftedworkbook.h"
#include "support/casename.h"
#include "support/childprocess.h"
#include "xlswriter.h"

#include "host/core/hosterror.h"
#include "host/db/recordset.h"
#include "host/importer/sheetimport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

constexpr size_t kMemoryLimitMb = 512;
constexpr std::uint32_t k39GB = 0xE8000000;

struct HostileCase
{
    const char *description;
    std::function<void(const std::filesystem::path &)> write;
    const char *expected; // the start of what reading gives
};

void xlsx(const std::filesystem::path &file, const std::string &sheetData,
          const std::string &sharedStrings = {})
{
    writeZip(file, workbookParts(sheetData, sharedStrings));
}

// An .xls workbook whose dimensions record claims rows and columns it does not have.
void xlsClaiming(const std::filesystem::path &file, std::uint32_t rows, std::uint16_t columns)
{
    writeXls(file, {{"仓库代码", 1.0}});
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const size_t at = bytes.find(std::string("\x00\x02\x0E\x00", 4));
    ASSERT_NE(at, std::string::npos);
    std::memcpy(bytes.data() + at + 8, &rows, sizeof rows);
    std::memcpy(bytes.data() + at + 14, &columns, sizeof columns);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

const std::string kOneCell = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"
                             "<row r=\"2\"><c r=\"A2\"><v>5</v></c></row>";

const HostileCase kCases[] = {
    {"row number 2000000",
     [](const auto &f) { xlsx(f, "<row r=\"2000000\"><c r=\"A2000000\"><v>1</v></c></row>"); },
     "refused: Cannot read the workbook"},
    {"column past XFD",
     [](const auto &f) { xlsx(f, "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"); },
     "refused: Cannot read the workbook"},
    {"two cells at opposite corners",
     [](const auto &f) {
         xlsx(f, "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"1048576\">"
                 "<c r=\"XFD1048576\"><v>2</v></c></row>");
     },
     "refused: Cannot read the workbook"},
    {"worksheet entry claiming 3.9 GB",
     [](const auto &f) {
         xlsx(f, kOneCell, "<si><t>Head</t></si>");
         claimSize(f, "xl/worksheets/sheet1.xml", k39GB);
     },
     "read 1 records of 1 fields"},
    {"shared strings claiming 3.9 GB",
     [](const auto &f) {
         xlsx(f, kOneCell, "<si><t>Head</t></si>");
         claimSize(f, "xl/sharedStrings.xml", k39GB);
     },
     "read 1 records of 1 fields"},
    {"shared string of 8 MB",
     [](const auto &f) {
         xlsx(f, kOneCell, "<si><t>" + std::string(size_t{8} << 20, 'x') + "</t></si>");
     },
     "refused: Cannot read the workbook"},
    {"elements nested a million deep",
     [](const auto &f) {
         std::string deep;
         for (int i = 0; i < 1000000; ++i)
             deep += "<x>";
         xlsx(f, deep);
     },
     "refused: Cannot read the workbook"},
    {"worksheet cut short", [](const auto &f) { xlsx(f, "<row r=\"1\"><c r=\"A1\"><v>1</v>"); },
     "refused: Cannot read the workbook"},
    {"xls claiming a billion rows", [](const auto &f) { xlsClaiming(f, 1000000000u, 2); },
     "refused: Cannot read the workbook"},
    {"xls claiming more columns than a sheet has", [](const auto &f) { xlsClaiming(f, 2, 4000); },
     "refused: Cannot read the workbook"},
    {"xls claiming the most rows and columns it may have",
     [](const auto &f) { xlsClaiming(f, 65536, 256); }, "read 0 records of 2 fields"},
    {"plain workbook", [](const auto &f) { xlsx(f, kOneCell, "<si><t>Head</t></si>"); },
     "read 1 records of 1 fields"},
};

class HostileWorkbook : public ::testing::TestWithParam<HostileCase>
{};

TEST_P(HostileWorkbook, IsRefusedOrReadWithinTheMemoryLimit)
{
    // The reader goes by the file's signature, not its name.
    const auto file = std::filesystem::temp_directory_path() /
                      ("hostile-" + std::to_string(::getpid()) + "-" +
                       std::to_string(std::hash<std::string>{}(GetParam().description)) + ".xlsx");
    GetParam().write(file);

    const std::string result = inChildProcess(kMemoryLimitMb, [&file] {
        try {
            const auto rs = host::SheetImport().importdata(file.string());
            return "read " + std::to_string(rs->RecordCount()) + " records of " +
                   std::to_string(rs->FieldCount()) + " fields";
        } catch (const host::HostError &e) {
            return "refused: " + e.Description();
        }
    });
    std::filesystem::remove(file);
    EXPECT_TRUE(result.starts_with(GetParam().expected)) << result;
}

INSTANTIATE_TEST_SUITE_P(Files, HostileWorkbook, ::testing::ValuesIn(kCases),
                         [](const auto &param) {
                             return caseName(param.index, param.param.description);
                         });

} // namespace
