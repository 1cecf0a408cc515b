#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace host::ui {

// Icons and types of the files a file dialog lists, told by their names alone. Qt's own provider
// reads a file whose name does not tell its type, and closing what it opened drops every lock
// the process holds on that file: listing the database's folder would free the database's locks
// while this program still writes to it. Asked from the file model's own thread as well.
class FileIconsByName : public QFileIconProvider
{
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override;
    QString type(const QFileInfo &info) const override;

private:
    QMimeType mimeTypeOf(const QFileInfo &info) const;

    QMimeDatabase m_types;
};

} // namespace host::ui
