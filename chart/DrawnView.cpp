#include "chart/DrawnView.h"

#include <qcustomplot.h>
#include <cmath>

void DrawnView::Record(const QCPAxis& time, const QCPAxis& values, int columns, const std::vector<TracePoints>& traces) {
    recorded_ = true;
    lower_ = time.range().lower;
    upper_ = time.range().upper;
    columnWidth_ = (upper_ - lower_) / std::max(columns, 1);
    valueLower_ = values.range().lower;
    valueUpper_ = values.range().upper;
    newest_.assign(traces.size(), NewestColumn{});
    for (std::size_t i = 0; i < traces.size(); ++i) {
        const TracePoints& points = traces[i];
        if (points.IsEmpty()) continue;
        NewestColumn& newest = newest_[i];
        newest.column = std::floor(points.At(points.Size() - 1).key / columnWidth_);
        const ValueSpan span = points.Span(points.LowerBound(newest.column * columnWidth_), points.Size());
        if (span.IsEmpty()) continue;
        // Pixel rows grow downwards: the highest value has the top row.
        newest.topRow = std::round(values.coordToPixel(span.max));
        newest.bottomRow = std::round(values.coordToPixel(span.min));
    }
}

bool DrawnView::Changed(const QCPAxis& time, const QCPAxis& values, int trace, double key, double value) const {
    if (!recorded_ || trace < 0 || trace >= static_cast<int>(newest_.size())) return true;
    const QCPRange range = time.range();
    if (std::abs(range.lower - lower_) >= columnWidth_ || std::abs(range.upper - upper_) >= columnWidth_) return true;
    if (values.range().lower != valueLower_ || values.range().upper != valueUpper_) return true;
    if (key < range.lower - columnWidth_ || key > range.upper + columnWidth_) return false;   // out of view
    const NewestColumn& newest = newest_[trace];
    if (std::floor(key / columnWidth_) != newest.column) return true;
    if (std::isnan(value)) return false;
    const double row = std::round(values.coordToPixel(value));
    return row < newest.topRow || row > newest.bottomRow;
}
