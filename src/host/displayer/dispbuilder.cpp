#include "host/displayer/dispbuilder.h"

#include "host/core/hosterror.h"
#include "host/displayer/displaywindow.h"
#include "host/ui/modal/modalservices.h"

namespace host {
namespace {

constexpr long kDefaultWidth = 1440;

} // namespace

void DispBuilder::Cols(long count)
{
    if (count < 0)
        throw HostError("Invalid column count", HostError::InvalidProcedureCall);
    m_widths.resize(static_cast<size_t>(count), kDefaultWidth);
}

void DispBuilder::SetColWidth(long column, long twips)
{
    if (column < 1 || column > Cols())
        throw HostError("Column out of range", HostError::SubscriptOutOfRange);
    m_widths[static_cast<size_t>(column - 1)] = twips;
}

void DispBuilder::titles(const std::string &titleLine)
{
    m_titles = cells(titleLine);
}

void DispBuilder::Add(const std::string &line)
{
    m_lines.push_back(cells(line));
}

// The line's texts, one per column; missing ones are empty and texts beyond the last column
// are dropped.
std::vector<std::string> DispBuilder::cells(std::string_view line) const
{
    std::vector<std::string> texts;
    while (!line.empty() && texts.size() < m_widths.size()) {
        const size_t bar = line.find('|');
        texts.emplace_back(line.substr(0, bar));
        line = bar == std::string_view::npos ? std::string_view() : line.substr(bar + 1);
    }
    texts.resize(m_widths.size());
    return texts;
}

void DispBuilder::Show(long modal)
{
    DisplayWindow window(*this, m_widths);
    if (modal == 1)
        ui::modals().showModal(window);
}

} // namespace host
