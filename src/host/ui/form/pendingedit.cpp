#include "host/ui/form/pendingedit.h"

#include "host/ui/form/form.h"

#include <QWidget>

namespace host::ui {

bool endPendingEdit(QWidget &window)
{
    // The window's own control: a menu or a pop-up may hold the application's focus, and the
    // menu bar walked by keys the window's.
    for (QWidget *w = controlFocusOf(window); w && w->window() == &window; w = w->parentWidget()) {
        if (auto *control = dynamic_cast<PendingEdit *>(w))
            return control->endEdit();
    }
    return true;
}

} // namespace host::ui
