#include "chart/ChartImage.h"

#include "files/FileSafety.h"

#include <qcustomplot.h>
#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>
#ifdef KTS_CHART_SVG
#include <QSvgGenerator>
#endif

namespace {

enum class Format { Png, Pdf, Svg, Unknown };

Format FormatOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png")) return Format::Png;
    if (suffix == QLatin1String("pdf")) return Format::Pdf;
#ifdef KTS_CHART_SVG
    if (suffix == QLatin1String("svg")) return Format::Svg;
#endif
    return Format::Unknown;
}

// Vector output: no cached pixmaps, lines as lines.
bool DrawVectorised(QCustomPlot& plot, QPaintDevice& device) {
    QCPPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    plot.toPainter(&painter, plot.width(), plot.height());
    return painter.end();
}

bool Draw(QCustomPlot& plot, Format format, QIODevice& file) {
    switch (format) {
    case Format::Png:
        return ChartImage(plot).save(&file, "PNG");
    case Format::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setResolution(72);   // one point per pixel: the page is the chart's size
        pdf.setPageSize(QPageSize(QSizeF(plot.width(), plot.height()), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        return DrawVectorised(plot, pdf);
    }
    case Format::Svg: {
#ifdef KTS_CHART_SVG
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(plot.size());
        svg.setViewBox(QRect(QPoint(0, 0), plot.size()));
        return DrawVectorised(plot, svg);
#else
        return false;
#endif
    }
    case Format::Unknown:
        break;
    }
    return false;
}

}  // namespace

#ifdef KTS_CHART_SVG
const QString ChartImageFilter =
    QStringLiteral("PNG Image (*.png);;PDF Document (*.pdf);;SVG Image (*.svg)");
#else
// A build whose Qt has no SVG module writes the two other formats.
const QString ChartImageFilter = QStringLiteral("PNG Image (*.png);;PDF Document (*.pdf)");
#endif

QString ChartImageFileName(const QString& fileName, const QString& chosenFilter) {
    if (fileName.isEmpty() || FormatOf(fileName) != Format::Unknown) return fileName;
    const int star = chosenFilter.indexOf(QLatin1String("*."));
    const QString suffix = star < 0 ? QStringLiteral(".png") : chosenFilter.mid(star + 1, 4);
    return fileName + suffix;
}

QString SaveChartImage(QCustomPlot& plot, const QString& fileName) {
    const Format format = FormatOf(fileName);
#ifdef KTS_CHART_SVG
    if (format == Format::Unknown) return QStringLiteral("The name must end in .png, .pdf or .svg.");
#else
    if (format == Format::Unknown) return QStringLiteral("The name must end in .png or .pdf.");
#endif
    QBuffer picture;
    picture.open(QIODevice::WriteOnly);
    if (!Draw(plot, format, picture)) return QStringLiteral("The chart could not be drawn.");
    return GeneralStuff::ReplaceFileContents(fileName, picture.data());
}

QImage ChartImage(QCustomPlot& plot) { return plot.toPixmap().toImage(); }
