#pragma once
// What the chart's overlays call the traces and their values, and how they write them.
#include "chart/OverlayText.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class ChartView;

// Two traces whose difference the overlays show beside them (remote − local: the diode's
// offset from the die, which a chamber engineer otherwise works out by hand).
struct TraceDifference {
    int minuend;
    int subtrahend;
};

struct ChartLabels {
    QStringList names;   // one a trace; "Trace 1", "Trace 2", ... where none is given
    QString unit;        // of the values, e.g. "°C"
    std::optional<TraceDifference> difference;

    QString Name(int trace) const;
    // "Remote1 − Local"; empty without a difference.
    QString DifferenceName() const;
    // The width the overlays' tables give the names of the rows, the difference's included.
    int NameWidth(int traceCount) const;
    // A value as the overlays show it: two decimals and the unit, a dash for none.
    QString ValueText(double value) const;
    // A rate of change per minute: "+0.75 °C/min", a dash for none.
    QString RateText(double perMinute) const;
};

// The overlays' layers, lowest first: lines across the plot and the readout's markers, then the
// boxes of text, then the readout's box, which follows the pointer over every other. So no line
// ever strikes through a box's text.
inline const QString GuidesLayer = QStringLiteral("guides");
inline const QString BoxesLayer = QStringLiteral("overlay");
inline const QString ReadoutLayer = QStringLiteral("readout");
// Adds the layers above the chart's own (once); all share the chart's one paint buffer, so each
// redraw clears and copies one picture, not three. Returns the chart.
ChartView& WithOverlayLayers(ChartView& chart);

// A text item of the overlay layer as the overlays draw it: dark text in a light box, placed in
// pixels of the chart, hidden until shown.
OverlayText* NewOverlayText(QCustomPlot& plot, bool fixedWidth = false);
// The font of the overlays' tables, whose columns line up.
QFont OverlayTableFont();
