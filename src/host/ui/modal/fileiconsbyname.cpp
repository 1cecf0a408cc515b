#include "host/ui/modal/fileiconsbyname.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace host::ui {

QIcon FileIconsByName::icon(const QFileInfo &info) const
{
    if (info.isRoot())
        return icon(Drive);
    if (info.isDir())
        return icon(Folder);
    const QIcon themed = QIcon::fromTheme(mimeTypeOf(info).iconName());
    return themed.isNull() ? icon(File) : themed;
}

QString FileIconsByName::type(const QFileInfo &info) const
{
    // Drives, folders and links are told without reading anything, in the words Qt's
    // translations keep for the file dialog (Qt's own provider asks for words they lack).
    if (info.isRoot())
        return QCoreApplication::translate("QFileDialog", "Drive");
    if (info.isFile()) {
        const QMimeType mimeType = mimeTypeOf(info);
        return mimeType.comment().isEmpty() ? mimeType.name() : mimeType.comment();
    }
    if (info.isDir())
        return QCoreApplication::translate("QFileDialog", "Folder");
    if (info.isSymLink())
        return QCoreApplication::translate("QFileDialog", "Shortcut");
    return QCoreApplication::translate("QFileDialog", "Unknown");
}

QMimeType FileIconsByName::mimeTypeOf(const QFileInfo &info) const
{
    return m_types.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
}

} // namespace host::ui
