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

} // namespace host::ui
