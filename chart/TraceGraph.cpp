#include "chart/TraceGraph.h"

#include "chart/DenseColumns.h"

void TraceGraph::drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const {
    const QPen pen = painter->pen();
    const bool plain = pen.style() == Qt::SolidLine && pen.color().alpha() == 255 && pen.widthF() <= 1;
    if (!condensed_ || !plain || painter->modes().testFlag(QCPPainter::pmVectorized) || lineStyle() != lsLine) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    const DenseColumns dense = FindDenseColumns(lines, keyAxis()->axisRect()->rect(), MinFilledHeight);
    if (dense.fills.empty()) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    applyDefaultAntialiasingHint(painter);
    // The segments left to stroke, joined into polylines: one call a segment costs more than its pixels.
    for (std::size_t first = 0; first < dense.strokes.size();) {
        std::size_t last = first;
        while (last + 1 < dense.strokes.size() && dense.strokes[last + 1] == dense.strokes[last] + 1) ++last;
        painter->drawPolyline(lines.constData() + dense.strokes[first], static_cast<int>(last - first) + 2);
        first = last + 1;
    }
    // Whole pixels: antialiasing would only slow the filling down.
    painter->setAntialiasing(false);
    for (const QRect& fill : dense.fills) painter->fillRect(fill, pen.color());
}
