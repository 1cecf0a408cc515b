#include "host/importer/xmlpart.h"

#include "host/importer/workbookerror.h"

namespace host {
namespace {

// A cell holds at most 32,767 characters; in UTF-8 that is at most three bytes each.
constexpr size_t kMaxCellBytes = 32767 * 3;
// The parser keeps a text or a tag whole until it ends, so none may run longer than a cell's
// text written out as character references; nor may elements nest deeper than a workbook's do.
constexpr size_t kMaxRunBytes = 32767 * 10;
constexpr int kMaxDepth = 32;

} // namespace

XmlPart::XmlPart(const ZipArchive &archive, const std::string &name, size_t limit)
    : m_part(archive, name, limit), m_file(archive.file())
{}

bool XmlPart::next()
{
    if (m_started && m_depth == 0)
        return false;
    for (;;) {
        m_xml.readNext();
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && !m_dataEnded) {
            const std::string chunk = m_part.next();
            checkRuns(chunk);
            m_dataEnded = chunk.empty();
            m_xml.addData(QByteArray(chunk.data(), static_cast<qsizetype>(chunk.size())));
            continue;
        }
        if (m_xml.hasError())
            fail("not well-formed XML (" + m_xml.errorString().toStdString() + ")");
        if (m_xml.isStartElement()) {
            m_attributes = m_xml.attributes();
            m_started = true;
            if (++m_depth > kMaxDepth)
                fail("elements nest deeper than " + std::to_string(kMaxDepth));
        } else if (m_xml.isEndElement()) {
            --m_depth;
        }
        return true;
    }
}

void XmlPart::checkRuns(const std::string &chunk)
{
    for (size_t at = 0; at < chunk.size();) {
        const size_t tag = chunk.find('<', at);
        m_run += (tag == std::string::npos ? chunk.size() : tag) - at;
        if (m_run > kMaxRunBytes)
            fail("a text or a tag is longer than a cell's text may be");
        if (tag == std::string::npos)
            break;
        m_run = 0;
        at = tag + 1;
    }
}

bool XmlPart::isStart(QStringView localName) const
{
    return m_xml.isStartElement() && m_xml.name() == localName;
}

bool XmlPart::isEnd(QStringView localName) const
{
    return m_xml.isEndElement() && m_xml.name() == localName;
}

QStringView XmlPart::attribute(QStringView qualifiedName) const
{
    for (const auto &attribute : m_attributes) {
        if (attribute.qualifiedName() == qualifiedName)
            return attribute.value();
    }
    return {};
}

void XmlPart::appendText(std::string &out) const
{
    const QByteArray text = m_xml.text().toUtf8();
    if (out.size() + static_cast<size_t>(text.size()) > kMaxCellBytes)
        fail("a text is longer than a cell may hold");
    out.append(text.constData(), static_cast<size_t>(text.size()));
}

void XmlPart::fail(const std::string &what) const
{
    throw workbookError(m_file, "the part " + m_part.name() + " is damaged: " + what);
}

} // namespace host
