#include "host/importer/sheetgrid.h"

#include "host/core/hosterror.h"

#include <pugixml.hpp>
#include <zip.h>

#include <cctype>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace host {
namespace {

struct ZipCloser
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser
{
    void operator()(zip_file_t *entry) const { zip_fclose(entry); }
};

[[noreturn]] void fail(const std::filesystem::path &file, const std::string &what)
{
    throw HostError("Cannot read the workbook " + file.string() + ": " + what);
}

// The archive's member, or nothing when it has no such member.
std::optional<std::string> readMember(zip_t *archive, const std::string &name)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive, name.c_str(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return std::nullopt;
    std::unique_ptr<zip_file_t, ZipFileCloser> entry(zip_fopen(archive, name.c_str(), 0));
    if (!entry)
        return std::nullopt;
    std::string data(stat.size, '\0');
    if (zip_fread(entry.get(), data.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
        return std::nullopt;
    return data;
}

pugi::xml_document parse(const std::string &text, const std::filesystem::path &file)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size()))
        fail(file, "a part of the workbook is not well-formed XML");
    return doc;
}

// The text of a shared string or inline string: plain, or the runs of rich text joined.
std::string stringItem(const pugi::xml_node &item)
{
    if (const auto plain = item.child("t"))
        return plain.text().get();
    std::string text;
    for (const auto &run : item.children("r"))
        text += run.child("t").text().get();
    return text;
}

// A number format shows a date when it holds a year, month or day field outside quoted text,
// bracketed sections and escaped characters.
bool isDateFormatCode(const std::string &code)
{
    bool quoted = false;
    int bracket = 0;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\\')
            ++i;
        else if (c == '[')
            ++bracket;
        else if (c == ']')
            --bracket;
        else if (bracket == 0 && (std::tolower(c) == 'y' || std::tolower(c) == 'd'))
            return true;
    }
    return false;
}

bool isBuiltInDateFormat(unsigned id)
{
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

// Indexes of the cell styles that show dates.
std::set<unsigned> dateStyles(zip_t *archive, const std::filesystem::path &file)
{
    std::set<unsigned> styles;
    const auto text = readMember(archive, "xl/styles.xml");
    if (!text)
        return styles;
    const auto doc = parse(*text, file);
    const auto root = doc.child("styleSheet");
    std::set<unsigned> customDateFormats;
    for (const auto &format : root.child("numFmts").children("numFmt")) {
        if (isDateFormatCode(format.attribute("formatCode").value()))
            customDateFormats.insert(format.attribute("numFmtId").as_uint());
    }
    unsigned index = 0;
    for (const auto &xf : root.child("cellXfs").children("xf")) {
        const unsigned id = xf.attribute("numFmtId").as_uint();
        if (isBuiltInDateFormat(id) || customDateFormats.count(id))
            styles.insert(index);
        ++index;
    }
    return styles;
}

// The archive path of the first worksheet, through the workbook's relationships.
std::string firstSheetPath(zip_t *archive, const std::filesystem::path &file)
{
    const auto workbookText = readMember(archive, "xl/workbook.xml");
    const auto relsText = readMember(archive, "xl/_rels/workbook.xml.rels");
    if (!workbookText || !relsText)
        fail(file, "no workbook part");
    const auto workbook = parse(*workbookText, file);
    const auto sheet = workbook.child("workbook").child("sheets").child("sheet");
    const std::string id = sheet.attribute("r:id").value();
    const auto rels = parse(*relsText, file);
    for (const auto &rel : rels.child("Relationships").children("Relationship")) {
        if (id != rel.attribute("Id").value())
            continue;
        const std::string target = rel.attribute("Target").value();
        return target.starts_with('/') ? target.substr(1) : "xl/" + target;
    }
    fail(file, "no worksheet");
}

// "BC12" -> 0-based column 54; the row part is ignored.
size_t columnOf(const std::string &reference)
{
    size_t column = 0;
    for (const char c : reference) {
        if (!std::isalpha(static_cast<unsigned char>(c)))
            break;
        column = column * 26 + static_cast<size_t>(std::toupper(c) - 'A' + 1);
    }
    return column == 0 ? 0 : column - 1;
}

Variant cellValue(const pugi::xml_node &cell, const std::vector<std::string> &sharedStrings,
                  const std::set<unsigned> &dates)
{
    const std::string type = cell.attribute("t").value();
    const auto value = cell.child("v");
    if (type == "inlineStr") {
        const std::string text = stringItem(cell.child("is"));
        return text.empty() ? Variant::null() : Variant(text);
    }
    if (!value)
        return Variant::null();
    const std::string raw = value.text().get();
    if (type == "s") {
        const size_t index = value.text().as_uint();
        if (index >= sharedStrings.size() || sharedStrings[index].empty())
            return Variant::null();
        return Variant(sharedStrings[index]);
    }
    if (type == "b")
        return Variant(raw == "1");
    if (type == "str" || type == "e")
        return raw.empty() ? Variant::null() : Variant(raw);
    const auto number = parseNumber(raw);
    if (!number)
        return Variant(raw);
    if (dates.count(cell.attribute("s").as_uint()))
        return Variant::fromDate(*number);
    return Variant(*number);
}

} // namespace

SheetGrid readXlsx(const std::filesystem::path &file)
{
    int error = 0;
    ZipArchive archive(zip_open(file.c_str(), ZIP_RDONLY, &error));
    if (!archive)
        fail(file, "not a zip archive (libzip error " + std::to_string(error) + ")");

    std::vector<std::string> sharedStrings;
    if (const auto text = readMember(archive.get(), "xl/sharedStrings.xml")) {
        const auto doc = parse(*text, file);
        for (const auto &item : doc.child("sst").children("si"))
            sharedStrings.push_back(stringItem(item));
    }
    const auto dates = dateStyles(archive.get(), file);

    const std::string sheetPath = firstSheetPath(archive.get(), file);
    const auto sheetText = readMember(archive.get(), sheetPath);
    if (!sheetText)
        fail(file, "the worksheet " + sheetPath + " is missing");
    const auto sheet = parse(*sheetText, file);

    SheetGrid grid;
    for (const auto &row : sheet.child("worksheet").child("sheetData").children("row")) {
        const size_t rowIndex = row.attribute("r") ? row.attribute("r").as_uint() - 1 : grid.size();
        if (rowIndex >= grid.size())
            grid.resize(rowIndex + 1);
        auto &cells = grid[rowIndex];
        for (const auto &cell : row.children("c")) {
            const size_t column =
                cell.attribute("r") ? columnOf(cell.attribute("r").value()) : cells.size();
            if (column >= cells.size())
                cells.resize(column + 1, Variant::null());
            cells[column] = cellValue(cell, sharedStrings, dates);
        }
    }
    return grid;
}

} // namespace host
