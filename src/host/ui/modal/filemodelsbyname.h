#pragma once

#include "host/ui/modal/fileiconsbyname.h"

#include <QObject>

class QCoreApplication;
class QFileSystemModel;

namespace host::ui {

// While it lives, every file model of the program tells its files' types and icons by their
// names alone (see FileIconsByName): the models of the program's own file dialogs and those Qt's
// dialogs make for themselves, such as the print dialog's choice of an output file. A file
// dialog's model is given the provider before the dialog opens its first folder, any other model
// before it takes in what its thread listed. File dialogs are Qt's own, whose models can be
// reached.
//
// Made once, after the application and before any dialog, and kept until the dialogs are gone.
class FileModelsByName : public QObject
{
public:
    explicit FileModelsByName(QCoreApplication &application);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void adopt(QFileSystemModel &model);

    FileIconsByName m_icons;
};

} // namespace host::ui
