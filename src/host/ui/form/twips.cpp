#include "host/ui/form/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace host::ui {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;
constexpr int kFallbackScreenWidth = 1920;

double dpi(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return kFallbackDpi;
    const double value = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return value > 0 ? value : kFallbackDpi;
}

} // namespace

int twipsPerPixelX()
{
    return static_cast<int>(std::lround(kTwipsPerInch / dpi(true)));
}

int twipsPerPixelY()
{
    return static_cast<int>(std::lround(kTwipsPerInch / dpi(false)));
}

int twipsToPixelsX(double twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelX()));
}

int twipsToPixelsY(double twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelY()));
}

int pixelsToTwipsX(int pixels)
{
    return pixels * twipsPerPixelX();
}

int pixelsToTwipsY(int pixels)
{
    return pixels * twipsPerPixelY();
}

std::optional<double> readableColumnWidth(double twips)
{
    int widest = 0;
    for (const QScreen *screen : QGuiApplication::screens())
        widest = std::max(widest, screen->geometry().width());
    if (widest == 0)
        widest = kFallbackScreenWidth;
    const double pixels = twips / twipsPerPixelX();
    if (!std::isfinite(pixels) || pixels <= 0 || pixels > widest)
        return std::nullopt;
    return std::max(twips, kReadableColumnTwips);
}

} // namespace host::ui
