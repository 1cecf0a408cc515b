#pragma once

#include "host/importer/zippart.h"

#include <QXmlStreamReader>

#include <filesystem>
#include <string>

namespace host {

// An XML member of a workbook, parsed as its chunks come out of the archive, so that a part of
// any size needs no more memory than what the caller keeps of it.
class XmlPart
{
public:
    XmlPart(const ZipArchive &archive, const std::string &name, size_t limit);

    // The next token; false once the root element has ended. Throws HostError when the part is
    // damaged or not well-formed.
    bool next();
    bool isStart(QStringView localName) const;
    bool isEnd(QStringView localName) const;
    bool isText() const { return m_xml.isCharacters(); }
    // An attribute of the current start element by its name as written ("r", "r:id").
    QStringView attribute(QStringView qualifiedName) const;
    // Appends the current text as UTF-8; a cell's text longer than a cell may hold is an error.
    void appendText(std::string &out) const;
    [[noreturn]] void fail(const std::string &what) const;

private:
    void checkRuns(const std::string &chunk);

    ZipPart m_part;
    std::filesystem::path m_file;
    QXmlStreamReader m_xml;
    QXmlStreamAttributes m_attributes;
    size_t m_run = 0; // bytes since the last '<'
    int m_depth = 0;
    bool m_started = false;
    bool m_dataEnded = false;
};

} // namespace host
