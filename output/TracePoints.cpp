#include "output/TracePoints.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr ValueSpan EmptySpan{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};

// The coarsest level whose bucket starts at the point numbered `at` and ends no later than `end`.
int LevelAt(std::int64_t at, std::int64_t end) {
    int level = at == 0 ? TracePoints::CoarsestLevel : std::min(__builtin_ctzll(at), TracePoints::CoarsestLevel);
    while (level > 0 && at + (std::int64_t{1} << level) > end) --level;
    return level;
}

}  // namespace

TracePoints::TracePoints(int capacity) : capacity_(std::max(1, capacity)) {}

void TracePoints::Append(double key, double value) {
    const std::int64_t at = appended_++;
    points_.push_back({key, value});
    for (int i = 0; i < LevelCount; ++i) {
        const int shift = FinestLevel + i;
        const std::int64_t bucket = at >> shift;
        Level& level = levels_[i];
        if (!level.buckets.empty() && level.first + static_cast<std::int64_t>(level.buckets.size()) - 1 == bucket) {
            level.buckets.back().Add(value);
        } else if ((at & ((std::int64_t{1} << shift) - 1)) == 0) {
            // A bucket begins only at its first point, so every bucket kept covers all its points.
            if (level.buckets.empty()) level.first = bucket;
            level.buckets.push_back(EmptySpan);
            level.buckets.back().Add(value);
        }
    }
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
    for (int i = 0; i < LevelCount; ++i) {
        Level& level = levels_[i];
        while (!level.buckets.empty() && (level.first << (FinestLevel + i)) < oldest) {
            level.buckets.pop_front();
            ++level.first;
        }
    }
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

ValueSpan TracePoints::Span(int from, int to) const {
    ValueSpan span = EmptySpan;
    const std::int64_t oldest = Oldest();
    std::int64_t at = oldest + std::max(from, 0);
    const std::int64_t end = oldest + std::min(to, Size());
    constexpr std::int64_t finest = std::int64_t{1} << FinestLevel;
    const auto addPoints = [&](std::int64_t until) {
        for (auto point = points_.begin() + (at - oldest); at < until; ++at, ++point) span.Add(point->value);
    };
    // The points before the first whole bucket, then the coarsest buckets that fit, then the rest.
    addPoints(std::min(end, (at + finest - 1) & ~(finest - 1)));
    while (at + finest <= end) {
        const int shift = LevelAt(at, end);
        const Level& level = levels_[shift - FinestLevel];
        span.Add(level.buckets[(at >> shift) - level.first]);
        at += std::int64_t{1} << shift;
    }
    addPoints(end);
    return span;
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
    std::size_t bytes = points_.size() * sizeof(TracePoint);
    for (const Level& level : levels_) bytes += level.buckets.size() * sizeof(ValueSpan);
    return bytes;
}
