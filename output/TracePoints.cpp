#include "output/TracePoints.h"

#include <algorithm>
#include <cmath>
#include <limits>

TracePoints::TracePoints(int capacity) : capacity_(std::max(1, capacity)) {}

void TracePoints::Append(double key, double value) {
    const std::int64_t at = appended_++;
    points_.push_back({key, value});
    spans_.Append(at, value);
    if (std::isnan(value)) {
        missing_.push_back(at);
    } else if (!hasOrigin_) {
        origin_ = value;
        hasOrigin_ = true;
    }
    sums_.Append(at, value - origin_);
    DropGivenWay();
}

void TracePoints::SetCapacity(int capacity) {
    capacity_ = std::max(1, capacity);
    DropGivenWay();
}

void TracePoints::DropGivenWay() {
    if (Size() <= capacity_) return;
    points_.erase(points_.begin(), points_.begin() + (Size() - capacity_));
    const std::int64_t oldest = Oldest();
    spans_.DropBefore(oldest);
    sums_.DropBefore(oldest);
    while (!missing_.empty() && missing_.front() < oldest) missing_.pop_front();
}

std::int64_t TracePoints::MissingIn(std::int64_t from, std::int64_t to) const {
    return std::lower_bound(missing_.begin(), missing_.end(), to) - std::lower_bound(missing_.begin(), missing_.end(), from);
}

int TracePoints::LowerBound(double key) const {
    const auto found = std::lower_bound(points_.begin(), points_.end(), key,
                                        [](const TracePoint& point, double k) { return point.key < k; });
    return static_cast<int>(found - points_.begin());
}

int TracePoints::UpperBound(double key) const {
    const auto found = std::upper_bound(points_.begin(), points_.end(), key,
                                        [](double k, const TracePoint& point) { return k < point.key; });
    return static_cast<int>(found - points_.begin());
}

int TracePoints::LowerBoundNear(double key, int from, int guess) const {
    // Widen a bracket (low, high] around the guess step by doubling step, then halve it.
    const int size = Size();
    guess = std::clamp(guess, from, size);
    int low = guess - 1;
    int high = guess;
    int step = 1;
    if (guess < size && points_[guess].key < key) {
        low = guess;
        high = guess + 1;
        while (high < size && points_[high].key < key) {
            low = high;
            high = low + (step *= 2);
        }
        high = std::min(high, size);
    } else {
        while (low >= from && points_[low].key >= key) {
            high = low;
            low = high - (step *= 2);
        }
        low = std::max(low, from - 1);
    }
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        (points_[middle].key < key ? low : high) = middle;
    }
    return high;
}

int TracePoints::Nearest(double key) const {
    if (points_.empty()) return -1;
    const int after = LowerBound(key);
    if (after == 0) return 0;
    if (after == Size()) return after - 1;
    return key - points_[after - 1].key <= points_[after].key - key ? after - 1 : after;
}

ValueSpan TracePoints::Span(int from, int to) const {
    ValueSpan span;
    const std::int64_t oldest = Oldest();
    spans_.Sum(oldest + std::max(from, 0), oldest + std::min(to, Size()), span, [&](std::int64_t at, std::int64_t end) {
        for (auto point = points_.begin() + (at - oldest); at < end; ++at, ++point) span.Add(point->value);
    });
    return span;
}

PointStatistics TracePoints::Statistics(int from, int to) const {
    from = std::max(from, 0);
    to = std::min(to, Size());
    PointStatistics figures;
    if (from >= to) return figures;
    const std::int64_t oldest = Oldest();
    figures.count = (to - from) - MissingIn(oldest + from, oldest + to);
    if (figures.count == 0) return figures;
    ValueSums sums;
    sums_.Sum(oldest + from, oldest + to, sums, [&](std::int64_t at, std::int64_t end) {
        for (auto point = points_.begin() + (at - oldest); at < end; ++at, ++point) sums.Add(point->value - origin_);
    });
    const ValueSpan span = Span(from, to);
    const double count = static_cast<double>(figures.count);
    const double meanOffset = sums.sum / count;
    figures.min = span.min;
    figures.max = span.max;
    figures.mean = origin_ + meanOffset;
    figures.deviation = std::sqrt(std::max(0.0, sums.squares / count - meanOffset * meanOffset));
    return figures;
}

void TracePoints::Envelope(double lower, double upper, int columns, std::vector<TracePoint>& out) const {
    out.clear();
    if (points_.empty() || columns <= 0 || !(lower < upper)) return;
    const double width = (upper - lower) / columns;
    const double firstColumn = std::floor(lower / width);
    const int columnCount = static_cast<int>(std::floor(upper / width) - firstColumn) + 1;
    const int begin = LowerBound(firstColumn * width);
    const int end = LowerBound((firstColumn + columnCount) * width);
    const int before = std::max(begin - 1, 0);
    const int after = std::min(end + 1, Size());
    if (end - begin <= 2 * columnCount) {
        for (int i = before; i < after; ++i) out.push_back(points_[i]);
        return;
    }
    if (before < begin) out.push_back(points_[before]);
    int from = begin;
    int previousCount = (end - begin) / columnCount;   // the next column likely holds as many
    for (int column = 1; column <= columnCount && from < end; ++column) {
        const int to = LowerBoundNear((firstColumn + column) * width, from, from + previousCount);
        previousCount = to - from;
        if (to == from) continue;
        const TracePoint& first = points_[from];
        const TracePoint& last = points_[to - 1];
        const ValueSpan span = Span(from, to);
        if (to - from == 1 || span.IsEmpty()) {
            out.push_back(first);   // a lone point, or a gap in the line
        } else if (first.value <= last.value) {
            out.push_back({first.key, span.min});
            out.push_back({last.key, span.max});
        } else {
            out.push_back({first.key, span.max});
            out.push_back({last.key, span.min});
        }
        from = to;
    }
    if (end < after) out.push_back(points_[end]);
}

std::size_t TracePoints::Bytes() const {
    return points_.size() * sizeof(TracePoint) + spans_.Bytes() + sums_.Bytes() + missing_.size() * sizeof(std::int64_t);
}
