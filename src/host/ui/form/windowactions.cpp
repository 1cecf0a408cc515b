#include "host/ui/form/windowactions.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace host::ui {

QList<QAction *> windowActions(const QWidget &window)
{
    QList<QAction *> actions = window.actions();
    for (const QWidget *widget : window.findChildren<QWidget *>())
        actions += widget->actions();
    return actions;
}

QAction *shortcutCommand(const QWidget &window, const QKeyEvent &key)
{
    const QKeySequence pressed(
        QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, static_cast<Qt::Key>(key.key())));
    for (QAction *action : windowActions(window)) {
        if (action->isEnabled() && action->isVisible() &&
            action->shortcutContext() != Qt::WidgetShortcut &&
            action->shortcuts().contains(pressed))
            return action;
    }
    return nullptr;
}

} // namespace host::ui
