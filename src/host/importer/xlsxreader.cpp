#include "host/importer/sheetrecords.h"

#include "host/core/datetime.h"
#include "host/importer/numberformats.h"
#include "host/importer/sharedstrings.h"
#include "host/importer/workbookerror.h"
#include "host/importer/xmlpart.h"

#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace host {
namespace {

// The workbook, its relationships and its styles are small; a worksheet is read as it streams,
// and only the time to read it grows with its size: room for a million lines of a count sheet.
constexpr size_t kMaxSmallPartBytes = size_t{16} << 20;
constexpr size_t kMaxSheetBytes = size_t{4} << 30;

template <typename T> std::optional<T> number(std::string_view text)
{
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Which cell styles show dates, by style index.
class DateStyles : public XmlPart::Handler
{
public:
    explicit DateStyles(const ZipArchive &archive)
    {
        const std::string part = "xl/styles.xml";
        if (!archive.contains(part))
            return;
        XmlPart(archive, part, kMaxSmallPartBytes, *this).parseAll();
    }

    bool isDate(std::uint64_t style) const { return style < m_dates.size() && m_dates[style]; }

    void start(std::string_view name, const char **attributes) override
    {
        const auto formatId = [attributes] {
            return number<unsigned>(XmlPart::attribute(attributes, "numFmtId")).value_or(0);
        };
        if (name == "numFmt") {
            if (isDateFormatCode(XmlPart::attribute(attributes, "formatCode")))
                m_customDateFormats.insert(formatId());
        } else if (name == "cellXfs") {
            m_inCellFormats = true;
        } else if (m_inCellFormats && name == "xf") {
            const unsigned id = formatId();
            m_dates.push_back(isBuiltInDateFormat(id) || m_customDateFormats.count(id) != 0);
        }
    }
    void end(std::string_view name) override
    {
        if (name == "cellXfs")
            m_inCellFormats = false;
    }
    void text(std::string_view) override {}

private:
    std::set<unsigned> m_customDateFormats;
    std::vector<bool> m_dates;
    bool m_inCellFormats = false;
};

// What the workbook part says of its sheets, in its order, and of its dates.
class WorkbookPart : public XmlPart::Handler
{
public:
    struct Sheet
    {
        std::string id;
        bool shown;
    };

    explicit WorkbookPart(const ZipArchive &archive)
    {
        XmlPart(archive, "xl/workbook.xml", kMaxSmallPartBytes, *this).parseAll();
    }

    const std::vector<Sheet> &sheets() const { return m_sheets; }
    bool date1904() const { return m_date1904; }

    void start(std::string_view name, const char **attributes) override
    {
        if (name == "workbookPr") {
            const std::string_view value = XmlPart::attribute(attributes, "date1904");
            m_date1904 = value == "1" || value == "true";
        } else if (name == "sheet") {
            const std::string_view state = XmlPart::attribute(attributes, "state");
            m_sheets.push_back({std::string(XmlPart::attribute(attributes, "r:id")),
                                state != "hidden" && state != "veryHidden"});
        }
    }
    void end(std::string_view) override {}
    void text(std::string_view) override {}

private:
    std::vector<Sheet> m_sheets;
    bool m_date1904 = false;
};

// The parts of the workbook's worksheets by relationship id: chart, dialog and macro sheets are
// related as kinds of their own.
class WorksheetTargets : public XmlPart::Handler
{
public:
    explicit WorksheetTargets(const ZipArchive &archive)
    {
        XmlPart(archive, "xl/_rels/workbook.xml.rels", kMaxSmallPartBytes, *this).parseAll();
    }

    const std::string *target(const std::string &id) const
    {
        const auto found = m_targets.find(id);
        return found == m_targets.end() ? nullptr : &found->second;
    }

    void start(std::string_view name, const char **attributes) override
    {
        const std::string_view type = XmlPart::attribute(attributes, "Type");
        if (name == "Relationship" && (type.empty() || type.ends_with("/worksheet")))
            m_targets.emplace(XmlPart::attribute(attributes, "Id"),
                              XmlPart::attribute(attributes, "Target"));
    }
    void end(std::string_view) override {}
    void text(std::string_view) override {}

private:
    std::map<std::string, std::string, std::less<>> m_targets;
};

// The sheet to read, as the .xls reader chooses it: the first worksheet shown, or the first
// worksheet when all are hidden.
struct SheetChoice
{
    std::string path;
    bool date1904 = false;
};

SheetChoice chooseSheet(const ZipArchive &archive)
{
    if (!archive.contains("xl/workbook.xml") || !archive.contains("xl/_rels/workbook.xml.rels"))
        throw WorkbookError(archive.file(), "no workbook part");
    const WorkbookPart workbook(archive);
    const WorksheetTargets targets(archive);
    const std::string *chosen = nullptr;
    bool shown = false;
    for (const auto &sheet : workbook.sheets()) {
        const std::string *target = targets.target(sheet.id);
        if (target && (!chosen || (sheet.shown && !shown))) {
            chosen = target;
            shown = sheet.shown;
        }
    }
    if (!chosen || chosen->empty())
        throw WorkbookError(archive.file(), "no worksheet");
    return {chosen->starts_with('/') ? chosen->substr(1) : "xl/" + *chosen, workbook.date1904()};
}

// "BC12": 0-based column 54 and row 11. Letters or digits may be missing; more letters or
// digits than a position can have count as a position past the edge.
struct CellReference
{
    std::optional<std::uint64_t> column;
    std::optional<std::uint64_t> row;
};

CellReference parseReference(std::string_view reference)
{
    CellReference ref;
    size_t i = 0;
    std::uint64_t column = 0;
    for (; i < reference.size() && i < 8; ++i) {
        // Letters by their ASCII codes: the locale's case mapping costs a call for every cell.
        const char c = reference[i];
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper < 'A' || upper > 'Z')
            break;
        column = column * 26 + static_cast<std::uint64_t>(upper - 'A' + 1);
    }
    if (column > 0)
        ref.column = column - 1;
    const std::string_view digits = reference.substr(i);
    if (!digits.empty()) {
        const auto row = digits.size() > 10
                             ? std::optional<std::uint64_t>(SheetRecords::kMaxRows + 1)
                             : number<std::uint64_t>(digits);
        if (row && *row > 0)
            ref.row = *row - 1;
    }
    return ref;
}

class XlsxRecords : public SheetRecords, public XmlPart::Handler
{
public:
    explicit XlsxRecords(const std::filesystem::path &file)
        : SheetRecords(file), m_archive(file), m_strings(m_archive), m_dates(m_archive),
          m_choice(chooseSheet(m_archive)), m_sheet(openSheet())
    {
        readHeader();
    }

    void start(std::string_view name, const char **attributes) override;
    void end(std::string_view name) override;
    void text(std::string_view text) override;

protected:
    bool readLine(std::uint32_t &line, std::vector<Variant> &cells) override
    {
        m_cells = &cells;
        cells.clear();
        m_lineDone = false;
        while (!m_lineDone) {
            if (!m_sheet->parse())
                return false;
        }
        line = m_row;
        return true;
    }

private:
    std::unique_ptr<XmlPart> openSheet()
    {
        if (!m_archive.contains(m_choice.path))
            throw WorkbookError(file(), "the worksheet " + m_choice.path + " is missing");
        return std::make_unique<XmlPart>(m_archive, m_choice.path, kMaxSheetBytes, *this);
    }

    [[noreturn]] void pastTheEdge() const
    {
        m_sheet->fail("a cell lies outside the " + std::to_string(kMaxRows) + " rows and " +
                      std::to_string(kMaxColumns) + " columns of a worksheet");
    }

    Variant cellValue() const;

    ZipArchive m_archive;
    SharedStrings m_strings;
    DateStyles m_dates;
    const SheetChoice m_choice;
    std::unique_ptr<XmlPart> m_sheet;

    std::vector<Variant> *m_cells = nullptr;
    std::uint32_t m_row = 0;
    std::uint32_t m_nextRow = 0;
    bool m_anyRow = false;
    bool m_lineDone = false;
    std::uint32_t m_column = 0;
    // What a c element says, collected until it ends.
    std::string m_type;
    std::uint64_t m_style = 0;
    std::string m_value;     // the v element
    bool m_hasValue = false; // whether there was one
    bool m_hasFormula = false;
    std::string m_inlineText;        // the text of an is element
    std::string *m_target = nullptr; // where the characters of the current element go
    bool m_inInline = false;
    bool m_inPhonetic = false;
};

void XlsxRecords::start(std::string_view name, const char **attributes)
{
    if (name == "c") {
        // A cell's attributes are read in one pass: the sheet has one c element for each cell.
        std::string_view reference;
        std::string_view type;
        std::string_view style;
        for (const char **a = attributes; *a; a += 2) {
            const char *attribute = a[0];
            if (attribute[0] == '\0' || attribute[1] != '\0')
                continue;
            if (attribute[0] == 'r')
                reference = a[1];
            else if (attribute[0] == 't')
                type = a[1];
            else if (attribute[0] == 's')
                style = a[1];
        }
        if (!reference.empty()) {
            const CellReference ref = parseReference(reference);
            if (!ref.column)
                m_sheet->fail("the cell reference " + std::string(reference) + " is not valid");
            if (*ref.column >= kMaxColumns || (ref.row && *ref.row >= kMaxRows))
                pastTheEdge();
            m_column = static_cast<std::uint32_t>(*ref.column);
        } else if (m_column >= kMaxColumns) {
            pastTheEdge();
        }
        m_type = type;
        m_style = number<std::uint64_t>(style).value_or(0);
        m_value.clear();
        m_hasValue = false;
        m_hasFormula = false;
        m_inlineText.clear();
    } else if (name == "v") {
        m_target = &m_value;
        m_hasValue = true;
    } else if (name == "f") {
        m_hasFormula = true;
    } else if (name == "is") {
        m_inInline = true;
    } else if (name == "rPh") {
        m_inPhonetic = true;
    } else if (name == "t") {
        m_target = m_inInline && !m_inPhonetic ? &m_inlineText : nullptr;
    } else if (name == "row") {
        const std::string_view number = XmlPart::attribute(attributes, "r");
        std::uint64_t row = m_nextRow;
        if (!number.empty()) {
            const CellReference ref = parseReference(number);
            if (ref.column || !ref.row)
                m_sheet->fail("the row number " + std::string(number) + " is not valid");
            row = *ref.row;
        }
        if (row >= kMaxRows)
            pastTheEdge();
        if (m_anyRow && row <= m_row)
            m_sheet->fail("the row " + std::to_string(row + 1) + " comes after the row " +
                          std::to_string(m_row + 1));
        m_row = static_cast<std::uint32_t>(row);
        m_nextRow = m_row + 1;
        m_anyRow = true;
        m_column = 0;
    } else if (name == "dimension") {
        const std::string_view ref = XmlPart::attribute(attributes, "ref");
        const CellReference last = parseReference(ref.substr(ref.find(':') + 1));
        if ((last.column && *last.column >= kMaxColumns) || (last.row && *last.row >= kMaxRows))
            m_sheet->fail("the worksheet claims the cells " + std::string(ref) +
                          ", past the edge of a worksheet");
        if (last.column)
            declareWidth(static_cast<size_t>(*last.column) + 1);
    }
}

void XlsxRecords::end(std::string_view name)
{
    if (name == "c") {
        Variant value = cellValue();
        if (!value.isNull()) {
            if (m_cells->size() <= m_column)
                m_cells->resize(m_column + 1, Variant::null());
            (*m_cells)[m_column] = std::move(value);
        }
        ++m_column;
    } else if (name == "v" || name == "t") {
        m_target = nullptr;
    } else if (name == "is") {
        m_inInline = false;
    } else if (name == "rPh") {
        m_inPhonetic = false;
    } else if (name == "row") {
        if (!m_cells->empty()) {
            m_lineDone = true;
            m_sheet->pause();
        }
    }
}

void XlsxRecords::text(std::string_view text)
{
    if (m_target)
        m_sheet->appendText(*m_target, text);
}

Variant XlsxRecords::cellValue() const
{
    // Read as blank, it would count as nothing where the sheet shows a result once computed. An
    // empty result is one only where it is a text.
    if (m_hasFormula && (!m_hasValue || (m_value.empty() && m_type != "str")))
        return uncomputedFormula();
    if (m_type == "inlineStr")
        return m_inlineText.empty() ? Variant::null() : Variant(m_inlineText);
    // A shared text's cell whose index is missing or not in the table is damage, not an empty
    // cell: it would blank a text.
    if (m_type == "s" && m_hasValue && m_value.empty())
        m_sheet->fail("a cell refers to a shared text without saying which");
    if (m_value.empty())
        return Variant::null();
    if (m_type == "s") {
        const auto index = number<std::uint64_t>(m_value);
        if (!index || *index >= m_strings.size())
            m_sheet->fail("a cell refers to the shared text " + m_value + " of a table of " +
                          std::to_string(m_strings.size()));
        const std::string_view text = m_strings.at(*index);
        return text.empty() ? Variant::null() : Variant(text);
    }
    if (m_type == "b")
        return Variant(m_value == "1");
    if (m_type == "str" || m_type == "e")
        return Variant(m_value);
    const auto value = parseNumber(m_value);
    if (!value)
        return Variant(m_value);
    if (m_dates.isDate(m_style))
        return Variant::fromDate(m_choice.date1904 ? *value + k1904DaysOffset : *value);
    return Variant(*value);
}

} // namespace

std::shared_ptr<SheetRecords> readXlsx(const std::filesystem::path &file)
{
    return std::make_shared<XlsxRecords>(file);
}

} // namespace host
