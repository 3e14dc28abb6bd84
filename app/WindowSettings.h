#pragma once
// The main window's position and size, stored per user in twips as text.
#include <QList>
#include <QRect>
#include <QRectF>

namespace WindowSettings {

// Left, top, width and height in twips; the defaults for a missing or unreadable value.
QRectF LoadMainGeometry();
void SaveMainGeometry(const QRectF& twips);

// The restored window (pixels) on screens with the given available areas. A window whose
// title bar would lie off every screen, or that has no size, takes the fallback's place; one
// larger than its screen is cut to it, and its title bar is kept on that screen.
QRect FitOnScreens(const QRect& window, const QList<QRect>& areas, const QRect& fallback);

constexpr double DefaultLeft = 1000;
constexpr double DefaultTop = 1000;
constexpr double DefaultWidth = 6500;
constexpr double DefaultHeight = 6500;

}  // namespace WindowSettings
