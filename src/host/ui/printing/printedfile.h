#pragma once

#include "host/files/userfile.h"

#include <QString>

#include <optional>

class QPrinter;

namespace host::ui {

// The file a printer prints into, when it prints into one rather than onto paper or into a
// preview: while it paints, the printer writes a new file beside it, which finish() puts in place
// once the printer has written it whole. The printer names the user's file again afterwards.
class PrintedFile
{
public:
    explicit PrintedFile(QPrinter &printer);
    ~PrintedFile();
    PrintedFile(const PrintedFile &) = delete;
    PrintedFile &operator=(const PrintedFile &) = delete;

    // After the painting, ended saying whether the painter reported success.
    void finish(bool ended);

private:
    QPrinter &m_printer;
    QString m_name;
    std::optional<UserFile> m_file;
};

} // namespace host::ui
