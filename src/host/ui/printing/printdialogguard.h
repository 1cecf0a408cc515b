#pragma once

#include <QObject>

class QCoreApplication;
class QPrintDialog;

namespace host::ui {

// While it lives, every print dialog of the program, the one the print preview opens for itself
// too, checks the file to print into before Qt's own check opens it: a pipe or a device would
// keep that waiting for a reader or be written into, and a file of the database would lose the
// locks the program holds on it. A file that cannot be written is refused with the reason the
// printing itself would give, the dialog staying open; any other goes on to Qt's checks.
//
// Made once, after the application and before any dialog.
class PrintDialogGuard : public QObject
{
public:
    explicit PrintDialogGuard(QCoreApplication &application);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void adopt(QPrintDialog &dialog);
};

} // namespace host::ui
