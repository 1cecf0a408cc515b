#include "host/ui/modal/filedialog.h"

#include "host/ui/modal/qtmodals.h"

#include <QHeaderView>
#include <QTreeView>

namespace host::ui {

FileDialog::FileDialog(QWidget *owner, const FileDialogRequest &request,
                       QFileDialog::AcceptMode mode)
    : m_dialog(owner, request.title, request.initialPath, QtModals::qtFilter(request.filter))
{
    m_dialog.setAcceptMode(mode);
    m_dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                         : QFileDialog::AnyFile);
    // The size, type and date of a file show whole; its name takes the room left.
    if (auto *view = m_dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = view->header();
        header->setStretchLastSection(false);
        for (int column = 0; column < header->count(); ++column)
            header->setSectionResizeMode(column, column == 0 ? QHeaderView::Stretch
                                                             : QHeaderView::ResizeToContents);
    }
}

QString FileDialog::choose()
{
    if (m_dialog.exec() != QDialog::Accepted)
        return {};
    return m_dialog.selectedFiles().value(0);
}

} // namespace host::ui
