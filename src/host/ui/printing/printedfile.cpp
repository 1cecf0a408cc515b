#include "host/ui/printing/printedfile.h"

#include <QByteArray>
#include <QFile>
#include <QPaintEngine>
#include <QPrinter>

#include <algorithm>

namespace host::ui {
namespace {

// A PDF is whole when it ends with its trailer and the trailer's offset finds the
// cross-reference table: a write the disk refused either cuts the end off or shifts what follows.
bool isWholePdf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kTail = 1024;
    const qint64 size = file.size();
    if (!file.seek(std::max<qint64>(0, size - kTail)))
        return false;
    const QByteArray tail = file.readAll().trimmed();
    constexpr QByteArrayView kStart = "startxref";
    const qsizetype start = tail.lastIndexOf(kStart);
    if (!tail.endsWith("%%EOF") || start < 0)
        return false;
    bool number = false;
    const qint64 table = tail.mid(start + kStart.size()).chopped(5).trimmed().toLongLong(&number);
    return number && table < size && file.seek(table) && file.read(4) == "xref";
}

} // namespace

PrintedFile::PrintedFile(QPrinter &printer) : m_printer(printer), m_name(printer.outputFileName())
{
    // A preview paints into pictures, whatever file the printer names.
    if (m_name.isEmpty() || printer.paintEngine()->type() == QPaintEngine::Picture)
        return;
    m_file.emplace(QFile::encodeName(m_name).toStdString());
    // The new file's name ends in no ".pdf", which would set the printer's format.
    m_printer.setOutputFileName(QFile::decodeName(m_file->writtenPath().c_str()));
}

PrintedFile::~PrintedFile()
{
    if (m_file && m_printer.printerState() != QPrinter::Active)
        m_printer.setOutputFileName(m_name);
}

void PrintedFile::finish(bool ended)
{
    if (!m_file)
        return;
    // The PDF writer says nothing of a write the disk refused: the file itself tells.
    if (!ended || m_printer.printerState() == QPrinter::Error ||
        !isWholePdf(QFile::decodeName(m_file->writtenPath().c_str())))
        m_file->failIncomplete();
    m_file->commit();
}

} // namespace host::ui
