#pragma once
// A trace over a dense span zig-zags within each pixel column from its lowest value to its highest
// and on to the next column: two strokes the height of the spread a column, which antialiased
// cost most of a redraw when the values spread over the plot. Such a column is filled instead,
// from the top to the bottom pixel row the strokes pass through (the same pixels, crisp), and
// only the rest of the line is stroked. A column is filled when it holds two points or more of
// the line and the line spans at least `minHeight` rows in it; a gentle slope, a lone step and a
// sparse line stay strokes, as they were.
// Filling a rectangle costs about as much a pixel row as a pixel, so neighbouring columns are
// filled together where their rows agree: a run whose values fill the plot's height is a few
// wide rectangles, not hundreds of one-pixel columns.
#include <QPointF>
#include <QRect>
#include <QVector>

#include <vector>

struct DenseColumns {
    std::vector<QRect> fills;   // in pixels; together they cover the filled columns, once
    std::vector<int> strokes;   // the segments (from point i to i + 1) that no fill covers
};

// For a line in pixels (x rising; a point with a coordinate that is not finite breaks it), over
// the pixel columns of `plot`.
DenseColumns FindDenseColumns(const QVector<QPointF>& line, const QRect& plot, double minHeight);
