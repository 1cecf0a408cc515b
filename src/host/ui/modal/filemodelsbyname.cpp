#include "host/ui/modal/filemodelsbyname.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>

namespace host::ui {

FileModelsByName::FileModelsByName(QCoreApplication &application)
{
    // A desktop's own dialog would read the files it lists, out of this program's reach.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    application.installEventFilter(this);
}

bool FileModelsByName::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        // A file dialog makes its model, then its widgets, and only then opens its folder.
        if (qobject_cast<QFileDialog *>(watched))
            for (auto *model :
                 watched->findChildren<QFileSystemModel *>(Qt::FindDirectChildrenOnly))
                adopt(*model);
        break;
    case QEvent::MetaCall:
        // What the model's thread listed reaches it as a queued call.
        if (auto *model = qobject_cast<QFileSystemModel *>(watched))
            adopt(*model);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void FileModelsByName::adopt(QFileSystemModel &model)
{
    if (model.iconProvider() != &m_icons)
        model.setIconProvider(&m_icons);
}

} // namespace host::ui
