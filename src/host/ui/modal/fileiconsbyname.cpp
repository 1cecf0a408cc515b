#include "host/ui/modal/fileiconsbyname.h"

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
    // Drives, folders and links are told without reading anything.
    if (!info.isFile())
        return QFileIconProvider::type(info);
    const QMimeType mimeType = mimeTypeOf(info);
    return mimeType.comment().isEmpty() ? mimeType.name() : mimeType.comment();
}

QMimeType FileIconsByName::mimeTypeOf(const QFileInfo &info) const
{
    return m_types.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
}

} // namespace host::ui
