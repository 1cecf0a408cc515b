#pragma once

#include <QString>

class QWidget;

namespace host::ui {

// Renders the widget, laid out at its current size, into a PNG file; false when the file
// could not be written.
bool saveScreenshot(QWidget &widget, const QString &file);

} // namespace host::ui
