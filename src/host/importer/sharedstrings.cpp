#include "host/importer/sharedstrings.h"

#include "host/importer/sheetgrid.h"
#include "host/importer/xmlpart.h"

namespace host {
namespace {

const std::string kPart = "xl/sharedStrings.xml";
constexpr size_t kMaxPartBytes = size_t{1} << 30;

} // namespace

SharedStrings::SharedStrings(const ZipArchive &archive, SheetGrid &grid)
{
    if (!archive.contains(kPart))
        return;
    XmlPart xml(archive, kPart, kMaxPartBytes);
    // An item's text is its own t element or the t elements of its runs; phonetic runs (rPh)
    // only guide the reading.
    bool inItem = false;
    bool inPhonetic = false;
    bool inText = false;
    std::string item;
    while (xml.next()) {
        if (xml.isStart(u"si")) {
            inItem = true;
            item.clear();
        } else if (xml.isEnd(u"si")) {
            grid.charge(item.size() + sizeof(std::uint64_t));
            m_text += item;
            m_ends.push_back(m_text.size());
            inItem = false;
        } else if (xml.isStart(u"rPh")) {
            inPhonetic = true;
        } else if (xml.isEnd(u"rPh")) {
            inPhonetic = false;
        } else if (xml.isStart(u"t")) {
            inText = inItem && !inPhonetic;
        } else if (xml.isEnd(u"t")) {
            inText = false;
        } else if (inText && xml.isText()) {
            xml.appendText(item);
        }
    }
}

std::string_view SharedStrings::at(std::uint64_t index) const
{
    if (index >= m_ends.size())
        return {};
    const std::uint64_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_text).substr(begin, m_ends[index] - begin);
}

} // namespace host
