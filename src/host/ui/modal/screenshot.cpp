#include "host/ui/modal/screenshot.h"

#include <QLayout>
#include <QPixmap>
#include <QWidget>

namespace host::ui {

bool saveScreenshot(QWidget &widget, const QString &file)
{
    widget.ensurePolished();
    if (QLayout *layout = widget.layout())
        layout->activate();
    return widget.grab().save(file, "PNG");
}

} // namespace host::ui
