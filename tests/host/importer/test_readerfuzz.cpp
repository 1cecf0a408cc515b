// Mutated workbooks and workbooks whose numbers lie on or past every limit: the reader must
// answer each with a recordset or a HostError, never crash, hang or throw anything else. A fixed
// seed keeps runs repeatable.
#include "craftedworkbook.h"
#include "xlswriter.h"

#include "host/core/hosterror.h"
#include "host/importer/compoundfile.h"
#include "host/importer/littleendian.h"
#include "host/importer/sheetimport.h"
#include "host/importer/sheetrecords.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

namespace {

// Markup, row numbers, cell references, indexes and sizes on and past the limits.
const char *const kFragments[] = {"<row r=\"",  "<c r=\"",
                                  "\">",        "</c>",
                                  "<v>",        "</v>",
                                  " t=\"s\"",   "<si><t>",
                                  "</t></si>",  " t=\"inlineStr\"><is><t>",
                                  "&#x10FFFF;", "<!DOCTYPE x [<!ENTITY a \"aa\">]>&a;",
                                  "1048576",    "1048577",
                                  "4294967296", "18446744073709551616",
                                  "-1",         "XFD",
                                  "XFE1",       "AAAA1",
                                  "1e308",      "nan"};

class ReaderFuzz : public ::testing::Test
{
protected:
    void TearDown() override { std::filesystem::remove(m_file); }

    void expectReadOrRefused(int iteration)
    {
        try {
            const auto records = host::SheetImport().importdata(m_file.string());
            while (!records->EOF())
                records->MoveNext();
        } catch (const host::HostError &e) {
            // A refusal names the file and says why.
            if (e.Description().find(m_file.string()) == std::string::npos)
                ADD_FAILURE() << "iteration " << iteration << ": " << e.Description();
        } catch (const std::exception &e) {
            ADD_FAILURE() << "iteration " << iteration << ": " << e.what();
        }
    }

    size_t below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }

    void mutate(std::string &text)
    {
        for (size_t n = 1 + below(4); n > 0; --n) {
            const size_t at = below(text.size() + 1);
            if (const size_t kind = below(3); kind == 0)
                text.insert(at, kFragments[below(std::size(kFragments))]);
            else if (kind == 1)
                text.erase(at, 1 + below(16));
            else if (at < text.size())
                text[at] = static_cast<char>(m_random());
        }
    }

    std::filesystem::path m_file =
        std::filesystem::temp_directory_path() / ("readerfuzz-" + std::to_string(::getpid()));
    std::mt19937 m_random{20261207};
};

// Numbers on and past the edges of the fields they are written into.
constexpr std::uint32_t kEdgeValues[] = {0,      1,      2,      0x7F,       0x80,      0xFF,
                                         0x100,  0x7FFF, 0x8000, 0xFFFE,     0xFFFF,    0x10000,
                                         0x2000, 8224,   8225,   0xFFFFFFFE, 0xFFFFFFFF};
// Record types a reader treats apart, and which therefore must not be trusted in a wrong place.
constexpr std::uint16_t kRecordTypes[] = {
    0x0809, 0x000A, 0x003C, 0x00FC, 0x00FD, 0x0204, 0x00D6, 0x0203, 0x027E, 0x00BD, 0x0205, 0x0006,
    0x0207, 0x04BC, 0x0200, 0x0085, 0x00E0, 0x041E, 0x0022, 0x0042, 0x002F, 0x0201, 0x00BE};
// Fields of a compound document's header: version, sector sizes, sector counts and the first
// sectors of its tables.
constexpr size_t kHeaderFields[] = {0x1A, 0x1E, 0x20, 0x2C, 0x30, 0x38, 0x3C,
                                    0x40, 0x44, 0x48, 0x4C, 0x50, 0x54};

// A workbook saved by a spreadsheet program, and where in its file each record of its stream
// begins: those whose first bytes lie in one sector and nowhere else in the file.
struct FuzzSeed
{
    std::string bytes;
    std::vector<size_t> records;
};

FuzzSeed fuzzSeed(const std::filesystem::path &file)
{
    FuzzSeed seed{readBytes(file), {}};
    const std::string stream = host::readCompoundStream(file, {"Workbook", "Book"});
    for (size_t at = 0; at + 4 <= stream.size();
         at += 4 + host::littleEndian<std::uint16_t>(stream, at + 2)) {
        const std::string head = stream.substr(at, 12);
        const size_t found = seed.bytes.find(head);
        if (head.size() == 12 && found != std::string::npos &&
            seed.bytes.find(head, found + 1) == std::string::npos)
            seed.records.push_back(found);
    }
    return seed;
}

// How many damaged workbooks a run reads: a few thousand in the test suite, more when asked
// (scripts/fuzz-xls).
int fuzzCases()
{
    const char *cases = std::getenv("STOCKCHECK_FUZZ_CASES");
    return cases ? std::atoi(cases) : 3000;
}

TEST_F(ReaderFuzz, MutatedXlsxWorkbooksAreReadOrRefused)
{
    auto seed = workbookParts(
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c></row><row>"
        "<c t=\"inlineStr\"><is><t>01</t></is></c><c s=\"1\"><v>46000</v></c><c t=\"b\"><v>1</v>"
        "</c></row><row r=\"9\"><c r=\"XFD9\"><v>12.5</v></c></row>",
        "<si><t>仓库代码</t></si><si><r><t>生产</t></r><rPh><t>x</t></rPh></si>");
    seed["xl/styles.xml"] = "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy\"/>"
                            "</numFmts><cellXfs><xf/><xf numFmtId=\"164\"/></cellXfs></styleSheet>";
    const std::uint32_t sizes[] = {0, 1, 0x7FFFFFFF, 0xE8000000, 0xFFFFFFFF};
    for (int iteration = 0; iteration < 100; ++iteration) {
        auto parts = seed;
        for (auto &part : parts) {
            if (below(3) == 0)
                mutate(part.second);
        }
        writeZip(m_file, parts);
        if (below(4) == 0) {
            auto member = parts.begin();
            std::advance(member, below(parts.size()));
            claimSize(m_file, member->first, sizes[below(std::size(sizes))]);
        }
        if (below(8) == 0) {
            std::string bytes = readBytes(m_file);
            bytes[below(bytes.size())] = static_cast<char>(m_random());
            writeBytes(m_file, bytes);
        }
        expectReadOrRefused(iteration);
    }
}

TEST_F(ReaderFuzz, MutatedXlsWorkbooksAreReadOrRefused)
{
    // Plain cells, formulas with their results, and an Excel 5 workbook in a short stream.
    const std::vector<std::vector<host::Variant>> cells = {
        {"仓库代码", "数量", "生产/采购日期", "盘点", "错误"},
        {"01", 12.5, "2024-03-05", true, "#N/A"}};
    const XlsWriting kinds[] = {
        {}, {.formulas = true}, {.formulas = true, .excel5 = true, .shortStream = true}};
    std::vector<std::string> seeds;
    for (const XlsWriting &kind : kinds) {
        writeXls(m_file, cells, kind);
        seeds.push_back(readBytes(m_file));
    }
    const std::uint32_t rows[] = {0, 1, 2, 65537, 1000000000, 0xFFFFFFFF};
    const std::uint16_t columns[] = {0, 1, 2, 257, 0xFFFF};
    for (int iteration = 0; iteration < 150; ++iteration) {
        const size_t kind = static_cast<size_t>(iteration) % seeds.size();
        writeBytes(m_file, seeds[kind]);
        if (iteration % 2 && !kinds[kind].excel5)
            claimDimensions(m_file, rows[below(std::size(rows))],
                            columns[below(std::size(columns))]);
        // Past the compound document's header, where the records and the sector tables lie.
        std::string bytes = readBytes(m_file);
        for (size_t n = below(6); n > 0; --n)
            bytes[512 + below(bytes.size() - 512)] = static_cast<char>(m_random());
        writeBytes(m_file, bytes);
        expectReadOrRefused(iteration);
    }
}

// Workbooks a spreadsheet program saved, each damaged in one place: a record's type, a record's
// length, a field of the compound document's header, or a byte of a record or of the file.
TEST_F(ReaderFuzz, DamagedXlsWorkbooksOfASpreadsheetProgramAreReadOrRefused)
{
    if (const char *seed = std::getenv("STOCKCHECK_FUZZ_SEED"))
        m_random.seed(static_cast<unsigned>(std::atol(seed)));
    const std::filesystem::path fixtures = IMPORTER_FIXTURES;
    const std::vector<FuzzSeed> seeds = {fuzzSeed(fixtures / "counts.xls"),
                                         fuzzSeed(fixtures / "counts1904.xls")};
    for (const auto &seed : seeds)
        ASSERT_GT(seed.records.size(), 50u);
    const auto edge = [this] {
        return below(4) == 0 ? static_cast<std::uint32_t>(m_random())
                             : kEdgeValues[below(std::size(kEdgeValues))];
    };
    const int cases = fuzzCases();
    for (int iteration = 0; iteration < cases; ++iteration) {
        const FuzzSeed &seed = seeds[static_cast<size_t>(iteration) % seeds.size()];
        std::string bytes = seed.bytes;
        const size_t record = seed.records[below(seed.records.size())];
        const auto write = [&bytes](size_t at, auto value) {
            if (at + sizeof value <= bytes.size())
                std::memcpy(bytes.data() + at, &value, sizeof value);
        };
        switch (iteration / 2 % 4) {
        case 0:
            write(record, below(3) == 0 ? static_cast<std::uint16_t>(m_random())
                                        : kRecordTypes[below(std::size(kRecordTypes))]);
            break;
        case 1:
            write(record + 2,
                  static_cast<std::uint16_t>(
                      below(2) == 0
                          ? edge()
                          : host::littleEndian<std::uint16_t>(bytes, record + 2) + below(5) - 2));
            break;
        case 2: {
            const size_t field = kHeaderFields[below(std::size(kHeaderFields))];
            if (field == 0x1A || field == 0x1E || field == 0x20)
                write(field, static_cast<std::uint16_t>(edge()));
            else
                write(field, edge());
            break;
        }
        default:
            bytes[below(2) == 0 ? record + 4 + below(16) : below(bytes.size())] =
                static_cast<char>(m_random());
            break;
        }
        writeBytes(m_file, bytes);
        expectReadOrRefused(iteration);
    }
}

} // namespace
