#pragma once

#include "host/core/hostobject.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The host display window ("ZarvoDisplayer.DispBuilder"): a list of text lines with column
// titles, filled first and then shown. A header or line of n columns is n texts each followed
// by "|". The lines' texts are kept end to end in blocks, so a list of a million lines costs
// little more than its texts.
class DispBuilder : public HostObject
{
public:
    // Set before the first line is added; throws HostError once lines are there.
    virtual void Cols(long count);
    virtual long Cols() const { return static_cast<long>(m_widths.size()); }
    // Width of a 1-based column, in twips.
    virtual void SetColWidth(long column, long twips);
    virtual void titles(const std::string &titleLine);
    virtual void Caption(const std::string &caption) { m_caption = caption; }
    virtual const std::string &Caption() const { return m_caption; }
    virtual void Add(const std::string &line);
    // Shows the list; 1 waits until the user closes it, as every caller here does.
    virtual void Show(long modal);

    virtual const std::vector<std::string> &Titles() const { return m_titles; }
    size_t lineCount() const { return m_widths.empty() ? 0 : m_ends.size() / m_widths.size(); }
    // The text of a 0-based line and column.
    std::string_view cell(size_t line, size_t column) const;

    static constexpr std::string_view ProgId = "ZarvoDisplayer.DispBuilder";

private:
    // The line's texts, one per column; missing ones are empty and texts beyond the last column
    // are dropped.
    std::vector<std::string_view> cells(std::string_view line) const;
    void append(std::string_view text);

    std::vector<long> m_widths;
    std::vector<std::string> m_titles;
    // Blocks of a megabyte or more, each filled before the next is begun: a growing list never
    // copies what it holds.
    std::vector<std::string> m_blocks;
    // Each cell's block in the high half and where its text ends there in the low half, line
    // after line.
    std::vector<std::uint64_t> m_ends;
    std::string m_caption;
};

} // namespace host
