// Mutated workbooks and workbooks whose numbers lie on or past every limit: the reader must
// answer each with a recordset or a HostError, never crash, hang or throw anything else. A fixed
// seed keeps runs repeatable.
#include "craftedworkbook.h"
#include "xlswriter.h"

#include "host/core/hosterror.h"
#include "host/importer/sheetimport.h"
#include "host/importer/sheetrecords.h"

#include <gtest/gtest.h>

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
        } catch (const host::HostError &) {
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

} // namespace
