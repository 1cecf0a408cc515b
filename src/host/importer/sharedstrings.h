#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class ZipArchive;

// The shared-string table of an .xlsx workbook: every text end to end in one buffer, so that a
// table of many short texts costs little more than the texts. The table is the one part of a
// workbook kept whole, so it has a budget of its own.
class SharedStrings
{
public:
    static constexpr size_t kMaxBytes = size_t{256} << 20;

    // Reads the table, when the workbook has one. Throws HostError when it is damaged or holds
    // more than the budget (said at once when the table's own count already says so).
    explicit SharedStrings(const ZipArchive &archive);

    // The text at an index below size().
    std::string_view at(std::uint64_t index) const;
    std::uint64_t size() const { return m_ends.size(); }

private:
    std::string m_text;
    std::vector<std::uint64_t> m_ends;
};

} // namespace host
