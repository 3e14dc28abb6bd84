#pragma once
// What the chart's overlays call the traces and their values, and how they write them.
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QCPItemText;
class StripChart;

struct ChartLabels {
    QStringList names;   // one a trace; "Trace 1", "Trace 2", ... where none is given
    QString unit;        // of the values, e.g. "°C"

    QString Name(int trace) const;
    // A value as the overlays show it: two decimals and the unit, a dash for none.
    QString ValueText(double value) const;
};

// A text item of the overlay layer as the overlays draw it: dark text in a light box, placed in
// pixels of the chart, hidden until shown.
QCPItemText* NewOverlayText(StripChart& chart, bool fixedWidth = false);
// The font of the overlays' tables, whose columns line up.
QFont OverlayTableFont();
