#include "host/ui/form/busycursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace host::ui {

BusyCursor::BusyCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

} // namespace host::ui
