#include "host/importer/xlsworkbook.h"

#include "host/importer/biffstream.h"
#include "host/importer/bifftext.h"
#include "host/importer/littleendian.h"
#include "host/importer/numberformats.h"
#include "host/importer/workbookerror.h"

#include <optional>

namespace host {
namespace {

constexpr std::uint16_t kGlobals = 0x0005;
constexpr std::uint8_t kWorksheet = 0;
constexpr std::uint8_t kVisible = 0;

// The code of a number format record: its number, then its code as a text.
std::string formatCode(BiffStream &stream, BiffText &text, std::string_view data, bool biff8)
{
    if (data.size() < 3)
        stream.damaged("a number format is cut short");
    BiffReader reader(stream, data.substr(2));
    if (biff8)
        return text.unicode(reader);
    // Only its letters matter, and they are the same in every code page.
    std::string code;
    for (std::uint8_t length = reader.byte(); length > 0; --length)
        code += static_cast<char>(reader.byte());
    return code;
}

} // namespace

XlsWorkbook::XlsWorkbook(BiffStream &stream, BiffText &text)
{
    BiffRecord record;
    if (!stream.next(record) || record.type != biff::kBof || record.data.size() < 4 ||
        littleEndian<std::uint16_t>(record.data, 2) != kGlobals)
        stream.damaged("it does not begin as a workbook");
    const auto version = littleEndian<std::uint16_t>(record.data, 0);
    if (version != biff::kBiff8 && version != biff::kBiff5)
        throw WorkbookError(stream.file(),
                            "its version " + std::to_string(version) + " is older than Excel 5");
    m_biff8 = version == biff::kBiff8;
    std::vector<bool> customDates(65536);
    std::optional<std::uint32_t> firstSheet;
    std::optional<std::uint32_t> firstShown;
    while (stream.next(record) && record.type != biff::kEof) {
        const std::string_view data = record.data;
        switch (record.type) {
        case biff::kFilePass:
            throw WorkbookLocked(stream.file());
        case biff::kCodePage:
            if (data.size() >= 2)
                text.setCodePage(littleEndian<std::uint16_t>(data, 0));
            break;
        case biff::kDateMode:
            m_date1904 = data.size() >= 2 && littleEndian<std::uint16_t>(data, 0) != 0;
            break;
        case biff::kFormat:
            customDates[littleEndian<std::uint16_t>(data, 0)] =
                isDateFormatCode(formatCode(stream, text, data, m_biff8));
            break;
        case biff::kXf:
            if (data.size() >= 4) {
                const auto format = littleEndian<std::uint16_t>(data, 2);
                m_dateFormats.push_back(isBuiltInDateFormat(format) || customDates[format]);
            }
            break;
        case biff::kBoundSheet:
            if (data.size() >= 6 && static_cast<std::uint8_t>(data[5]) == kWorksheet) {
                const auto start = littleEndian<std::uint32_t>(data, 0);
                if (!firstSheet)
                    firstSheet = start;
                if (!firstShown && static_cast<std::uint8_t>(data[4]) == kVisible)
                    firstShown = start;
            }
            break;
        case biff::kSst:
            if (m_biff8)
                readSharedTexts(stream, text, data);
            break;
        default:
            break;
        }
    }
    if (!firstSheet)
        stream.damaged("it has no worksheet");
    m_sheetStart = firstShown.value_or(*firstSheet);
}

std::string_view XlsWorkbook::sharedText(size_t index) const
{
    const size_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_texts).substr(begin, m_ends[index] - begin);
}

// As many texts as the table says it holds, or as its records hold when they hold fewer.
void XlsWorkbook::readSharedTexts(BiffStream &stream, BiffText &text, std::string_view data)
{
    BiffReader reader(stream, data);
    reader.u32();
    const std::uint32_t count = reader.u32();
    for (std::uint32_t i = 0; i < count && !reader.atEnd(); ++i) {
        m_texts += text.unicode(reader);
        m_ends.push_back(m_texts.size());
    }
}

} // namespace host
