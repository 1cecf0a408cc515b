#include "host/importer/sheetrecords.h"

#include "host/core/hosterror.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace host {

const std::string &SheetRecords::FieldName(long index) const
{
    if (index < 0 || index >= FieldCount())
        throw HostError("Item cannot be found in the collection corresponding to the requested "
                        "name or ordinal.");
    return m_names[static_cast<size_t>(index)];
}

const Variant &SheetRecords::Value(long index) const
{
    static const Variant null = Variant::null();
    FieldName(index);
    if (m_eof)
        throw HostError("Either BOF or EOF is True, or the current record has been deleted.");
    const auto column = static_cast<size_t>(index);
    return column < m_current.size() ? m_current[column] : null;
}

void SheetRecords::readHeader()
{
    std::vector<Variant> header;
    std::uint32_t line = 0;
    if (readLine(line, m_ahead)) {
        if (line == 0)
            header.swap(m_ahead);
        else
            m_aheadLine = line;
    }
    const size_t width = std::max(header.size(), m_declaredWidth);
    for (size_t column = 0; column < width; ++column) {
        const bool named = column < header.size() && !header[column].isNull() &&
                           !isUncomputedFormula(header[column]);
        m_names.push_back(named ? CStr(header[column]) : "F" + std::to_string(column + 1));
    }
    if (!m_ahead.empty()) {
        m_ahead.resize(std::min(m_ahead.size(), width));
        m_hasAhead = std::any_of(m_ahead.begin(), m_ahead.end(),
                                 [](const Variant &cell) { return !cell.isNull(); });
    }
    MoveNext();
}

bool SheetRecords::readAhead()
{
    while (!m_hasAhead && readLine(m_aheadLine, m_ahead)) {
        if (m_ahead.size() > m_names.size())
            m_ahead.resize(m_names.size());
        m_hasAhead = std::any_of(m_ahead.begin(), m_ahead.end(),
                                 [](const Variant &cell) { return !cell.isNull(); });
    }
    return m_hasAhead;
}

void SheetRecords::MoveNext()
{
    if (m_eof)
        return;
    if (!readAhead()) {
        m_eof = true;
        m_current.clear();
        return;
    }
    m_line = m_aheadLine;
    m_current.swap(m_ahead);
    m_hasAhead = false;
}

Variant uncomputedFormula()
{
    static const auto formula = std::make_shared<UncomputedFormula>();
    return Variant(std::shared_ptr<HostObject>(formula));
}

bool isUncomputedFormula(const Variant &value)
{
    return value.as<UncomputedFormula>() != nullptr;
}

std::shared_ptr<SheetRecords> readWorkbook(const std::filesystem::path &file)
{
    // Opening a pipe or a device would wait for a writer that may never come.
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw HostError("The workbook " + file.string() + " is no regular file.");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError("Cannot open the workbook " + file.string());
    std::array<unsigned char, 4> signature{};
    in.read(reinterpret_cast<char *>(signature.data()), signature.size());
    // A compound document holds an .xls workbook; a zip archive an .xlsx one.
    constexpr std::array<unsigned char, 4> compound{0xD0, 0xCF, 0x11, 0xE0};
    constexpr std::array<unsigned char, 4> zip{'P', 'K', 0x03, 0x04};
    if (signature == compound)
        return readXls(file);
    if (signature == zip)
        return readXlsx(file);
    throw HostError("The file is not an Excel workbook: " + file.string());
}

} // namespace host
