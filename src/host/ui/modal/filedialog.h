#pragma once

#include "host/ui/modal/modalservices.h"

#include <QFileDialog>

namespace host::ui {

// The program's dialog to choose a file. It lists files without reading them only while
// FileModelsByName is in force, as it is in the program.
class FileDialog
{
public:
    FileDialog(QWidget *owner, const FileDialogRequest &request, QFileDialog::AcceptMode mode);

    QFileDialog &dialog() { return m_dialog; }
    // Shows the dialog and waits; the chosen file, or an empty text when the user cancelled.
    QString choose();

private:
    QFileDialog m_dialog;
};

} // namespace host::ui
