#include "unwritablefiles.h"

#include <QDirIterator>
#include <QFile>

#include <filesystem>

#include <sys/stat.h>

namespace fs = std::filesystem;

UnwritableFiles::UnwritableFiles(const QDir &folder, const QString &suffix)
    : m_folder(folder), m_suffix(suffix), m_earlier("the file the user made before")
{
    m_folder.mkpath(QStringLiteral("folder") + suffix);
    m_folder.mkpath(QStringLiteral("locked"));
    ::mkfifo(QFile::encodeName(m_folder.filePath(QStringLiteral("pipe") + suffix)).constData(),
             0600);
    QFile(m_folder.filePath(QStringLiteral("notes"))).open(QIODevice::WriteOnly);
    QFile::link(QStringLiteral("/dev/full"), m_folder.filePath(QStringLiteral("device") + suffix));
    for (const QString &name : {QStringLiteral("earlier"), QStringLiteral("locked/earlier")}) {
        QFile out(m_folder.filePath(name + suffix));
        out.open(QIODevice::WriteOnly);
        out.write(m_earlier);
    }
    // Nobody may write the earlier file in the locked folder, and reach it through the test's.
    fs::permissions(m_folder.filePath(QStringLiteral("locked/earlier") + suffix).toStdString(),
                    fs::perms(0666));
    fs::permissions(m_folder.path().toStdString(), fs::perms(0711));
    fs::permissions(m_folder.filePath(QStringLiteral("locked")).toStdString(), fs::perms(0555));
}

UnwritableFiles::~UnwritableFiles()
{
    std::error_code ignored;
    fs::permissions(m_folder.filePath(QStringLiteral("locked")).toStdString(), fs::perms(0755),
                    ignored);
}

std::vector<UnwritableFiles::Target> UnwritableFiles::targets(long roomForPart) const
{
    const auto at = [this](const char *name) {
        return m_folder.filePath(QString::fromUtf8(name) + m_suffix);
    };
    const QString notRegular = QStringLiteral("这不是普通文件，而是管道或设备。");
    const QString noPermission = QStringLiteral("没有在这里写入的权限。");
    const ChildLimits asNobody{true};
    return {
        {at("folder"), QStringLiteral("这是一个文件夹，不是文件。")},
        {at("pipe"), notRegular},
        {at("device"), notRegular},
        {at("none/file"), QStringLiteral("文件夹不存在。")},
        {at("notes/file"), QStringLiteral("路径中有一项不是文件夹。")},
        {at("locked/file"), noPermission, asNobody},
        {at("locked/earlier"), noPermission, asNobody},
        {at("earlier"), QStringLiteral("文件超过了允许的大小。"), ChildLimits{false, roomForPart}},
    };
}

QString UnwritableFiles::failureOf(const QString &path)
{
    return QStringLiteral("操作没有完成，原因：\n不能写入文件：") + path + QLatin1Char('\n');
}

QString UnwritableFiles::earlier() const
{
    return m_folder.filePath(QStringLiteral("earlier") + m_suffix);
}

QStringList UnwritableFiles::names() const
{
    QStringList names;
    QDirIterator it(m_folder.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << m_folder.relativeFilePath(it.next());
    names.sort();
    return names;
}

bool UnwritableFiles::earlierFilesKept() const
{
    for (const QString &name : {QStringLiteral("earlier"), QStringLiteral("locked/earlier")}) {
        QFile in(m_folder.filePath(name + m_suffix));
        if (!in.open(QIODevice::ReadOnly) || in.readAll() != m_earlier)
            return false;
    }
    return true;
}
