#pragma once

#include <QFont>

namespace host::ui {

// The font of the module's windows: one that shows Chinese text. The font names the module
// asks for ("宋体" and its kin) are mapped onto an installed CJK font.
QFont uiFont(double pointSize = 9);
// The installed family that stands in for a font name the module asks for.
QString cjkFamily();

} // namespace host::ui
