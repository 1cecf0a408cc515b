#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace host {

class BiffReader;
class BiffStream;

// A cell's text holds at most this many characters.
constexpr size_t kMaxCellCharacters = 32767;

// Appends UTF-16 units as UTF-8; a lone surrogate becomes U+FFFD.
void appendUtf8(std::string &out, std::u16string_view units);

// The texts of an .xls workbook, read where its records hold them.
class BiffText
{
public:
    explicit BiffText(const BiffStream &stream);
    ~BiffText();
    BiffText(const BiffText &) = delete;
    BiffText &operator=(const BiffText &) = delete;

    // The code page of the texts an Excel 5 workbook keeps in bytes.
    void setCodePage(std::uint16_t codePage) { m_codePage = codePage; }

    // A text as Excel 97 on keeps it: its length in characters (in two bytes, or one where
    // shortLength), flags, and characters of one or two bytes, with formatting runs and phonetic
    // guides after them, which are passed over. Refuses one longer than a cell may hold.
    std::string unicode(BiffReader &reader, bool shortLength = false);
    // A text of the given number of bytes in the workbook's code page.
    std::string codePage(BiffReader &reader, size_t bytes);

private:
    struct Converter;

    const BiffStream &m_stream;
    std::uint16_t m_codePage = 1252;
    std::unique_ptr<Converter> m_converter;
    std::u16string m_units;
};

} // namespace host
