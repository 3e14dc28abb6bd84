#pragma once
// The main window's position and size, stored per user in twips as text.
#include <QRectF>

namespace WindowSettings {

// Left, top, width and height in twips; the defaults for a missing or unreadable value.
QRectF LoadMainGeometry();
void SaveMainGeometry(const QRectF& twips);

constexpr double DefaultLeft = 1000;
constexpr double DefaultTop = 1000;
constexpr double DefaultWidth = 6500;
constexpr double DefaultHeight = 6500;

}  // namespace WindowSettings
