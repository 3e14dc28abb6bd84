#include "chart/TracePoints.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Keys up to 10^11 s, in ticks, stay well inside a double's whole numbers.
constexpr double MaxTickedKey = 1e11;
}  // namespace

TracePoints::TracePoints(int capacity) : capacity_(std::max(1, capacity)) {}

void TracePoints::Append(double key, double value) {
    const std::int64_t at = appended_++;
    const bool ticked = std::abs(key) < MaxTickedKey;   // false for NaN and infinity too
    const std::int64_t ticks = ticked ? std::llround(key * TicksPerSecond) : 0;
    if (blockBases_.empty()) firstBlock_ = at >> BlockShift;
    if (blockBases_.empty() || (at & ((std::int64_t{1} << BlockShift) - 1)) == 0) blockBases_.push_back(ticks);
    const std::int64_t offset = ticks - blockBases_.back();
    const auto kept = static_cast<float>(value);
    if (ticked && offset >= 0 && offset < NoTicks) {
        points_.push_back({static_cast<std::uint32_t>(offset), kept});
    } else {
        points_.push_back({NoTicks, kept});
        // Still to the tick, so that keys kept either way never fall.
        wholeKeys_.emplace_back(at, ticked ? static_cast<double>(ticks) / TicksPerSecond : key);
    }
    // From here on the value is the one kept, so that the levels agree with the points.
    value = kept;
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
    while (!wholeKeys_.empty() && wholeKeys_.front().first < oldest) wholeKeys_.pop_front();
    // Bases of blocks given way go in bulk, half of them at a time: a vector looks up faster.
    const std::int64_t givenWay = (oldest >> BlockShift) - firstBlock_;
    if (givenWay > 0 && givenWay >= static_cast<std::int64_t>(blockBases_.size()) / 2) {
        blockBases_.erase(blockBases_.begin(), blockBases_.begin() + givenWay);
        firstBlock_ += givenWay;
    }
}

double TracePoints::KeyAt(int index) const {
    const std::int64_t at = Oldest() + index;
    const Kept& point = points_[index];
    if (point.ticks != NoTicks) {
        // A division, not a multiplication by its inverse: a whole number of ticks then comes
        // back as the very double that its text reads as.
        return static_cast<double>(blockBases_[(at >> BlockShift) - firstBlock_] + point.ticks) / TicksPerSecond;
    }
    const auto whole = std::lower_bound(wholeKeys_.begin(), wholeKeys_.end(), at,
                                        [](const std::pair<std::int64_t, double>& kept, std::int64_t number) {
                                            return kept.first < number;
                                        });
    return whole->second;
}

std::int64_t TracePoints::MissingIn(std::int64_t from, std::int64_t to) const {
    return std::lower_bound(missing_.begin(), missing_.end(), to) - std::lower_bound(missing_.begin(), missing_.end(), from);
}

int TracePoints::LowerBound(double key) const {
    int low = 0;
    int high = Size();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (KeyAt(middle) < key) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

int TracePoints::UpperBound(double key) const {
    int low = 0;
    int high = Size();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (key < KeyAt(middle)) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

int TracePoints::LowerBoundNear(double key, int from, int guess) const {
    // Widen a bracket (low, high] around the guess step by doubling step, then halve it.
    const int size = Size();
    guess = std::clamp(guess, from, size);
    int low = guess - 1;
    int high = guess;
    int step = 1;
    if (guess < size && KeyAt(guess) < key) {
        low = guess;
        high = guess + 1;
        while (high < size && KeyAt(high) < key) {
            low = high;
            high = low + (step *= 2);
        }
        high = std::min(high, size);
    } else {
        while (low >= from && KeyAt(low) >= key) {
            high = low;
            low = high - (step *= 2);
        }
        low = std::max(low, from - 1);
    }
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        (KeyAt(middle) < key ? low : high) = middle;
    }
    return high;
}

int TracePoints::Nearest(double key) const {
    if (points_.empty()) return -1;
    const int after = LowerBound(key);
    if (after == 0) return 0;
    if (after == Size()) return after - 1;
    return key - KeyAt(after - 1) <= KeyAt(after) - key ? after - 1 : after;
}

ValueSpan TracePoints::Span(int from, int to) const {
    SpanOf<float> span;
    const std::int64_t oldest = Oldest();
    spans_.Sum(oldest + std::max(from, 0), oldest + std::min(to, Size()), span, [&](std::int64_t at, std::int64_t end) {
        for (auto point = points_.begin() + (at - oldest); at < end; ++at, ++point) span.Add(point->value);
    });
    return {span.min, span.max};
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
        for (auto point = points_.begin() + (at - oldest); at < end; ++at, ++point) sums.Add(static_cast<double>(point->value) - origin_);
    });
    figures.Finish(origin_, sums, Span(from, to));
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
        for (int i = before; i < after; ++i) out.push_back(At(i));
        return;
    }
    if (before < begin) out.push_back(At(before));
    int from = begin;
    int previousCount = (end - begin) / columnCount;   // the next column likely holds as many
    for (int column = 1; column <= columnCount && from < end; ++column) {
        const int to = LowerBoundNear((firstColumn + column) * width, from, from + previousCount);
        previousCount = to - from;
        if (to == from) continue;
        const TracePoint first = At(from);
        const TracePoint last = At(to - 1);
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
    if (end < after) out.push_back(At(end));
}

std::size_t TracePoints::Bytes() const {
    return points_.size() * sizeof(Kept) + blockBases_.capacity() * sizeof(std::int64_t) +
           wholeKeys_.size() * sizeof(wholeKeys_.front()) + spans_.Bytes() + sums_.Bytes() +
           missing_.size() * sizeof(std::int64_t);
}
