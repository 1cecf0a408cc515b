#include "craftedworkbook.h"

#include <zip.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::map<std::string, std::string> workbookParts(const std::string &sheetData,
                                                 const std::string &sharedStrings)
{
    std::map<std::string, std::string> parts = {
        {"xl/workbook.xml",
         "<workbook xmlns:r=\"urn:r\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/>"
         "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
         "</Relationships>"},
        {"xl/worksheets/sheet1.xml",
         "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"}};
    if (!sharedStrings.empty())
        parts["xl/sharedStrings.xml"] = "<sst>" + sharedStrings + "</sst>";
    return parts;
}

void writeZip(const std::filesystem::path &file, const std::map<std::string, std::string> &parts)
{
    int error = 0;
    zip_t *archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("cannot create " + file.string());
    for (const auto &[name, content] : parts) {
        zip_source_t *source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0)
            throw std::runtime_error("cannot add " + name);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write " + file.string());
}

void claimSize(const std::filesystem::path &file, const std::string &member, std::uint32_t size)
{
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // Local header: signature, then the size at 22 and the name at 30. Central directory entry:
    // signature, then the size at 24 and the name at 46.
    const struct
    {
        const char *signature;
        size_t sizeAt;
        size_t nameAt;
    } headers[] = {{"PK\x03\x04", 22, 30}, {"PK\x01\x02", 24, 46}};
    for (const auto &header : headers) {
        for (size_t at = bytes.find(header.signature); at != std::string::npos;
             at = bytes.find(header.signature, at + 4)) {
            if (bytes.compare(at + header.nameAt, member.size(), member) == 0)
                std::memcpy(bytes.data() + at + header.sizeAt, &size, sizeof size);
        }
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}
