#pragma once
// A strip chart's trace: a line graph that, over a span dense enough that its points are a
// column envelope (each pixel column's lowest and highest value), fills the columns the line
// zig-zags through instead of stroking each zig-zag (see DenseColumns). A redraw of a whole long
// run then costs about what the live chart's normal view does, and looks the same. Sparse
// spans, vector output (PDF, SVG) and the legend's icon are drawn as QCPGraph draws them.
#include <qcustomplot.h>

class TraceGraph : public QCPGraph {
    Q_OBJECT
public:
    using QCPGraph::QCPGraph;

    // Whether the points given stand for a span holding many points a pixel column.
    void SetCondensed(bool condensed) { condensed_ = condensed; }
    bool IsCondensed() const { return condensed_; }

    // The least height (pixel rows) of a column the line spans, for it to be filled: a shorter
    // one costs less stroked, antialiased, than filled on its own.
    static constexpr double MinFilledHeight = 16.0;

protected:
    void drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const override;

private:
    bool condensed_ = false;
};
