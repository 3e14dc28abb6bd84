#include "chart/DenseColumns.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct ColumnExtent {
    double top = std::numeric_limits<double>::infinity();
    double bottom = -std::numeric_limits<double>::infinity();
    int points = 0;
    void Add(double y1, double y2) {
        top = std::min({top, y1, y2});
        bottom = std::max({bottom, y1, y2});
    }
};

bool IsFinite(const QPointF& point) { return std::isfinite(point.x()) && std::isfinite(point.y()); }

// The rows each filled column covers, from a column on.
struct FilledRun {
    int column;                // of the first
    std::vector<int> tops;     // a column's rows: tops[i] to bottoms[i], inclusive
    std::vector<int> bottoms;
};

// Below this width a part of a run whose columns share no row is filled column by column.
constexpr int NarrowestSplit = 16;

// Covers the rows [top, bottom] of the columns [from, to) of a run: the rows they all share as
// one rectangle, then the rest above and below it, or halves of the run where they share none.
void CoverRows(const FilledRun& run, int from, int to, int top, int bottom, std::vector<QRect>& fills) {
    if (from >= to || top > bottom) return;
    int sharedTop = top;
    int sharedBottom = bottom;
    for (int i = from; i < to; ++i) {
        sharedTop = std::max(sharedTop, run.tops[i]);
        sharedBottom = std::min(sharedBottom, run.bottoms[i]);
    }
    if (sharedTop <= sharedBottom) {
        fills.emplace_back(run.column + from, sharedTop, to - from, sharedBottom - sharedTop + 1);
        CoverRows(run, from, to, top, sharedTop - 1, fills);
        CoverRows(run, from, to, sharedBottom + 1, bottom, fills);
    } else if (to - from == 1) {
        return;   // the column has no row here
    } else if (to - from <= NarrowestSplit) {
        for (int i = from; i < to; ++i) CoverRows(run, i, i + 1, top, bottom, fills);
    } else {
        const int middle = from + (to - from) / 2;
        CoverRows(run, from, middle, top, bottom, fills);
        CoverRows(run, middle, to, top, bottom, fills);
    }
}

}  // namespace

DenseColumns FindDenseColumns(const QVector<QPointF>& line, const QRect& plot, double minHeight) {
    DenseColumns dense;
    const int left = plot.left();
    const int columns = std::max(plot.width(), 0);
    // The column a point lies in, -1 outside the plot.
    const auto columnOf = [&](const QPointF& point) {
        const double column = std::floor(point.x()) - left;
        return column >= 0 && column < columns ? static_cast<int>(column) : -1;
    };
    std::vector<ColumnExtent> extents(columns);
    for (const QPointF& point : line) {
        if (!IsFinite(point)) continue;
        const int column = columnOf(point);
        if (column >= 0) ++extents[column].points;
    }
    // Each segment adds the rows it passes through in each column it crosses.
    for (int i = 0; i + 1 < line.size(); ++i) {
        QPointF a = line[i];
        QPointF b = line[i + 1];
        if (!IsFinite(a) || !IsFinite(b)) continue;
        if (b.x() < a.x()) std::swap(a, b);
        const double slope = b.x() > a.x() ? (b.y() - a.y()) / (b.x() - a.x()) : 0;
        const double first = std::max(std::floor(a.x()) - left, 0.0);
        const double last = std::min(std::floor(b.x()) - left, columns - 1.0);
        for (double column = first; column <= last; ++column) {
            const double from = std::max(a.x(), left + column);
            const double to = std::min(b.x(), left + column + 1);
            const bool vertical = b.x() == a.x();
            extents[static_cast<int>(column)].Add(vertical ? a.y() : a.y() + slope * (from - a.x()),
                                                  vertical ? b.y() : a.y() + slope * (to - a.x()));
        }
    }
    const auto isFilled = [&](int column) {
        return column >= 0 && extents[column].points >= 2 && extents[column].bottom - extents[column].top >= minHeight;
    };
    // Rows beyond the plot are clipped when drawn; bounding them keeps them in an int.
    const auto row = [&](double y) {
        return static_cast<int>(std::floor(std::clamp(y, plot.top() - 1.0, plot.bottom() + 1.0)));
    };
    FilledRun run;
    for (int column = 0; column <= columns; ++column) {
        if (column < columns && isFilled(column)) {
            if (run.tops.empty()) run.column = left + column;
            run.tops.push_back(row(extents[column].top));
            run.bottoms.push_back(row(extents[column].bottom));
        } else if (!run.tops.empty()) {
            const int count = static_cast<int>(run.tops.size());
            CoverRows(run, 0, count, *std::min_element(run.tops.begin(), run.tops.end()),
                      *std::max_element(run.bottoms.begin(), run.bottoms.end()), dense.fills);
            run.tops.clear();
            run.bottoms.clear();
        }
    }
    // A segment within a filled column, or between two filled neighbours, is covered by their fills.
    for (int i = 0; i + 1 < line.size(); ++i) {
        if (!IsFinite(line[i]) || !IsFinite(line[i + 1])) continue;
        const int a = columnOf(line[i]);
        const int b = columnOf(line[i + 1]);
        if (!(isFilled(a) && isFilled(b) && std::abs(a - b) <= 1)) dense.strokes.push_back(i);
    }
    return dense;
}
