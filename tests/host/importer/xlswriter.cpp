#include "xlswriter.h"

#include <QString>

#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using Bytes = std::string;

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr size_t kSector = 512;
constexpr size_t kBigSector = 4096;
constexpr size_t kHeaderFatSectors = 109;
constexpr size_t kMiniStreamCutoff = 4096;
constexpr size_t kMiniSector = 64;

template <typename T> void put(Bytes &out, T value)
{
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    out.append(raw, sizeof(T));
}

void record(Bytes &out, std::uint16_t type, const Bytes &data)
{
    put<std::uint16_t>(out, type);
    put<std::uint16_t>(out, static_cast<std::uint16_t>(data.size()));
    out += data;
}

Bytes bof(std::uint16_t kind, bool excel5)
{
    Bytes data;
    put<std::uint16_t>(data, excel5 ? 0x0500 : 0x0600);
    put<std::uint16_t>(data, kind);
    put<std::uint16_t>(data, 0x0DBB);
    put<std::uint16_t>(data, 0x07CC);
    put<std::uint32_t>(data, 0);
    put<std::uint32_t>(data, 6);
    return data;
}

void utf16(Bytes &out, const std::string &text)
{
    const QString s = QString::fromStdString(text);
    for (const QChar c : s)
        put<std::uint16_t>(out, c.unicode());
}

// A text as an Excel 5 workbook of code page 936 holds it.
Bytes gbk(const std::string &text)
{
    const iconv_t converter = iconv_open("CP936", "UTF-8");
    std::string in = text;
    Bytes out(text.size() * 2, '\0');
    char *inAt = in.data();
    size_t inLeft = in.size();
    char *outAt = out.data();
    size_t outLeft = out.size();
    iconv(converter, &inAt, &inLeft, &outAt, &outLeft);
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
}

// A text with its length in characters: in two bytes each (Excel 97 on) or in the code page.
Bytes counted(const std::string &text, bool excel5)
{
    Bytes data;
    if (excel5) {
        const Bytes bytes = gbk(text);
        put<std::uint16_t>(data, static_cast<std::uint16_t>(bytes.size()));
        return data + bytes;
    }
    put<std::uint16_t>(data, static_cast<std::uint16_t>(QString::fromStdString(text).size()));
    put<std::uint8_t>(data, 1);
    utf16(data, text);
    return data;
}

constexpr std::pair<const char *, std::uint8_t> kErrors[] = {
    {"#NULL!", 0x00}, {"#DIV/0!", 0x07}, {"#VALUE!", 0x0F}, {"#REF!", 0x17},
    {"#NAME?", 0x1D}, {"#NUM!", 0x24},   {"#N/A", 0x2A}};

std::optional<std::uint8_t> errorCode(const host::Variant &cell)
{
    if (cell.type() != host::VariantType::String)
        return std::nullopt;
    for (const auto &[text, code] : kErrors) {
        if (cell.stringValue() == text)
            return code;
    }
    return std::nullopt;
}

// A formula whose result is the cell's value; its expression is left empty, as no reader
// computes it. A text result follows in a record of its own.
void formula(Bytes &cells, Bytes data, const host::Variant &cell, bool excel5)
{
    const auto special = [&data](std::uint8_t kind, std::uint8_t detail) {
        put<std::uint8_t>(data, kind);
        put<std::uint8_t>(data, 0);
        put<std::uint8_t>(data, detail);
        data.append(3, '\0');
        put<std::uint16_t>(data, 0xFFFF);
    };
    const auto code = errorCode(cell);
    if (cell.isNull())
        special(3, 0);
    else if (cell.type() == host::VariantType::Boolean)
        special(1, cell.boolValue() ? 1 : 0);
    else if (code)
        special(2, *code);
    else if (cell.isNumeric())
        put<double>(data, host::CDbl(cell));
    else
        special(0, 0);
    put<std::uint16_t>(data, 0);
    put<std::uint32_t>(data, 0);
    put<std::uint16_t>(data, 0);
    record(cells, 0x0006, data);
    if (!cell.isNull() && !cell.isNumeric() && cell.type() != host::VariantType::Boolean && !code)
        record(cells, 0x0207, counted(host::CStr(cell), excel5));
}

Bytes sheetStream(const std::vector<std::vector<host::Variant>> &rows, const XlsWriting &how,
                  std::vector<std::string> &texts, std::uint32_t &strings)
{
    std::map<std::string, std::uint32_t> index;
    size_t columns = 0;
    Bytes cells;
    for (size_t r = 0; r < rows.size(); ++r) {
        columns = std::max(columns, rows[r].size());
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const host::Variant &cell = rows[r][c];
            const bool asFormula = how.formulas && r > 0;
            if ((cell.isNull() && !asFormula) || cell.isEmpty())
                continue;
            Bytes data;
            put<std::uint16_t>(data, static_cast<std::uint16_t>(r));
            put<std::uint16_t>(data, static_cast<std::uint16_t>(c));
            put<std::uint16_t>(data, 0);
            const auto code = errorCode(cell);
            if (asFormula) {
                formula(cells, data, cell, how.excel5);
            } else if (cell.type() == host::VariantType::Boolean || code) {
                put<std::uint8_t>(data, code ? *code : cell.boolValue() ? 1 : 0);
                put<std::uint8_t>(data, code ? 1 : 0);
                record(cells, 0x0205, data);
            } else if (cell.isNumeric()) {
                put<double>(data, host::CDbl(cell));
                record(cells, 0x0203, data);
            } else if (how.excel5) {
                record(cells, 0x0204, data + counted(host::CStr(cell), true));
            } else {
                const std::string text = host::CStr(cell);
                auto [it, added] = index.emplace(text, static_cast<std::uint32_t>(index.size()));
                if (added)
                    texts.push_back(text);
                ++strings;
                put<std::uint32_t>(data, it->second);
                record(cells, 0x00FD, data);
            }
        }
    }
    Bytes sheet;
    record(sheet, 0x0809, bof(0x0010, how.excel5));
    Bytes dimensions;
    if (how.excel5) {
        put<std::uint16_t>(dimensions, 0);
        put<std::uint16_t>(dimensions, static_cast<std::uint16_t>(rows.size()));
    } else {
        put<std::uint32_t>(dimensions, 0);
        put<std::uint32_t>(dimensions, static_cast<std::uint32_t>(rows.size()));
    }
    put<std::uint16_t>(dimensions, 0);
    put<std::uint16_t>(dimensions, static_cast<std::uint16_t>(columns));
    put<std::uint16_t>(dimensions, 0);
    record(sheet, 0x0200, dimensions);
    sheet += cells;
    record(sheet, 0x000A, {});
    return sheet;
}

// The table of shared texts, going on in CONTINUE records where one record cannot hold it. A
// text's head stays in one record; characters that go on in the next start it with their flag.
Bytes sharedTexts(const std::vector<std::string> &texts, std::uint32_t uses)
{
    constexpr size_t kRecordBytes = 8224;
    Bytes records;
    Bytes data;
    put<std::uint32_t>(data, uses);
    put<std::uint32_t>(data, static_cast<std::uint32_t>(texts.size()));
    std::uint16_t type = 0x00FC;
    const auto flush = [&] {
        record(records, type, data);
        data.clear();
        type = 0x003C;
    };
    for (const std::string &text : texts) {
        const QString units = QString::fromStdString(text);
        if (data.size() + 3 + 2 > kRecordBytes)
            flush();
        put<std::uint16_t>(data, static_cast<std::uint16_t>(units.size()));
        put<std::uint8_t>(data, 1);
        for (const QChar c : units) {
            if (data.size() + 2 > kRecordBytes) {
                flush();
                put<std::uint8_t>(data, 1);
            }
            put<std::uint16_t>(data, c.unicode());
        }
    }
    flush();
    return records;
}

Bytes boundSheet(std::uint32_t start, std::uint8_t kind, bool excel5)
{
    const std::string name = kind == 0 ? "Sheet1" : "Chart1";
    Bytes data;
    put<std::uint32_t>(data, start);
    put<std::uint8_t>(data, 0);
    put<std::uint8_t>(data, kind);
    put<std::uint8_t>(data, static_cast<std::uint8_t>(name.size()));
    if (!excel5)
        put<std::uint8_t>(data, 0);
    Bytes out;
    record(out, 0x0085, data + name);
    return out;
}

Bytes workbookStream(const std::vector<std::vector<host::Variant>> &rows, const XlsWriting &how)
{
    std::vector<std::string> texts;
    std::uint32_t strings = 0;
    const Bytes sheet = sheetStream(rows, how, texts, strings);

    Bytes globals;
    record(globals, 0x0809, bof(0x0005, how.excel5));
    // Code page: UTF-16, or the one of Simplified Chinese.
    record(globals, 0x0042, how.excel5 ? Bytes("\xA8\x03", 2) : Bytes("\xB0\x04", 2));
    record(globals, 0x00E0, Bytes(how.excel5 ? 16 : 20, '\0')); // one cell format, "General"
    if (!how.excel5)
        globals += sharedTexts(texts, strings);
    // A chart sheet is a stream of its own, listed and placed before the worksheet.
    Bytes chart;
    if (how.chartFirst) {
        record(chart, 0x0809, bof(0x0020, how.excel5));
        record(chart, 0x000A, {});
    }
    const size_t sheetsBytes = boundSheet(0, 0, how.excel5).size() * (how.chartFirst ? 2 : 1);
    // Stream shorter than the cut-off would belong in the mini stream; a filler record of a type
    // readers skip keeps it in ordinary sectors.
    const size_t used = globals.size() + sheetsBytes + 4 + chart.size() + sheet.size();
    if (used < kMiniStreamCutoff && !how.shortStream)
        record(globals, 0x005C, Bytes(kMiniStreamCutoff - used, ' '));
    const auto chartStart = static_cast<std::uint32_t>(globals.size() + sheetsBytes + 4);
    if (how.chartFirst)
        globals += boundSheet(chartStart, 2, how.excel5);
    globals += boundSheet(static_cast<std::uint32_t>(chartStart + chart.size()), 0, how.excel5);
    record(globals, 0x000A, {});
    return globals + chart + sheet;
}

Bytes directoryEntry(const std::string &name, std::uint8_t type, std::uint32_t child,
                     std::uint32_t start, std::uint32_t size)
{
    Bytes entry;
    utf16(entry, name);
    entry.resize(64, '\0');
    put<std::uint16_t>(entry, static_cast<std::uint16_t>(name.empty() ? 0 : (name.size() + 1) * 2));
    put<std::uint8_t>(entry, type);
    put<std::uint8_t>(entry, 1);
    put<std::uint32_t>(entry, kFree);
    put<std::uint32_t>(entry, kFree);
    put<std::uint32_t>(entry, child);
    entry.resize(116, '\0');
    put<std::uint32_t>(entry, start);
    put<std::uint32_t>(entry, size);
    put<std::uint32_t>(entry, 0);
    return entry;
}

} // namespace

void writeXls(const std::filesystem::path &file,
              const std::vector<std::vector<host::Variant>> &rows, const XlsWriting &how)
{
    const Bytes stream = workbookStream(rows, how);
    const auto streamSize = static_cast<std::uint32_t>(stream.size());
    // A short stream lies in 64-byte sectors of its own, listed by a table of their own, inside
    // the root entry's stream.
    Bytes data = stream;
    Bytes miniFat;
    if (how.shortStream) {
        if (stream.size() >= kMiniStreamCutoff)
            throw std::length_error("workbook too large for a short stream");
        const size_t minis = (stream.size() + kMiniSector - 1) / kMiniSector;
        data.resize(minis * kMiniSector, '\0');
        for (size_t m = 0; m < minis; ++m)
            put<std::uint32_t>(miniFat,
                               m + 1 == minis ? kEndOfChain : static_cast<std::uint32_t>(m + 1));
        while (miniFat.size() < kSector)
            put<std::uint32_t>(miniFat, kFree);
    }
    // Sectors of 512 bytes, or of 4096 where the header's list of allocation sectors would not
    // reach the end of the stream. The allocation sectors come first, then the directory, the
    // short sectors' table and the stream.
    const size_t sector =
        data.size() > kHeaderFatSectors * (kSector / 4) * kSector / 2 ? kBigSector : kSector;
    const size_t sectors = (data.size() + sector - 1) / sector;
    const size_t before = how.shortStream ? 2 : 1;
    size_t fatSectors = 1;
    while (fatSectors * (sector / 4) < fatSectors + before + sectors)
        ++fatSectors;
    if (fatSectors > kHeaderFatSectors)
        throw std::length_error("workbook too large for the header's allocation sectors");
    const auto first = static_cast<std::uint32_t>(fatSectors + before);
    const auto dataSize = static_cast<std::uint32_t>(data.size());
    data.resize(sectors * sector, '\0');
    if (how.shortStream)
        miniFat.resize(sector, '\xFF');

    Bytes header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(16, '\0');
    put<std::uint16_t>(header, 0x003E);
    put<std::uint16_t>(header, sector == kSector ? 3 : 4);
    put<std::uint16_t>(header, 0xFFFE);
    put<std::uint16_t>(header, sector == kSector ? 9 : 12);
    put<std::uint16_t>(header, 6);
    header.append(6, '\0');
    put<std::uint32_t>(header, sector == kSector ? 0 : 1); // directory sectors
    put<std::uint32_t>(header, static_cast<std::uint32_t>(fatSectors));
    put<std::uint32_t>(header, static_cast<std::uint32_t>(fatSectors)); // first directory sector
    put<std::uint32_t>(header, 0);
    put<std::uint32_t>(header, static_cast<std::uint32_t>(kMiniStreamCutoff));
    put<std::uint32_t>(header, how.shortStream ? static_cast<std::uint32_t>(fatSectors + 1)
                                               : kEndOfChain); // first mini FAT sector
    put<std::uint32_t>(header, how.shortStream ? 1 : 0);
    put<std::uint32_t>(header, kEndOfChain);
    put<std::uint32_t>(header, 0);
    for (size_t f = 0; f < fatSectors; ++f)
        put<std::uint32_t>(header, static_cast<std::uint32_t>(f));
    while (header.size() < kSector)
        put<std::uint32_t>(header, kFree);
    header.resize(sector, '\0');

    Bytes fat;
    for (size_t f = 0; f < fatSectors; ++f)
        put<std::uint32_t>(fat, kFatSector);
    for (size_t b = 0; b < before; ++b)
        put<std::uint32_t>(fat, kEndOfChain);
    for (size_t s = 0; s < sectors; ++s)
        put<std::uint32_t>(fat, s + 1 == sectors ? kEndOfChain
                                                 : static_cast<std::uint32_t>(first + s + 1));
    while (fat.size() < fatSectors * sector)
        put<std::uint32_t>(fat, kFree);

    Bytes directory = how.shortStream ? directoryEntry("Root Entry", 5, 1, first, dataSize)
                                      : directoryEntry("Root Entry", 5, 1, kEndOfChain, 0);
    directory += directoryEntry(how.excel5 ? "Book" : "Workbook", 2, kFree,
                                how.shortStream ? 0 : first, streamSize);
    while (directory.size() < sector)
        directory += directoryEntry("", 0, kFree, 0, 0);

    std::ofstream out(file, std::ios::binary);
    out << header << fat << directory << miniFat << data;
}
