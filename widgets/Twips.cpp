#include "widgets/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
constexpr double TwipsPerInch = 1440.0;

double DpiX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}
double DpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}
}  // namespace

int TwipsToPixelsX(double twips) { return static_cast<int>(std::lround(twips * DpiX() / TwipsPerInch)); }
int TwipsToPixelsY(double twips) { return static_cast<int>(std::lround(twips * DpiY() / TwipsPerInch)); }
double PixelsToTwipsX(int pixels) { return pixels * TwipsPerInch / DpiX(); }
double PixelsToTwipsY(int pixels) { return pixels * TwipsPerInch / DpiY(); }

QSize TwipsToPixels(double widthTwips, double heightTwips) {
    return {TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips)};
}

QRect TwipsRect(double left, double top, double width, double height) {
    return {TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height)};
}
