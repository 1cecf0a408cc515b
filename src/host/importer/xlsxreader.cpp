#include "host/importer/sheetgrid.h"

#include "host/core/datetime.h"
#include "host/importer/sharedstrings.h"
#include "host/importer/workbookerror.h"
#include "host/importer/xmlpart.h"

#include <cctype>
#include <optional>
#include <set>
#include <string>

namespace host {
namespace {

// The workbook, its relationships and its styles are small; a worksheet is read as it streams.
constexpr size_t kMaxSmallPartBytes = size_t{16} << 20;
constexpr size_t kMaxSheetBytes = size_t{1} << 30;

std::string utf8(QStringView text)
{
    return text.toString().toStdString();
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
std::set<unsigned> dateStyles(const ZipArchive &archive)
{
    std::set<unsigned> styles;
    const std::string part = "xl/styles.xml";
    if (!archive.contains(part))
        return styles;
    XmlPart xml(archive, part, kMaxSmallPartBytes);
    std::set<unsigned> customDateFormats;
    bool inCellFormats = false;
    unsigned index = 0;
    while (xml.next()) {
        if (xml.isStart(u"numFmt")) {
            if (isDateFormatCode(utf8(xml.attribute(u"formatCode"))))
                customDateFormats.insert(xml.attribute(u"numFmtId").toUInt());
        } else if (xml.isStart(u"cellXfs")) {
            inCellFormats = true;
        } else if (xml.isEnd(u"cellXfs")) {
            inCellFormats = false;
        } else if (inCellFormats && xml.isStart(u"xf")) {
            const unsigned id = xml.attribute(u"numFmtId").toUInt();
            if (isBuiltInDateFormat(id) || customDateFormats.count(id))
                styles.insert(index);
            ++index;
        }
    }
    return styles;
}

// The archive path of the first worksheet, through the workbook's relationships.
std::string firstSheetPath(const ZipArchive &archive)
{
    const std::string workbookPart = "xl/workbook.xml";
    const std::string relsPart = "xl/_rels/workbook.xml.rels";
    if (!archive.contains(workbookPart) || !archive.contains(relsPart))
        throw workbookError(archive.file(), "no workbook part");
    std::string id;
    XmlPart workbook(archive, workbookPart, kMaxSmallPartBytes);
    while (id.empty() && workbook.next()) {
        if (workbook.isStart(u"sheet"))
            id = utf8(workbook.attribute(u"r:id"));
    }
    XmlPart rels(archive, relsPart, kMaxSmallPartBytes);
    while (!id.empty() && rels.next()) {
        if (rels.isStart(u"Relationship") && utf8(rels.attribute(u"Id")) == id) {
            const std::string target = utf8(rels.attribute(u"Target"));
            return target.starts_with('/') ? target.substr(1) : "xl/" + target;
        }
    }
    throw workbookError(archive.file(), "no worksheet");
}

// "BC12" -> 0-based column 54; nothing when the reference does not start with a column.
std::optional<std::uint32_t> columnOf(QStringView reference)
{
    std::uint64_t column = 0;
    qsizetype letters = 0;
    for (const QChar c : reference) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            break;
        // More letters than a column can have: the number would only grow past the limit.
        if (++letters > 4)
            return SheetGrid::kMaxColumns;
        column = column * 26 + (u - u'A' + 1);
    }
    if (column == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(column - 1, SheetGrid::kMaxColumns));
}

// A row number as written: 1 or more, and nothing past the limit counts for more than it.
std::optional<std::uint32_t> rowOf(QStringView text)
{
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok);
    if (!ok || number == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(std::min<qulonglong>(number - 1, SheetGrid::kMaxRows));
}

// What a c element says, collected until it ends.
struct CellText
{
    std::string type;
    unsigned style = 0;
    std::string value;      // the v element
    std::string inlineText; // the text of an is element
};

Variant cellValue(const CellText &cell, const SharedStrings &sharedStrings,
                  const std::set<unsigned> &dates)
{
    if (cell.type == "inlineStr")
        return cell.inlineText.empty() ? Variant::null() : Variant(cell.inlineText);
    if (cell.value.empty())
        return Variant::null();
    if (cell.type == "s") {
        bool ok = false;
        const qulonglong index = QString::fromStdString(cell.value).toULongLong(&ok);
        const std::string_view text = ok ? sharedStrings.at(index) : std::string_view();
        return text.empty() ? Variant::null() : Variant(text);
    }
    if (cell.type == "b")
        return Variant(cell.value == "1");
    if (cell.type == "str" || cell.type == "e")
        return Variant(cell.value);
    const auto number = parseNumber(cell.value);
    if (!number)
        return Variant(cell.value);
    if (dates.count(cell.style))
        return Variant::fromDate(*number);
    return Variant(*number);
}

} // namespace

SheetGrid readXlsx(const std::filesystem::path &file)
{
    const ZipArchive archive(file);
    SheetGrid grid(file);
    const SharedStrings sharedStrings(archive, grid);
    const auto dates = dateStyles(archive);
    const std::string sheetPath = firstSheetPath(archive);
    if (!archive.contains(sheetPath))
        throw workbookError(file, "the worksheet " + sheetPath + " is missing");

    XmlPart xml(archive, sheetPath, kMaxSheetBytes);
    std::uint32_t row = 0;
    std::uint32_t nextRow = 0;
    std::uint32_t column = 0;
    CellText cell;
    std::string *text = nullptr; // where the characters of the current element go
    bool inInline = false;
    while (xml.next()) {
        if (xml.isStart(u"row")) {
            const QStringView number = xml.attribute(u"r");
            const auto index = number.isEmpty() ? std::optional(nextRow) : rowOf(number);
            if (!index)
                xml.fail("the row number " + utf8(number) + " is not valid");
            row = *index;
            nextRow = row + 1;
            column = 0;
        } else if (xml.isStart(u"c")) {
            const QStringView reference = xml.attribute(u"r");
            if (!reference.isEmpty()) {
                const auto index = columnOf(reference);
                if (!index)
                    xml.fail("the cell reference " + utf8(reference) + " is not valid");
                column = *index;
            }
            cell = CellText{utf8(xml.attribute(u"t")), xml.attribute(u"s").toUInt(), {}, {}};
        } else if (xml.isEnd(u"c")) {
            grid.set(row, column, cellValue(cell, sharedStrings, dates));
            ++column;
        } else if (xml.isStart(u"v")) {
            text = &cell.value;
        } else if (xml.isStart(u"is")) {
            inInline = true;
        } else if (xml.isEnd(u"is")) {
            inInline = false;
        } else if (inInline && xml.isStart(u"t")) {
            text = &cell.inlineText;
        } else if (xml.isEnd(u"v") || xml.isEnd(u"t")) {
            text = nullptr;
        } else if (text && xml.isText()) {
            xml.appendText(*text);
        }
    }
    return grid;
}

} // namespace host
