#pragma once
// Window positions and sizes are designed in twips, 1440 to the inch; the screen's logical
// DPI turns them into pixels.
#include <QPoint>
#include <QRect>
#include <QSize>

int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);
QSize TwipsToPixels(double widthTwips, double heightTwips);
QRect TwipsRect(double left, double top, double width, double height);
