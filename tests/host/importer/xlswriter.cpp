#include "xlswriter.h"

#include <QString>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

namespace {

using Bytes = std::string;

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr size_t kSector = 512;
constexpr size_t kMiniStreamCutoff = 4096;

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

Bytes bof(std::uint16_t kind)
{
    Bytes data;
    put<std::uint16_t>(data, 0x0600);
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

Bytes sheetStream(const std::vector<std::vector<host::Variant>> &rows, Bytes &sst,
                  std::uint32_t &strings)
{
    std::map<std::string, std::uint32_t> index;
    size_t columns = 0;
    Bytes cells;
    for (size_t r = 0; r < rows.size(); ++r) {
        columns = std::max(columns, rows[r].size());
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const host::Variant &cell = rows[r][c];
            if (cell.isNull() || cell.isEmpty())
                continue;
            Bytes data;
            put<std::uint16_t>(data, static_cast<std::uint16_t>(r));
            put<std::uint16_t>(data, static_cast<std::uint16_t>(c));
            put<std::uint16_t>(data, 0);
            if (cell.isNumeric()) {
                put<double>(data, host::CDbl(cell));
                record(cells, 0x0203, data);
                continue;
            }
            const std::string text = host::CStr(cell);
            auto [it, added] = index.emplace(text, static_cast<std::uint32_t>(index.size()));
            if (added) {
                put<std::uint16_t>(sst,
                                   static_cast<std::uint16_t>(QString::fromStdString(text).size()));
                put<std::uint8_t>(sst, 1);
                utf16(sst, text);
            }
            ++strings;
            put<std::uint32_t>(data, it->second);
            record(cells, 0x00FD, data);
        }
    }
    Bytes sheet;
    record(sheet, 0x0809, bof(0x0010));
    Bytes dimensions;
    put<std::uint32_t>(dimensions, 0);
    put<std::uint32_t>(dimensions, static_cast<std::uint32_t>(rows.size()));
    put<std::uint16_t>(dimensions, 0);
    put<std::uint16_t>(dimensions, static_cast<std::uint16_t>(columns));
    put<std::uint16_t>(dimensions, 0);
    record(sheet, 0x0200, dimensions);
    sheet += cells;
    record(sheet, 0x000A, {});
    sst.insert(0, Bytes(8, '\0'));
    const auto unique = static_cast<std::uint32_t>(index.size());
    std::memcpy(sst.data(), &strings, 4);
    std::memcpy(sst.data() + 4, &unique, 4);
    return sheet;
}

Bytes workbookStream(const std::vector<std::vector<host::Variant>> &rows)
{
    Bytes sst;
    std::uint32_t strings = 0;
    const Bytes sheet = sheetStream(rows, sst, strings);
    if (sst.size() > 8224)
        throw std::length_error("too many strings for one SST record");

    Bytes globals;
    record(globals, 0x0809, bof(0x0005));
    record(globals, 0x0042, Bytes("\xB0\x04", 2)); // code page: UTF-16
    record(globals, 0x00E0, Bytes(20, '\0'));      // one cell format, "General"
    record(globals, 0x00FC, sst);
    const size_t boundSheetSize = 4 + 14 + 4; // the sheet record (naming "Sheet1") and EOF
    // Stream shorter than the cut-off would belong in the mini stream; a filler record of a type
    // readers skip keeps it in ordinary sectors.
    const size_t used = globals.size() + boundSheetSize + sheet.size();
    if (used < kMiniStreamCutoff)
        record(globals, 0x005C, Bytes(kMiniStreamCutoff - used, ' '));
    Bytes boundSheet;
    put<std::uint32_t>(boundSheet, static_cast<std::uint32_t>(globals.size() + boundSheetSize));
    put<std::uint8_t>(boundSheet, 0);
    put<std::uint8_t>(boundSheet, 0);
    put<std::uint8_t>(boundSheet, 6);
    put<std::uint8_t>(boundSheet, 0);
    boundSheet += "Sheet1";
    record(globals, 0x0085, boundSheet);
    record(globals, 0x000A, {});
    return globals + sheet;
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
              const std::vector<std::vector<host::Variant>> &rows)
{
    Bytes stream = workbookStream(rows);
    const auto streamSize = static_cast<std::uint32_t>(stream.size());
    const size_t sectors = (stream.size() + kSector - 1) / kSector;
    if (sectors + 2 > kSector / 4)
        throw std::length_error("workbook too large for one FAT sector");
    stream.resize(sectors * kSector, '\0');

    Bytes header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(16, '\0');
    put<std::uint16_t>(header, 0x003E);
    put<std::uint16_t>(header, 0x0003);
    put<std::uint16_t>(header, 0xFFFE);
    put<std::uint16_t>(header, 9);
    put<std::uint16_t>(header, 6);
    header.append(6, '\0');
    put<std::uint32_t>(header, 0);
    put<std::uint32_t>(header, 1); // FAT sectors
    put<std::uint32_t>(header, 1); // first directory sector
    put<std::uint32_t>(header, 0);
    put<std::uint32_t>(header, static_cast<std::uint32_t>(kMiniStreamCutoff));
    put<std::uint32_t>(header, kEndOfChain);
    put<std::uint32_t>(header, 0);
    put<std::uint32_t>(header, kEndOfChain);
    put<std::uint32_t>(header, 0);
    put<std::uint32_t>(header, 0); // the FAT is sector 0
    while (header.size() < kSector)
        put<std::uint32_t>(header, kFree);

    Bytes fat;
    put<std::uint32_t>(fat, kFatSector);
    put<std::uint32_t>(fat, kEndOfChain);
    for (size_t s = 0; s < sectors; ++s)
        put<std::uint32_t>(fat, s + 1 == sectors ? kEndOfChain : static_cast<std::uint32_t>(s + 3));
    while (fat.size() < kSector)
        put<std::uint32_t>(fat, kFree);

    Bytes directory = directoryEntry("Root Entry", 5, 1, kEndOfChain, 0);
    directory += directoryEntry("Workbook", 2, kFree, 2, streamSize);
    directory += directoryEntry("", 0, kFree, 0, 0);
    directory += directoryEntry("", 0, kFree, 0, 0);

    std::ofstream out(file, std::ios::binary);
    out << header << fat << directory << stream;
}
