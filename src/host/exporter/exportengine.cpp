#include "host/exporter/exportengine.h"

#include "host/core/hosterror.h"
#include "host/core/variant.h"
#include "host/db/hostdatabase.h"
#include "host/exporter/sheetpart.h"
#include "host/exporter/sheetrows.h"
#include "host/files/userfile.h"
#include "host/lang/hosttext.h"
#include "host/ui/modal/modalservices.h"

#include <xlsxwriter.h>

#include <QString>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <memory>
#include <system_error>
#include <vector>

namespace host {
namespace {

const std::string kEmpty;
// The most characters a cell holds.
constexpr std::size_t kCellCharacters = 32767;

struct WorkbookCloser
{
    void operator()(lxw_workbook *workbook) const
    {
        if (workbook)
            workbook_close(workbook);
    }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookCloser>;

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw HostError(std::string("The workbook could not be written: ") + lxw_strerror(error));
}

// The failures of the writer's own file, which leave the system's reason in errno.
bool writesTheFile(lxw_error error)
{
    return error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_ZIP_FILE_OPERATION ||
           error == LXW_ERROR_ZIP_CLOSE;
}

// The title as a worksheet name: without the characters a sheet name may not hold, at most
// 31 characters.
std::string sheetName(const std::string &title)
{
    QString name = QString::fromStdString(title);
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        name.remove(c);
    name = name.left(31).trimmed();
    return name.isEmpty() ? std::string("Sheet1") : name.toStdString();
}

// A column width in characters that shows the caption: wide characters count twice.
double widthOf(const std::string &caption)
{
    double width = 2;
    for (const QChar c : QString::fromStdString(caption))
        width += c.unicode() > 0x2E80 ? 2 : 1;
    return std::max(width, 10.0);
}

std::string shortestText(double value)
{
    std::array<char, 32> text{};
    return {text.data(), std::to_chars(text.begin(), text.end(), value).ptr};
}

// Characters, as the writer counts them against a cell's limit.
std::size_t charactersOf(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Makes the rows the caller loads, about a megabyte at a time, as the sheet is deflated. Not
// through the writer, which prints every number with 16 digits, one formatted print a cell.
class RowFeed
{
public:
    RowFeed(const ExportEngine &engine, long rows,
            const std::function<void(long, ExportRowData &)> &load)
        : m_load(load), m_rows(rows), m_cols(engine.Cols()), m_sheet(m_cols)
    {
        for (long c = 1; c <= m_cols; ++c)
            m_numberColumn.push_back(engine.ColType(c) == ExportEngine::NumberType);
    }

    bool operator()(std::string &out)
    {
        constexpr std::size_t kChunk = std::size_t{1} << 20;
        while (m_next <= m_rows && m_sheet.size() < kChunk)
            row(m_next++);
        if (m_next > m_rows && !m_finished) {
            m_sheet.finish();
            m_finished = true;
        }
        m_sheet.moveTo(out);
        return !out.empty();
    }

private:
    void row(long r)
    {
        m_data.reset(m_cols);
        if (m_load)
            m_load(r, m_data);
        for (long c = 1; c <= m_cols; ++c) {
            const bool numbers = m_numberColumn[static_cast<size_t>(c - 1)];
            // A plain flag beside the value: GCC takes an optional<double> here for uninitialised.
            const std::optional<double> given = m_data.Number(c);
            bool isNumber = given.has_value();
            double number = given.value_or(0);
            std::string shown;
            std::string_view text;
            if (isNumber) {
                if (!std::isfinite(number))
                    continue;
                if (!numbers) {
                    shown = shortestText(number);
                    text = shown;
                    isNumber = false;
                }
            } else {
                // The writer takes a C string.
                text = m_data.Item(c).c_str();
                if (text.empty())
                    continue;
                if (const auto parsed = numbers ? parseNumber(text) : std::nullopt;
                    parsed && std::isfinite(*parsed)) {
                    number = *parsed;
                    isNumber = true;
                }
            }
            // As the writer, no cell below the sheet's last row, no text longer than a cell holds.
            if (r >= static_cast<long>(LXW_ROW_MAX))
                check(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
            if (isNumber) {
                m_sheet.number(r, c - 1, number);
                continue;
            }
            if (text.size() > kCellCharacters && charactersOf(text) > kCellCharacters)
                check(LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED);
            m_sheet.text(r, c - 1, text);
        }
    }

    const std::function<void(long, ExportRowData &)> &m_load;
    const long m_rows;
    const long m_cols;
    std::vector<bool> m_numberColumn;
    SheetRows m_sheet;
    ExportRowData m_data;
    long m_next = 1;
    bool m_finished = false;
};

} // namespace

ExportRowData::Cell &ExportRowData::cell(long col)
{
    if (col < 1)
        throw HostError("Subscript out of range", HostError::SubscriptOutOfRange);
    if (static_cast<size_t>(col) > m_items.size())
        m_items.resize(static_cast<size_t>(col));
    return m_items[static_cast<size_t>(col - 1)];
}

void ExportRowData::setItem(long col, std::string_view text)
{
    Cell &item = cell(col);
    item.text = text;
    item.number.reset();
}

void ExportRowData::setNumber(long col, double value)
{
    Cell &item = cell(col);
    item.text.clear();
    item.number = value;
}

const std::string &ExportRowData::Item(long col) const
{
    if (col < 1 || static_cast<size_t>(col) > m_items.size())
        return kEmpty;
    return m_items[static_cast<size_t>(col - 1)].text;
}

std::optional<double> ExportRowData::Number(long col) const
{
    if (col < 1 || static_cast<size_t>(col) > m_items.size())
        return std::nullopt;
    return m_items[static_cast<size_t>(col - 1)].number;
}

void ExportRowData::reset(long cols)
{
    for (Cell &item : m_items) {
        item.text.clear();
        item.number.reset();
    }
    m_items.resize(static_cast<size_t>(std::max(cols, 0L)));
}

void ExportEngine::setCols(long cols)
{
    m_columns.resize(static_cast<size_t>(std::max(cols, 0L)));
}

void ExportEngine::setRows(long rows)
{
    m_rows = std::max(rows, 0L);
}

ExportEngine::Column &ExportEngine::column(long col)
{
    if (col < 1 || col > Cols())
        throw HostError("Subscript out of range", HostError::SubscriptOutOfRange);
    return m_columns[static_cast<size_t>(col - 1)];
}

const ExportEngine::Column &ExportEngine::column(long col) const
{
    return const_cast<ExportEngine *>(this)->column(col);
}

void ExportEngine::setColCaption(long col, const std::string &caption)
{
    column(col).caption = caption;
}

void ExportEngine::setColType(long col, long type)
{
    column(col).type = type;
}

void ExportEngine::setColLength(long col, long length)
{
    column(col).length = length;
}

std::string ExportEngine::ColCaption(long col) const
{
    return column(col).caption;
}

long ExportEngine::ColType(long col) const
{
    return column(col).type;
}

long ExportEngine::ColLength(long col) const
{
    return column(col).length;
}

void ExportEngine::Run(const std::string &title)
{
    ui::FileDialogRequest request;
    request.title = hostCaption("引出");
    request.filter = hostCaption("Excel 工作簿") + QStringLiteral("|*.xlsx");
    request.initialPath = QString::fromStdString(title) + QStringLiteral(".xlsx");
    QString path = ui::modals().saveFileName(request);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    writeWorkbook(path.toStdString(), title);
}

void ExportEngine::writeWorkbook(const std::string &path, const std::string &title)
{
    // Written over, a file of the database would be lost with what it holds.
    if (isHostDatabaseFile(path))
        throw HostError(hostText("所选文件是正在使用的数据库的文件，请另选文件!"));
    UserFile file(path);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    WorkbookPtr workbook(workbook_new_opt(file.writtenPath().c_str(), &options));
    if (!workbook)
        throw HostError("The workbook could not be created: " + path);
    lxw_doc_properties properties{};
    std::string docTitle = title;
    properties.title = docTitle.data();
    check(workbook_set_properties(workbook.get(), &properties));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), sheetName(title).c_str());
    if (!sheet)
        throw HostError("The worksheet could not be added.");
    lxw_format *bold = workbook_add_format(workbook.get());
    format_set_bold(bold);

    const long cols = Cols();
    for (long c = 1; c <= cols; ++c) {
        const auto col = static_cast<lxw_col_t>(c - 1);
        check(worksheet_set_column(sheet, col, col, widthOf(ColCaption(c)), nullptr));
        check(worksheet_write_string(sheet, 0, col, ColCaption(c).c_str(), bold));
    }
    lxw_workbook *raw = workbook.release();
    errno = 0;
    const lxw_error closed = workbook_close(raw);
    if (closed != LXW_NO_ERROR && errno != 0 && writesTheFile(closed))
        file.fail(errno);
    check(closed);
    if (m_rows > 0 && cols > 0) {
        RowFeed feed(*this, m_rows, LoadData);
        try {
            insertSheetRows(file.writtenPath(), m_rows, cols, std::ref(feed));
        } catch (const std::system_error &error) {
            file.fail(error.code().value());
        }
    }
    file.commit();
}

} // namespace host
