#pragma once

#include <QList>

class QAction;
class QKeyEvent;
class QWidget;

namespace host::ui {

// The actions of a window's menus and tool bars. Tool bar actions belong to no window; the
// widgets that show them list them.
QList<QAction *> windowActions(const QWidget &window);
// The enabled command of the window whose shortcut the key is, nullptr when none is. Tools,
// whose keys the tool bar's key handler runs, are not.
QAction *shortcutCommand(const QWidget &window, const QKeyEvent &key);

} // namespace host::ui
