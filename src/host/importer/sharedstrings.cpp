#include "host/importer/sharedstrings.h"

#include "host/importer/xmlpart.h"

#include <charconv>

namespace host {
namespace {

const std::string kPart = "xl/sharedStrings.xml";
constexpr size_t kMaxPartBytes = size_t{1} << 30;
// What an entry costs beside its text.
constexpr size_t kEntryBytes = sizeof(std::uint64_t);

// An item's text is its own t element or the t elements of its runs; phonetic runs (rPh) only
// guide the reading.
class Reader : public XmlPart::Handler
{
public:
    Reader(std::string &text, std::vector<std::uint64_t> &ends, const ZipArchive &archive)
        : m_text(text), m_ends(ends), m_xml(archive, kPart, kMaxPartBytes, *this)
    {
        m_xml.parseAll();
    }

    void start(std::string_view name, const char **attributes) override
    {
        if (name == "sst") {
            const std::string_view claimed = XmlPart::attribute(attributes, "uniqueCount");
            std::uint64_t count = 0;
            std::from_chars(claimed.data(), claimed.data() + claimed.size(), count);
            if (count > SharedStrings::kMaxBytes / kEntryBytes)
                budgetExceeded();
        } else if (name == "si") {
            m_inItem = true;
            m_item.clear();
        } else if (name == "rPh") {
            m_inPhonetic = true;
        } else if (name == "t") {
            m_inText = m_inItem && !m_inPhonetic;
        }
    }

    void end(std::string_view name) override
    {
        if (name == "si") {
            m_bytes += m_item.size() + kEntryBytes;
            if (m_bytes > SharedStrings::kMaxBytes)
                budgetExceeded();
            m_text += m_item;
            m_ends.push_back(m_text.size());
            m_inItem = false;
        } else if (name == "rPh") {
            m_inPhonetic = false;
        } else if (name == "t") {
            m_inText = false;
        }
    }

    void text(std::string_view text) override
    {
        if (m_inText)
            m_xml.appendText(m_item, text);
    }

private:
    [[noreturn]] void budgetExceeded() const
    {
        m_xml.fail("the shared texts hold more than " +
                   std::to_string(SharedStrings::kMaxBytes >> 20) + " MB");
    }

    std::string &m_text;
    std::vector<std::uint64_t> &m_ends;
    std::string m_item;
    size_t m_bytes = 0;
    bool m_inItem = false;
    bool m_inPhonetic = false;
    bool m_inText = false;
    XmlPart m_xml;
};

} // namespace

SharedStrings::SharedStrings(const ZipArchive &archive)
{
    if (archive.contains(kPart))
        Reader(m_text, m_ends, archive);
}

std::string_view SharedStrings::at(std::uint64_t index) const
{
    const std::uint64_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_text).substr(begin, m_ends[index] - begin);
}

} // namespace host
