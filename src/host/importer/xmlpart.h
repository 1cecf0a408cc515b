#pragma once

#include "host/importer/zippart.h"

#include <expat.h>

#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

namespace host {

// An XML member of a workbook, parsed as its chunks come out of the archive, so that a part of
// any size needs no more memory than what its handler keeps of it. A document type declaration
// is refused, so no entity of the file's own is ever expanded.
class XmlPart
{
public:
    // What a reader does with the part's tokens. Element names are local (without a prefix);
    // attributes are expat's array of qualified name and value pairs, ended by a null. A
    // handler may throw; the exception leaves parse().
    class Handler
    {
    public:
        virtual ~Handler() = default;
        virtual void start(std::string_view name, const char **attributes) = 0;
        virtual void end(std::string_view name) = 0;
        // Character data, possibly in several pieces.
        virtual void text(std::string_view text) = 0;
    };

    XmlPart(const ZipArchive &archive, const std::string &name, size_t limit, Handler &handler);
    ~XmlPart();
    XmlPart(const XmlPart &) = delete;
    XmlPart &operator=(const XmlPart &) = delete;

    // Parses until a handler pauses or the part ends; false once the whole part is parsed.
    // Throws HostError when the part is damaged or not well-formed.
    bool parse();
    // Parses the whole part.
    void parseAll();
    // From inside a handler: parse() returns once the current token is handled.
    void pause();

    // The value of the attribute written with this name ("r", "r:id"); empty when absent.
    static std::string_view attribute(const char **attributes, std::string_view name);
    // Appends a text, refusing one longer than a cell may hold.
    void appendText(std::string &out, std::string_view text) const;
    [[noreturn]] void fail(const std::string &what) const;

private:
    static void onStart(void *data, const char *name, const char **attributes);
    static void onEnd(void *data, const char *name);
    static void onText(void *data, const char *text, int length);
    static void onDoctype(void *data, const char *, const char *, const char *, int);
    // Runs a handler; an exception is kept for parse() and stops the parser.
    template <typename F> void guarded(F &&call);
    void checkRuns(const std::string &chunk);

    ZipPart m_part;
    std::filesystem::path m_file;
    Handler &m_handler;
    XML_Parser m_parser;
    std::string m_chunk; // the data being parsed; kept while the parser is suspended in it
    std::exception_ptr m_error;
    size_t m_run = 0; // bytes since the last '<'
    int m_depth = 0;
    bool m_suspended = false;
    bool m_final = false;
    bool m_done = false;
};

} // namespace host
