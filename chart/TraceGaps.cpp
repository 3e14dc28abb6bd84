#include "chart/TraceGaps.h"

#include <algorithm>
#include <cmath>
#include <limits>

void ReadingInterval::Add(double spacing) {
    if (!(spacing > 0) || !std::isfinite(spacing)) return;   // equal times, or a clock set back
    if (seen_++ % stride_ != 0) return;
    sample_.push_back(spacing);
    stale_ = true;
    if (sample_.size() < MaxSample) return;
    // Every second one goes; the sampling halves so that the whole run stays evenly sampled.
    for (std::size_t i = 0; 2 * i < sample_.size(); ++i) sample_[i] = sample_[2 * i];
    sample_.resize(sample_.size() / 2);
    stride_ *= 2;
}

double ReadingInterval::Typical() const {
    if (stale_) {
        std::vector<double> sorted = sample_;
        const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
        std::nth_element(sorted.begin(), middle, sorted.end());
        typical_ = *middle;
        stale_ = false;
    }
    return typical_;
}

void BreakAtGaps(std::vector<TracePoint>& points, double longest, double columnWidth) {
    if (!(longest > 0) || points.size() < 2) return;
    std::size_t breaks = 0;
    const auto isGap = [&](const TracePoint& a, const TracePoint& b) {
        return b.key - a.key > longest && std::floor(a.key / columnWidth) != std::floor(b.key / columnWidth);
    };
    for (std::size_t i = 1; i < points.size(); ++i) breaks += isGap(points[i - 1], points[i]);
    if (breaks == 0) return;
    // From the back, each point moved once to its place.
    const std::size_t oldSize = points.size();
    points.resize(oldSize + breaks);
    std::size_t to = points.size();
    for (std::size_t from = oldSize; from-- > 0;) {
        points[--to] = points[from];
        if (from > 0 && isGap(points[from - 1], points[from])) {
            const double middle = (points[from - 1].key + points[from].key) / 2;
            points[--to] = {middle, std::numeric_limits<double>::quiet_NaN()};
        }
    }
}
