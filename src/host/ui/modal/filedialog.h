#pragma once

#include "host/ui/modal/fileiconsbyname.h"
#include "host/ui/modal/modalservices.h"

#include <QFileDialog>

namespace host::ui {

// The program's dialog to choose a file: Qt's own rather than the desktop's, which would read
// the files it lists to tell their types (see FileIconsByName).
class FileDialog
{
public:
    FileDialog(QWidget *owner, const FileDialogRequest &request, QFileDialog::AcceptMode mode);

    QFileDialog &dialog() { return m_dialog; }
    // Shows the dialog and waits; the chosen file, or an empty text when the user cancelled.
    QString choose();

private:
    // Outlives the dialog, whose file model asks it from a thread of its own until it ends.
    FileIconsByName m_icons;
    QFileDialog m_dialog;
};

} // namespace host::ui
