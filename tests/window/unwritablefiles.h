#pragma once

#include "support/limitedchild.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <vector>

// Places in a folder of the test's own where a command that writes a file for the user must fail
// and say why: a folder, a pipe and a device (a link to /dev/full) at the name, a missing folder, a
// file where a folder belongs, a folder nobody may write in, and a disk that fills up while the
// file is written; an earlier file stands at two of the names. Names end in the suffix given.
class UnwritableFiles
{
public:
    struct Target
    {
        QString path;
        // The reason said, in Simplified Chinese.
        QString why;
        ChildLimits limits = {};
    };

    UnwritableFiles(const QDir &folder, const QString &suffix);
    ~UnwritableFiles();
    UnwritableFiles(const UnwritableFiles &) = delete;
    UnwritableFiles &operator=(const UnwritableFiles &) = delete;

    // roomForPart: the bytes a file may take when the disk fills up, enough for some of it.
    std::vector<Target> targets(long roomForPart) const;
    // What the window says about a file it did not write: the sentence and the file.
    static QString failureOf(const QString &path);

    // An earlier file the user may write.
    QString earlier() const;
    // Every name under the folder.
    QStringList names() const;
    // The earlier files hold what they held before.
    bool earlierFilesKept() const;

private:
    QDir m_folder;
    QString m_suffix;
    QByteArray m_earlier;
};
