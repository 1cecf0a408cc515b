#pragma once

namespace host::ui {

// Window lengths of the module are in twips (1/1440 inch); widgets are placed in pixels of the
// primary screen.
int twipsPerPixelX();
int twipsPerPixelY();
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
int pixelsToTwipsX(int pixels);
int pixelsToTwipsY(int pixels);
// A column width in twips that a screen can show: at least a pixel, at most the widest screen.
bool isShowableWidth(double twips);

} // namespace host::ui
