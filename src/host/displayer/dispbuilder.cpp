#include "host/displayer/dispbuilder.h"

#include "host/core/hosterror.h"
#include "host/displayer/displaywindow.h"
#include "host/ui/modal/modalservices.h"

#include <algorithm>

namespace host {
namespace {

constexpr long kDefaultWidth = 1440;
constexpr size_t kBlockBytes = size_t{1} << 20;

} // namespace

void DispBuilder::Cols(long count)
{
    if (count < 0 || (!m_ends.empty() && static_cast<size_t>(count) != m_widths.size()))
        throw HostError("Invalid column count", HostError::InvalidProcedureCall);
    m_widths.resize(static_cast<size_t>(count), kDefaultWidth);
}

void DispBuilder::SetColWidth(long column, long twips)
{
    if (column < 1 || column > Cols())
        throw HostError("Column out of range", HostError::SubscriptOutOfRange);
    m_widths[static_cast<size_t>(column - 1)] = twips;
}

std::vector<std::string_view> DispBuilder::cells(std::string_view line) const
{
    std::vector<std::string_view> texts;
    for (size_t column = 0; column < m_widths.size(); ++column) {
        const size_t bar = line.find('|');
        texts.push_back(line.substr(0, bar));
        line = bar == std::string_view::npos ? std::string_view() : line.substr(bar + 1);
    }
    return texts;
}

void DispBuilder::titles(const std::string &titleLine)
{
    const auto texts = cells(titleLine);
    m_titles.assign(texts.begin(), texts.end());
}

void DispBuilder::Add(const std::string &line)
{
    for (const std::string_view text : cells(line))
        append(text);
}

void DispBuilder::append(std::string_view text)
{
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < text.size()) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(std::max(kBlockBytes, text.size()));
    }
    m_blocks.back() += text;
    m_ends.push_back(std::uint64_t{m_blocks.size() - 1} << 32 | m_blocks.back().size());
}

std::string_view DispBuilder::cell(size_t line, size_t column) const
{
    const size_t index = line * m_widths.size() + column;
    const std::uint64_t end = m_ends[index];
    const std::uint64_t before = index == 0 ? 0 : m_ends[index - 1];
    const size_t begin = before >> 32 == end >> 32 ? before & 0xFFFFFFFF : 0;
    return std::string_view(m_blocks[end >> 32]).substr(begin, (end & 0xFFFFFFFF) - begin);
}

void DispBuilder::Show(long modal)
{
    DisplayWindow window(*this, m_widths);
    if (modal == 1)
        ui::modals().showModal(window);
}

} // namespace host
