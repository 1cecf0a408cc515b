#include "host/ui/modal/filedialog.h"

#include "host/ui/modal/qtmodals.h"

namespace host::ui {

FileDialog::FileDialog(QWidget *owner, const FileDialogRequest &request,
                       QFileDialog::AcceptMode mode)
    : m_dialog(owner, request.title, request.initialPath, QtModals::qtFilter(request.filter))
{
    m_dialog.setAcceptMode(mode);
    m_dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                         : QFileDialog::AnyFile);
}

QString FileDialog::choose()
{
    if (m_dialog.exec() != QDialog::Accepted)
        return {};
    return m_dialog.selectedFiles().value(0);
}

} // namespace host::ui
