#include "host/importer/xmlpart.h"

#include "host/importer/workbookerror.h"

#include <cstring>

namespace host {
namespace {

// A cell holds at most 32,767 characters; in UTF-8 that is at most three bytes each.
constexpr size_t kMaxCellBytes = size_t{32767} * 3;
// The parser keeps a text or a tag whole until it ends, so none may run longer than a cell's
// text written out as character references; nor may elements nest deeper than a workbook's do.
constexpr size_t kMaxRunBytes = size_t{32767} * 10;
constexpr int kMaxDepth = 32;

std::string_view localName(const char *name)
{
    // One pass over the name: it is taken for every element of the sheet.
    const char *local = name;
    const char *end = name;
    for (; *end; ++end) {
        if (*end == ':')
            local = end + 1;
    }
    return std::string_view(local, static_cast<size_t>(end - local));
}

} // namespace

XmlPart::XmlPart(const ZipArchive &archive, const std::string &name, size_t limit, Handler &handler)
    : m_part(archive, name, limit), m_file(archive.file()), m_handler(handler),
      m_parser(XML_ParserCreate(nullptr))
{
    if (!m_parser)
        throw WorkbookError(m_file, "no memory to parse the part " + name);
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, onStart, onEnd);
    XML_SetCharacterDataHandler(m_parser, onText);
    XML_SetStartDoctypeDeclHandler(m_parser, onDoctype);
}

XmlPart::~XmlPart()
{
    XML_ParserFree(m_parser);
}

bool XmlPart::parse()
{
    while (!m_done) {
        XML_Status status;
        if (m_suspended) {
            m_suspended = false;
            status = XML_ResumeParser(m_parser);
        } else {
            m_part.next(m_chunk);
            checkRuns(m_chunk);
            m_final = m_chunk.empty();
            status = XML_Parse(m_parser, m_chunk.data(), static_cast<int>(m_chunk.size()),
                               m_final ? XML_TRUE : XML_FALSE);
        }
        if (m_error)
            std::rethrow_exception(m_error);
        if (status == XML_STATUS_ERROR)
            fail(std::string("not well-formed XML (") +
                 XML_ErrorString(XML_GetErrorCode(m_parser)) + ")");
        if (status == XML_STATUS_SUSPENDED) {
            m_suspended = true;
            return true;
        }
        m_done = m_final;
    }
    return false;
}

void XmlPart::parseAll()
{
    while (parse()) {
    }
}

void XmlPart::pause()
{
    XML_StopParser(m_parser, XML_TRUE);
}

template <typename F> void XmlPart::guarded(F &&call)
{
    if (m_error)
        return;
    try {
        call();
    } catch (...) {
        m_error = std::current_exception();
        XML_StopParser(m_parser, XML_FALSE);
    }
}

void XmlPart::onStart(void *data, const char *name, const char **attributes)
{
    auto *part = static_cast<XmlPart *>(data);
    part->guarded([&] {
        if (++part->m_depth > kMaxDepth)
            part->fail("elements nest deeper than " + std::to_string(kMaxDepth));
        part->m_handler.start(localName(name), attributes);
    });
}

void XmlPart::onEnd(void *data, const char *name)
{
    auto *part = static_cast<XmlPart *>(data);
    part->guarded([&] {
        --part->m_depth;
        part->m_handler.end(localName(name));
    });
}

void XmlPart::onText(void *data, const char *text, int length)
{
    auto *part = static_cast<XmlPart *>(data);
    part->guarded(
        [&] { part->m_handler.text(std::string_view(text, static_cast<size_t>(length))); });
}

void XmlPart::onDoctype(void *data, const char *, const char *, const char *, int)
{
    auto *part = static_cast<XmlPart *>(data);
    part->guarded([&] { part->fail("a document type declaration is not allowed"); });
}

void XmlPart::checkRuns(const std::string &chunk)
{
    for (size_t at = 0;;) {
        const size_t tag = chunk.find('<', at);
        m_run += (tag == std::string::npos ? chunk.size() : tag) - at;
        if (m_run > kMaxRunBytes)
            fail("a text or a tag is longer than a cell's text may be");
        if (tag == std::string::npos)
            return;
        m_run = 0;
        // No run between two tags of a rest shorter than the limit can pass it, so only the one
        // left open at the end is looked at rather than every tag.
        at = chunk.size() - tag <= kMaxRunBytes ? chunk.rfind('<') + 1 : tag + 1;
    }
}

std::string_view XmlPart::attribute(const char **attributes, std::string_view name)
{
    // Compared without measuring each name first: a cell's attributes are read for every cell.
    for (const char **a = attributes; *a; a += 2) {
        if (std::strncmp(a[0], name.data(), name.size()) == 0 && a[0][name.size()] == '\0')
            return a[1];
    }
    return {};
}

void XmlPart::appendText(std::string &out, std::string_view text) const
{
    if (out.size() + text.size() > kMaxCellBytes)
        fail("a text is longer than a cell may hold");
    out.append(text);
}

void XmlPart::fail(const std::string &what) const
{
    throw WorkbookError(m_file, "the part " + m_part.name() + " is damaged: " + what);
}

} // namespace host
