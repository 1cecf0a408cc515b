#include "host/importer/bifftext.h"

#include "host/importer/biffstream.h"
#include "host/importer/workbookerror.h"

#include <iconv.h>

#include <cstdint>

namespace host {

void appendUtf8(std::string &out, std::u16string_view units)
{
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

struct BiffText::Converter
{
    explicit Converter(iconv_t opened) : handle(opened) {}
    ~Converter() { iconv_close(handle); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    iconv_t handle;
};

BiffText::BiffText(const BiffStream &stream) : m_stream(stream) {}

BiffText::~BiffText() = default;

std::string BiffText::unicode(BiffReader &reader, bool shortLength)
{
    const size_t length = shortLength ? reader.byte() : reader.u16();
    const std::uint8_t flags = reader.byte();
    if (length > kMaxCellCharacters)
        m_stream.damaged("a text is longer than a cell may hold");
    const std::uint16_t runs = (flags & 0x08) != 0 ? reader.u16() : 0;
    const std::uint32_t phonetic = (flags & 0x04) != 0 ? reader.u32() : 0;
    m_units.clear();
    reader.characters(length, (flags & 0x01) != 0, m_units);
    reader.skip(std::uint64_t{runs} * 4 + phonetic);
    std::string text;
    text.reserve(m_units.size());
    appendUtf8(text, m_units);
    return text;
}

std::string BiffText::codePage(BiffReader &reader, size_t bytes)
{
    if (bytes > kMaxCellCharacters * 2)
        m_stream.damaged("a text is longer than a cell may hold");
    std::string in;
    in.reserve(bytes);
    for (size_t i = 0; i < bytes; ++i)
        in += static_cast<char>(reader.byte());
    if (!m_converter) {
        const std::string encoding =
            m_codePage == 367 ? "ASCII"
            : m_codePage == 10000 || m_codePage == 32768
                ? "MACINTOSH"
                : "CP" + std::to_string(m_codePage == 32769 ? 1252 : m_codePage);
        const iconv_t opened = iconv_open("UTF-8", encoding.c_str());
        if (reinterpret_cast<std::intptr_t>(opened) == -1)
            throw WorkbookError(m_stream.file(),
                                "its code page " + std::to_string(m_codePage) + " is not known");
        m_converter = std::make_unique<Converter>(opened);
    }
    iconv(m_converter->handle, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4, '\0');
    char *inAt = in.data();
    size_t inLeft = in.size();
    char *outAt = out.data();
    size_t outLeft = out.size();
    if (iconv(m_converter->handle, &inAt, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1))
        m_stream.damaged("a text is not in the workbook's code page");
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace host
