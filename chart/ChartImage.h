#pragma once
// A chart as a picture, as it shows now: written to a PNG, PDF or SVG file, or as an image for
// the clipboard.
#include <QImage>
#include <QString>

class QCustomPlot;

// The file dialog's filter, one entry per format written.
extern const QString ChartImageFilter;

// The name with the suffix of the filter chosen in the dialog added, unless it already ends in
// the suffix of a format written.
QString ChartImageFileName(const QString& fileName, const QString& chosenFilter);

// Writes the chart in the format its suffix names. Either the whole file is written or nothing
// is: an existing file stays as it was when writing fails. Returns why it failed, or an empty text.
QString SaveChartImage(QCustomPlot& plot, const QString& fileName);

QImage ChartImage(QCustomPlot& plot);
