#include "host/ui/form/pendingedit.h"

#include <QWidget>

namespace host::ui {

bool endPendingEdit(QWidget &window)
{
    // The window's own focus child: a menu or a pop-up may hold the application's focus.
    for (QWidget *w = window.focusWidget(); w && w->window() == &window; w = w->parentWidget()) {
        if (auto *control = dynamic_cast<PendingEdit *>(w))
            return control->endEdit();
    }
    return true;
}

} // namespace host::ui
