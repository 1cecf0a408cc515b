// Small crafted workbooks whose sizes and numbers lie, each read in a child process whose
// memory is limited: a small file must never take more than a few hundred megabytes. Each is
// refused with the reader's error saying why, or read for what it really holds.
#include "craftedworkbook.h"
#include "support/casename.h"
#include "support/childprocess.h"
#include "xlswriter.h"

#include "host/core/hosterror.h"
#include "host/importer/sheetimport.h"
#include "host/importer/sheetrecords.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct HostileCase
{
    const char *description;
    std::function<void(const std::filesystem::path &)> write;
    const char *expected;
};

const std::string kSheet = "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row><c><v>5</v></c></row>";
constexpr auto kOneRecord = "read 1 records of 1 fields";

void xlsx(const std::filesystem::path &f, const std::string &sheet,
          const std::string &strings = "<si><t>Head</t></si>")
{
    writeZip(f, workbookParts(sheet, strings));
}

void xls(const std::filesystem::path &f, std::uint32_t rows, std::uint16_t columns)
{
    writeXls(f, {{"Head", 1.0}});
    claimDimensions(f, rows, columns);
}

const HostileCase kCases[] = {
    {"row number 2000000",
     [](const auto &f) { xlsx(f, "<row r=\"2000000\"><c><v>1</v></c></row>"); },
     "outside the 1048576 rows"},
    {"rows out of order",
     [](const auto &f) { xlsx(f, "<row r=\"3\"><c><v>1</v></c></row><row r=\"2\"/>"); },
     "the row 2 comes after the row 3"},
    {"row number repeated",
     [](const auto &f) {
         xlsx(f, "<row r=\"2\"><c><v>1</v></c></row><row r=\"2\"><c><v>2</v></c></row>");
     },
     "the row 2 comes after the row 2"},
    {"cells at opposite corners of a sheet",
     [](const auto &f) {
         xlsx(f, "<row><c><v>1</v></c></row><row r=\"1048576\"><c r=\"XFD1\">"
                 "<v>2</v></c></row>");
     },
     "read 0 records of 1 fields"},
    {"dimension past the edge",
     [](const auto &f) {
         auto parts = workbookParts(kSheet, "<si><t>Head</t></si>");
         parts["xl/worksheets/sheet1.xml"] = "<worksheet><dimension ref=\"A1:XFE3\"/><sheetData>" +
                                             kSheet + "</sheetData></worksheet>";
         writeZip(f, parts);
     },
     "claims the cells A1:XFE3"},
    {"worksheet claiming 3.9 GB",
     [](const auto &f) {
         xlsx(f, kSheet);
         claimSize(f, "xl/worksheets/sheet1.xml", 0xE8000000);
     },
     kOneRecord},
    {"shared strings claiming 3.9 GB",
     [](const auto &f) {
         xlsx(f, kSheet);
         claimSize(f, "xl/sharedStrings.xml", 0xE8000000);
     },
     "claims to unpack to more than 1024 MB"},
    {"shared strings claiming a billion entries",
     [](const auto &f) {
         auto parts = workbookParts(kSheet);
         parts["xl/sharedStrings.xml"] =
             "<sst uniqueCount=\"1000000000\"><si><t>Head</t></si></sst>";
         writeZip(f, parts);
     },
     "hold more than 256 MB"},
    {"shared string of 8 MB",
     [](const auto &f) { xlsx(f, kSheet, "<si><t>" + std::string(8 << 20, 'x') + "</t></si>"); },
     "longer than"},
    {"elements nested a million deep",
     [](const auto &f) {
         std::string deep;
         for (int i = 0; i < 1000000; ++i)
             deep += "<x>";
         xlsx(f, deep);
     },
     "nest deeper than"},
    {"xls claiming a billion rows", [](const auto &f) { xls(f, 1000000000, 2); },
     "claims 1000000000 rows"},
    {"xls claiming all the rows and columns it may have", [](const auto &f) { xls(f, 65536, 256); },
     "read 0 records of 256 fields"},
    {"shared text past the table",
     [](const auto &f) {
         xlsx(f, "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row><c t=\"s\"><v>4294967295</v>"
                 "</c></row>");
     },
     "refers to the shared text 4294967295 of a table of 1"},
    {"shared text cell naming no text",
     [](const auto &f) {
         xlsx(f, "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row><c t=\"s\"><v/></c></row>");
     },
     "refers to a shared text without saying which"},
    {"plain workbook", [](const auto &f) { xlsx(f, kSheet); }, "read 1 records of 1 fields: 5"},
    // A line holding no value is no record, wherever it lies.
    {"lines far apart",
     [](const auto &f) {
         xlsx(f, "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row r=\"4\"><c><v>5</v></c></row>"
                 "<row r=\"1000000\"><c><v></v></c></row>");
     },
     "read 1 records of 1 fields: 5"},
    {"one cell on the last line of a sheet",
     [](const auto &f) {
         xlsx(f, "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row r=\"1048576\"><c><v>5</v></c>"
                 "</row>");
     },
     "read 1 records of 1 fields: 5"},
    // As written by programs that compute nothing: neither blank nor a number.
    {"formula without its result",
     [](const auto &f) {
         xlsx(f, "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row><c><f>SUM(A1:A9)</f></c></row>");
     },
     "read 1 records of 1 fields: (formula without a result)"},
    // An empty result is no result but where the formula gives a text.
    {"formula with an empty result",
     [](const auto &f) {
         xlsx(f, "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row><c><f>SUM(A1:A9)</f><v/></c>"
                 "<c t=\"str\"><f>\"\"</f><v/></c></row>");
     },
     "read 1 records of 1 fields: (formula without a result)"},
    // The first worksheet shown is read, not a chart sheet or a hidden sheet before it.
    {"chart and hidden sheet before the worksheet",
     [](const auto &f) {
         auto parts = workbookParts(kSheet, "<si><t>Head</t></si>");
         parts["xl/workbook.xml"] = "<workbook xmlns:r=\"urn:r\"><sheets><sheet r:id=\"rId2\"/>"
                                    "<sheet r:id=\"rId3\" state=\"hidden\"/><sheet r:id=\"rId1\"/>"
                                    "</sheets></workbook>";
         parts["xl/_rels/workbook.xml.rels"] =
             "<Relationships><Relationship Id=\"rId1\" Type=\"urn:r/worksheet\" "
             "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"urn:r/chartsheet\" "
             "Target=\"chartsheets/sheet1.xml\"/><Relationship Id=\"rId3\" "
             "Type=\"urn:r/worksheet\" Target=\"worksheets/sheet2.xml\"/></Relationships>";
         parts["xl/worksheets/sheet2.xml"] = "<worksheet><sheetData><row><c><v>1</v></c><c><v>2</v>"
                                             "</c></row></sheetData></worksheet>";
         writeZip(f, parts);
     },
     "read 1 records of 1 fields: 5"},
    {"xls chart sheet before the worksheet",
     [](const auto &f) {
         writeXls(f, {{"Head"}, {5.0}}, {.chartFirst = true});
     },
     "read 1 records of 1 fields: 5"},
    // As an .xlsx gives them: not as 1 and 0, and a formula as its result.
    {"xls TRUE, FALSE and an error value",
     [](const auto &f) {
         writeXls(f, {{"Head", "B", "C"}, {true, false, "#N/A"}});
     },
     "read 1 records of 3 fields: True|False|#N/A"},
    {"xls formulas with their results",
     [](const auto &f) {
         writeXls(f,
                  {{"Head", "B", "C", "D", "E"}, {5.0, "箱", "text", true, host::Variant::null()}},
                  {.formulas = true});
     },
     "read 1 records of 5 fields: 5|箱|text|True|"},
    {"xls of Excel 5 with formulas, kept as a short stream",
     [](const auto &f) {
         writeXls(f, {{"表头", "B"}, {"箱", 2.0}},
                  {.formulas = true, .excel5 = true, .shortStream = true});
     },
     "read 1 records of 2 fields: 箱|2"},
    // Its records cannot be read without the password.
    {"xls protected by a password",
     [](const auto &f) {
         writeXls(f, {{"Head"}, {1.0}});
         // The filler record at the start of the workbook's stream says the workbook is encrypted.
         std::string bytes = readBytes(f);
         bytes.replace(bytes.find(std::string("\x5C\x00", 2), 1536), 2, std::string("\x2F\x00", 2));
         writeBytes(f, bytes);
     },
     "the workbook is protected by a password"},
    {"formulas with their results",
     [](const auto &f) {
         xlsx(f, "<row r=\"1\"><c t=\"s\"><v>0</v></c></row><row><c t=\"b\"><f>A1=A1</f><v>1</v>"
                 "</c></row><row><c s=\"1\"/></row>");
     },
     "read 1 records of 1 fields: True"},
};

std::string describe(const host::Variant &value)
{
    if (value.isNull())
        return "";
    if (host::isUncomputedFormula(value))
        return "(formula without a result)";
    return host::CStr(value);
}

// What reading the file gives in a child process whose address space is limited to 512 MB.
std::string readWithinLimit(const std::filesystem::path &file)
{
    const auto read = [&file] {
        try {
            const auto rs = host::SheetImport().importdata(file.string());
            long records = 0;
            // The values of the first record.
            std::string first;
            for (; !rs->EOF(); rs->MoveNext()) {
                for (long field = 0; records == 0 && field < rs->FieldCount(); ++field)
                    first += (field == 0 ? ": " : "|") + describe(rs->Value(field));
                ++records;
            }
            return "read " + std::to_string(records) + " records of " +
                   std::to_string(rs->FieldCount()) + " fields" + first;
        } catch (const host::HostError &e) {
            return "refused: " + e.Description();
        }
    };
    return ChildProcess(read, 512).finish();
}

class HostileWorkbook : public ::testing::TestWithParam<HostileCase>
{};

TEST_P(HostileWorkbook, IsRefusedOrReadWithinTheMemoryLimit)
{
    const auto file = std::filesystem::temp_directory_path() /
                      ("hostile-" + std::to_string(::getpid()) + "-" +
                       std::to_string(std::hash<std::string>{}(GetParam().description)));
    GetParam().write(file);
    const std::string result = readWithinLimit(file);
    std::filesystem::remove(file);
    // A refusal names the file and says what is wrong with it.
    const std::string expected = GetParam().expected;
    EXPECT_TRUE(expected.starts_with("read ")
                    ? result.starts_with(expected)
                    : result.starts_with("refused: Cannot read the workbook") &&
                          result.find(expected) != std::string::npos)
        << result;
}

INSTANTIATE_TEST_SUITE_P(Files, HostileWorkbook, ::testing::ValuesIn(kCases),
                         [](const auto &param) {
                             return caseName(param.index, param.param.description);
                         });

} // namespace
