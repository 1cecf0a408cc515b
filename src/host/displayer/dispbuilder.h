#pragma once

#include "host/core/hostobject.h"

#include <string>
#include <string_view>
#include <vector>

namespace host {

// The host display window ("ZarvoDisplayer.DispBuilder"): a list of text lines with column
// titles, filled first and then shown. A header or line of n columns is n texts each followed
// by "|".
class DispBuilder : public HostObject
{
public:
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
    virtual const std::vector<std::vector<std::string>> &Lines() const { return m_lines; }

    static constexpr std::string_view ProgId = "ZarvoDisplayer.DispBuilder";

private:
    std::vector<std::string> cells(std::string_view line) const;

    std::vector<long> m_widths;
    std::vector<std::string> m_titles;
    std::vector<std::vector<std::string>> m_lines;
    std::string m_caption;
};

} // namespace host
