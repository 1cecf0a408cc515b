// Mutated and crafted workbooks: the reader must answer every file with a recordset or a
// HostError, never crash, hang or throw anything else, whatever sizes, row and column numbers
// or indexes the file holds. A fixed seed keeps runs repeatable.
#include "craftedworkbook.h"
#include "xlswriter.h"

#include "host/core/hosterror.h"
#include "host/db/recordset.h"
#include "host/importer/sheetimport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace {

const char *const kFragments[] = {"<row r=\"",
                                  "<c r=\"",
                                  "\">",
                                  "\"/>",
                                  "</c>",
                                  "<v>",
                                  "</v>",
                                  "</row>",
                                  " t=\"s\"",
                                  " t=\"inlineStr\"><is><t>",
                                  "</t></is>",
                                  " s=\"1\"",
                                  "<si><t>",
                                  "</t></si>",
                                  "<r><t>",
                                  "&amp;",
                                  "&#x10FFFF;",
                                  "<![CDATA[",
                                  "<!DOCTYPE x [<!ENTITY a \"aaaa\">]>",
                                  "&a;",
                                  "1048576",
                                  "1048577",
                                  "4294967296",
                                  "18446744073709551616",
                                  "-1",
                                  "0",
                                  "XFD",
                                  "XFE",
                                  "ZZZZZZZZ",
                                  "A0",
                                  "1e308",
                                  "nan",
                                  "99999999999999999999"};

// Row numbers, cell references and string indexes that lie on or past every limit.
const char *const kExtremes[] = {
    "0",          "1",    "-1",   "1048576",  "1048577", "2000000",    "4294967295",
    "4294967296", "XFD1", "XFE1", "A1048577", "AAAA1",   "XFD1048576", "18446744073709551615",
    "",           "abc"};

class ReaderFuzz : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_file = std::filesystem::temp_directory_path() /
                 ("readerfuzz-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { std::filesystem::remove(m_file); }

    // Reads the file; anything but rows or a HostError fails the test.
    void expectReadOrRefused(const std::string &what)
    {
        try {
            const auto rs = host::SheetImport().importdata(m_file.string());
            EXPECT_GE(rs->RecordCount(), 0);
        } catch (const host::HostError &) {
        } catch (const std::exception &e) {
            ADD_FAILURE() << what << ": " << e.what();
        }
    }

    void mutate(std::string &text)
    {
        for (int n = std::uniform_int_distribution<int>(1, 4)(m_random); n > 0; --n) {
            const size_t at = std::uniform_int_distribution<size_t>(0, text.size())(m_random);
            switch (std::uniform_int_distribution<int>(0, 3)(m_random)) {
            case 0:
                text.insert(at, pick(kFragments));
                break;
            case 1:
                text.erase(at, std::uniform_int_distribution<size_t>(1, 16)(m_random));
                break;
            case 2:
                if (at < text.size())
                    text[at] = static_cast<char>(m_random());
                break;
            default:
                text.insert(at, text.substr(at, 64));
            }
        }
    }

    // Every quoted attribute value and every v element becomes an extreme one.
    void toExtremes(std::string &text)
    {
        for (const auto &[open, close] : {std::pair{"r=\"", "\""}, std::pair{"<v>", "</v>"}}) {
            for (size_t at = text.find(open); at != std::string::npos;
                 at = text.find(open, at + 1)) {
                const size_t begin = at + std::strlen(open);
                const size_t end = text.find(close, begin);
                if (end == std::string::npos)
                    break;
                if (m_random() % 2)
                    text.replace(begin, end - begin, pick(kExtremes));
            }
        }
    }

    template <size_t N> std::string pick(const char *const (&list)[N])
    {
        return list[std::uniform_int_distribution<size_t>(0, N - 1)(m_random)];
    }

    std::filesystem::path m_file;
    std::mt19937 m_random{20261207};
};

std::map<std::string, std::string> seedWorkbook()
{
    auto parts = workbookParts(
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c></row>"
        "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>01</t></is></c><c r=\"B2\" s=\"1\">"
        "<v>46000</v></c><c r=\"C2\" t=\"b\"><v>1</v></c></row>"
        "<row r=\"3\"><c r=\"B3\"><v>12.5</v></c><c r=\"D3\" t=\"str\"><v>x</v></c></row>",
        "<si><t>仓库代码</t></si><si><r><t>生产</t></r><r><t>日期</t></r><rPh><t>x</t></rPh></si>");
    parts["xl/styles.xml"] = "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy\"/>"
                             "</numFmts><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/>"
                             "</cellXfs></styleSheet>";
    return parts;
}

TEST_F(ReaderFuzz, MutatedXlsxPartsAreReadOrRefused)
{
    const auto seed = seedWorkbook();
    for (int iteration = 0; iteration < 150; ++iteration) {
        auto parts = seed;
        for (auto &[name, text] : parts) {
            if (m_random() % 3 == 0)
                mutate(text);
            if (m_random() % 4 == 0)
                toExtremes(text);
        }
        writeZip(m_file, parts);
        expectReadOrRefused("xlsx iteration " + std::to_string(iteration));
    }
}

TEST_F(ReaderFuzz, ZipArchivesWithLyingHeadersOrBytesAreReadOrRefused)
{
    const auto seed = seedWorkbook();
    const std::uint32_t sizes[] = {0, 1, 255, 65536, 0x7FFFFFFF, 0xE8000000, 0xFFFFFFFF};
    for (int iteration = 0; iteration < 100; ++iteration) {
        writeZip(m_file, seed);
        auto member = seed.begin();
        std::advance(member, m_random() % seed.size());
        claimSize(m_file, member->first, sizes[m_random() % std::size(sizes)]);
        if (iteration % 2) {
            std::string bytes;
            {
                std::ifstream in(m_file, std::ios::binary);
                bytes.assign(std::istreambuf_iterator<char>(in), {});
            }
            for (int n = 0; n < 4; ++n)
                bytes[m_random() % bytes.size()] = static_cast<char>(m_random());
            std::ofstream(m_file, std::ios::binary | std::ios::trunc) << bytes;
        }
        expectReadOrRefused("zip iteration " + std::to_string(iteration));
    }
}

TEST_F(ReaderFuzz, MutatedXlsWorkbooksAreReadOrRefused)
{
    writeXls(m_file, {{"仓库代码", "数量", "生产/采购日期"}, {"01", 12.5, "2024-03-05"}});
    std::string seed;
    {
        std::ifstream in(m_file, std::ios::binary);
        seed.assign(std::istreambuf_iterator<char>(in), {});
    }
    const size_t dimensions = seed.find(std::string("\x00\x02\x0E\x00", 4));
    ASSERT_NE(dimensions, std::string::npos);
    const std::uint32_t rows[] = {0, 1, 2, 65537, 1000000000, 0xFFFFFFFF};
    const std::uint16_t columns[] = {0, 1, 2, 257, 0xFFFF};
    for (int iteration = 0; iteration < 100; ++iteration) {
        std::string bytes = seed;
        if (iteration % 2) {
            std::memcpy(bytes.data() + dimensions + 8, &rows[m_random() % std::size(rows)], 4);
            std::memcpy(bytes.data() + dimensions + 14, &columns[m_random() % std::size(columns)],
                        2);
        } else {
            // Past the compound document's header, where the records and the tables lie.
            for (int n = 0; n < 6; ++n)
                bytes[512 + m_random() % (bytes.size() - 512)] = static_cast<char>(m_random());
        }
        std::ofstream(m_file, std::ios::binary | std::ios::trunc) << bytes;
        expectReadOrRefused("xls iteration " + std::to_string(iteration));
    }
}

} // namespace
