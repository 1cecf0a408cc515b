#pragma once

#include <optional>

namespace host::ui {

// Window lengths of the module are in twips (1/1440 inch); widgets are placed in pixels of the
// primary screen.
int twipsPerPixelX();
int twipsPerPixelY();
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
int pixelsToTwipsX(int pixels);
int pixelsToTwipsY(int pixels);
// The narrowest column, in twips, a user reads a number in: four digits of the windows' 9-point
// type and the cell's margins. Only hiding a column takes it further out of sight.
inline constexpr double kReadableColumnTwips = 540;
// A column width in twips as it is shown and kept: one narrower than a readable column is
// raised to it; nothing for a width no screen shows (none, negative, wider than every screen).
std::optional<double> readableColumnWidth(double twips);

} // namespace host::ui
