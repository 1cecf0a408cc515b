#include "craftedworkbook.h"

#include <zip.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::map<std::string, std::string> workbookParts(const std::string &sheetData,
                                                 const std::string &sharedStrings)
{
    return {{"xl/workbook.xml", "<workbook xmlns:r=\"urn:r\"><sheets><sheet r:id=\"rId1\"/>"
                                "</sheets></workbook>"},
            {"xl/_rels/workbook.xml.rels",
             "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
             "</Relationships>"},
            {"xl/worksheets/sheet1.xml",
             "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"},
            {"xl/sharedStrings.xml", "<sst>" + sharedStrings + "</sst>"}};
}

void writeZip(const std::filesystem::path &file, const std::map<std::string, std::string> &parts)
{
    int error = 0;
    zip_t *archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto &[name, content] : parts) {
        zip_source_t *source = zip_source_buffer(archive, content.data(), content.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
    }
    if (!archive || zip_close(archive) != 0)
        throw std::runtime_error("cannot write " + file.string());
}

std::string readBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path &file, const std::string &bytes)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

void claimSize(const std::filesystem::path &file, const std::string &member, std::uint32_t size)
{
    std::string bytes = readBytes(file);
    // The size lies at 22 in a local header (name at 30), at 24 in a directory entry (name at 46).
    for (const auto &[signature, sizeAt, nameAt] :
         {std::tuple{"PK\x03\x04", 22, 30}, std::tuple{"PK\x01\x02", 24, 46}}) {
        for (size_t at = bytes.find(signature); at != std::string::npos;
             at = bytes.find(signature, at + 4)) {
            if (bytes.compare(at + nameAt, member.size(), member) == 0)
                std::memcpy(bytes.data() + at + sizeAt, &size, sizeof size);
        }
    }
    writeBytes(file, bytes);
}

void claimDimensions(const std::filesystem::path &file, std::uint32_t rows, std::uint16_t columns)
{
    std::string bytes = readBytes(file);
    const size_t at = bytes.find(std::string("\x00\x02\x0E\x00", 4));
    if (at == std::string::npos)
        throw std::runtime_error("no dimensions record in " + file.string());
    std::memcpy(bytes.data() + at + 8, &rows, sizeof rows);
    std::memcpy(bytes.data() + at + 14, &columns, sizeof columns);
    writeBytes(file, bytes);
}
