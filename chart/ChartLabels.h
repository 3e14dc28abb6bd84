#pragma once
// What the chart's overlays call the traces and their values, and how they write them.
#include "chart/OverlayText.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class ChartView;

struct ChartLabels {
    QStringList names;   // one a trace; "Trace 1", "Trace 2", ... where none is given
    QString unit;        // of the values, e.g. "°C"

    QString Name(int trace) const;
    // A value as the overlays show it: two decimals and the unit, a dash for none.
    QString ValueText(double value) const;
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
