#include "host/importer/xlscells.h"

#include "host/importer/compoundfile.h"
#include "host/importer/littleendian.h"
#include "host/importer/sheetrecords.h"
#include "host/importer/workbookerror.h"

#include <QString>

#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace host {
namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kBiff8 = 0x0600;

struct Record
{
    std::uint16_t type = 0;
    std::string_view data;
};

struct IconvCloser
{
    void operator()(iconv_t converter) const { iconv_close(converter); }
};

class Scanner
{
public:
    Scanner(std::filesystem::path file, std::string stream)
        : m_file(std::move(file)), m_stream(std::move(stream))
    {}

    std::vector<XlsCell> cells()
    {
        const size_t sheet = readGlobals();
        m_at = sheet;
        Record record;
        if (!next(record) || record.type != kBof)
            damaged("its first worksheet does not begin where the workbook says");
        // A chart drawn on the sheet is a stream of its own inside the sheet's.
        for (int depth = 1; depth > 0;) {
            if (!next(record))
                damaged("its first worksheet has no end");
            if (record.type == kBof)
                ++depth;
            else if (record.type == kEof)
                --depth;
            else if (depth == 1)
                take(record);
        }
        // The last of two records for one cell is the one that counts.
        std::stable_sort(m_cells.begin(), m_cells.end(), [](const XlsCell &a, const XlsCell &b) {
            return std::tie(a.row, a.column) < std::tie(b.row, b.column);
        });
        std::vector<XlsCell> cells;
        for (auto &cell : m_cells) {
            if (!cells.empty() && cells.back().row == cell.row &&
                cells.back().column == cell.column)
                cells.back() = std::move(cell);
            else
                cells.push_back(std::move(cell));
        }
        return cells;
    }

private:
    [[noreturn]] void damaged(const std::string &why) const
    {
        throw WorkbookError(m_file, "the workbook's records are damaged: " + why);
    }

    bool next(Record &record)
    {
        if (m_at + 4 > m_stream.size())
            return false;
        const std::string_view stream(m_stream);
        record.type = littleEndian<std::uint16_t>(stream, m_at);
        const auto size = littleEndian<std::uint16_t>(stream, m_at + 2);
        if (m_at + 4 + size > m_stream.size())
            damaged("a record runs past the end of the workbook");
        record.data = stream.substr(m_at + 4, size);
        m_at += 4 + size;
        return true;
    }

    // The workbook's own records: its version, code page and where its first sheet begins.
    size_t readGlobals()
    {
        Record record;
        if (!next(record) || record.type != kBof || record.data.size() < 4)
            damaged("it does not begin as a workbook");
        m_biff8 = littleEndian<std::uint16_t>(record.data, 0) == kBiff8;
        std::optional<size_t> sheet;
        while (next(record) && record.type != kEof) {
            if (record.type == kFilePass)
                throw WorkbookError(m_file, "the workbook is protected by a password");
            if (record.type == kCodePage && record.data.size() >= 2)
                m_codePage = littleEndian<std::uint16_t>(record.data, 0);
            if (record.type == kBoundSheet && record.data.size() >= 4 && !sheet)
                sheet = littleEndian<std::uint32_t>(record.data, 0);
        }
        if (!sheet)
            damaged("it has no worksheet");
        return *sheet;
    }

    void take(const Record &record)
    {
        if (record.type == kFormula)
            formula(record.data);
        else if (record.type == kBoolErr)
            boolErr(record.data);
        else if (record.type == kString)
            string(record.data);
    }

    void add(std::string_view data, Variant value)
    {
        m_cells.push_back({littleEndian<std::uint16_t>(data, 0),
                           littleEndian<std::uint16_t>(data, 2), std::move(value)});
    }

    void formula(std::string_view data)
    {
        if (data.size() < 20)
            damaged("a formula is cut short");
        m_textOf.reset();
        // A result that is no number says so in its last two bytes and its kind in its first.
        if (littleEndian<std::uint16_t>(data, 12) != 0xFFFF) {
            const auto number = littleEndian<double>(data, 6);
            if (!std::isfinite(number))
                damaged("a formula's result is no number");
            add(data, Variant(number));
            return;
        }
        const auto kind = static_cast<std::uint8_t>(data[6]);
        const auto detail = static_cast<std::uint8_t>(data[8]);
        switch (kind) {
        case 0:
            // The text follows in a record of its own; until it comes, the result is not known.
            m_textOf = m_cells.size();
            add(data, uncomputedFormula());
            return;
        case 1:
            add(data, Variant(detail != 0));
            return;
        case 2:
            add(data, Variant(errorText(detail)));
            return;
        case 3:
            add(data, Variant::null());
            return;
        default:
            damaged("a formula's result is of no known kind");
        }
    }

    void boolErr(std::string_view data)
    {
        if (data.size() < 8)
            damaged("a logical or error value is cut short");
        const auto value = static_cast<std::uint8_t>(data[6]);
        add(data, data[7] != 0 ? Variant(errorText(value)) : Variant(value != 0));
    }

    void string(std::string_view data)
    {
        if (!m_textOf)
            return;
        if (data.size() < 2)
            damaged("a formula's text is cut short");
        const auto length = littleEndian<std::uint16_t>(data, 0);
        const std::string text = m_biff8 ? unicodeText(data.substr(2), length)
                                         : codePageText(data.substr(2, length), length);
        m_cells[*m_textOf].value = text.empty() ? Variant::null() : Variant(text);
        m_textOf.reset();
    }

    // Characters of one or two bytes, as the flag before them says, going on in the records
    // that continue this one, each with a flag of its own.
    std::string unicodeText(std::string_view part, size_t length)
    {
        std::u16string units;
        bool wide = false;
        size_t at = 0;
        bool flagged = false;
        while (units.size() < length) {
            if (!flagged || at >= part.size()) {
                if (flagged) {
                    Record record;
                    if (!next(record) || record.type != kContinue)
                        damaged("a formula's text is cut short");
                    part = record.data;
                }
                if (part.empty())
                    damaged("a formula's text is cut short");
                wide = (part[0] & 1) != 0;
                at = 1;
                flagged = true;
                continue;
            }
            if (wide) {
                if (at + 2 > part.size())
                    damaged("a formula's text is cut short");
                units.push_back(littleEndian<char16_t>(part, at));
                at += 2;
            } else {
                units.push_back(static_cast<unsigned char>(part[at]));
                ++at;
            }
        }
        return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())).toStdString();
    }

    // The bytes of a text in the workbook's code page.
    std::string codePageText(std::string_view bytes, size_t length) const
    {
        if (bytes.size() < length)
            damaged("a formula's text is cut short");
        const std::string encoding =
            m_codePage == 367 ? "ASCII"
            : m_codePage == 10000 || m_codePage == 32768
                ? "MACINTOSH"
                : "CP" + std::to_string(m_codePage == 32769 ? 1252 : m_codePage);
        const iconv_t opened = iconv_open("UTF-8", encoding.c_str());
        if (reinterpret_cast<std::intptr_t>(opened) == -1)
            throw WorkbookError(m_file,
                                "its code page " + std::to_string(m_codePage) + " is not known");
        const std::unique_ptr<void, IconvCloser> converter(opened);
        std::string in(bytes);
        std::string out(in.size() * 4, '\0');
        char *inAt = in.data();
        size_t inLeft = in.size();
        char *outAt = out.data();
        size_t outLeft = out.size();
        if (iconv(converter.get(), &inAt, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1))
            damaged("a formula's text is not in the workbook's code page");
        out.resize(out.size() - outLeft);
        return out;
    }

    std::string errorText(std::uint8_t code) const
    {
        switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        default:
            damaged("an error value is of no known kind");
        }
    }

    std::filesystem::path m_file;
    std::string m_stream;
    size_t m_at = 0;
    bool m_biff8 = true;
    std::uint16_t m_codePage = 1252;
    std::vector<XlsCell> m_cells;
    // The cell of the formula whose text the next record gives.
    std::optional<size_t> m_textOf;
};

} // namespace

std::vector<XlsCell> readXlsCells(const std::filesystem::path &file)
{
    return Scanner(file, readCompoundStream(file, {"Workbook", "Book"})).cells();
}

} // namespace host
