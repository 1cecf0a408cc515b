#include "host/ui/form/focuskeeper.h"

#include "host/ui/form/form.h"

#include <QAbstractItemView>

namespace host::ui {

FocusKeeper::FocusKeeper(QWidget &window) : m_window(&window), m_focus(controlFocusOf(window))
{
    if (const auto *view = qobject_cast<QAbstractItemView *>(m_focus.data())) {
        m_row = view->currentIndex().row();
        m_column = view->currentIndex().column();
    }
}

FocusKeeper::~FocusKeeper()
{
    // A window that closed, or that a longer spell keeps disabled, is left alone.
    if (!m_window || !m_focus || !m_window->isVisible() || !m_focus->isVisible() ||
        !m_focus->isEnabled())
        return;
    if (auto *view = qobject_cast<QAbstractItemView *>(m_focus.data());
        view && view->model() && !view->currentIndex().isValid()) {
        const QModelIndex cell = view->model()->index(m_row, m_column);
        if (cell.isValid())
            view->setCurrentIndex(cell);
    }
    // In a window that is not active, the widget takes the focus when the window is active
    // again.
    m_focus->setFocus(Qt::OtherFocusReason);
}

} // namespace host::ui
