#pragma once
// The points of one strip-chart trace, the newest Capacity() of them, with the minimum and maximum
// of every bucket of 2^k points kept at coarser levels as the points arrive. From these the chart
// draws any time span, however wide, with two points per pixel column: each column's exact lowest
// and highest value, so that a single-sample spike stays visible when the whole run is in view.
// Coarser buckets also keep the sum and the sum of squares of their values, from which the
// statistics of any span come without walking its points.
//
// Buckets are aligned to the count of points ever appended, so appending touches one bucket per
// level and the oldest points give way without recomputing anything. A bucket whose first point
// has given way is dropped with it.
//
// A finished run holds tens of millions of points, so a point is kept in 8 bytes: its value as a
// float (the chip's temperatures are floats already) and its key as a count of tenths of a
// millisecond from a base shared by a block of 256 points. Every key on a clock or in a file is a
// whole number of those ticks and comes back exactly; any other key comes back to the nearest
// tick. A key beyond the reach of its block's base (a gap of days within a block, a key too large
// for ticks or no number) is kept in a side table. The levels take about a sixth more.
#include "chart/BucketLevels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <utility>
#include <vector>

struct TracePoint {
    double key;     // rising from point to point
    double value;
};

// The lowest and highest value of some points; NaN values are passed over.
template <typename Number>
struct SpanOf {
    Number min = std::numeric_limits<Number>::infinity();
    Number max = -std::numeric_limits<Number>::infinity();
    bool IsEmpty() const { return !(min <= max); }
    void Add(Number value) {
        if (value < min) min = value;
        if (value > max) max = value;
    }
    void Add(const SpanOf& other) {
        if (other.min < min) min = other.min;
        if (other.max > max) max = other.max;
    }
};
using ValueSpan = SpanOf<double>;

// The sum and the sum of squares of some values; NaN values are passed over.
struct ValueSums {
    double sum = 0;
    double squares = 0;
    void Add(double value) {
        if (std::isnan(value)) return;
        sum += value;
        squares += value * value;
    }
    void Add(const ValueSums& other) {
        sum += other.sum;
        squares += other.squares;
    }
};

// The figures of the values of some points; NaN values are not counted.
struct PointStatistics {
    std::int64_t count = 0;
    double min = 0;
    double max = 0;
    double mean = 0;
    double deviation = 0;   // the standard deviation of the values themselves (not of a sample)

    // The figures of `count` values from their span and the sums of their distances from
    // `origin` (a value near them, so that the squares lose no digits).
    void Finish(double origin, const ValueSums& sums, const ValueSpan& span) {
        const double n = static_cast<double>(count);
        const double meanOffset = sums.sum / n;
        min = span.min;
        max = span.max;
        mean = origin + meanOffset;
        deviation = std::sqrt(std::max(0.0, sums.squares / n - meanOffset * meanOffset));
    }
};

class TracePoints {
public:
    // Spans (of the values as kept: floats) in buckets of 16 points up to about a million: they
    // cost an eighth of the points.
    using SpanLevels = BucketLevels<SpanOf<float>, 4, 20>;
    // Sums from buckets of 128 points on: they cost a sixty-fourth.
    using SumLevels = BucketLevels<ValueSums, 7, 20>;
    static constexpr int FinestLevel = SpanLevels::FinestLevel;
    static constexpr int CoarsestLevel = SpanLevels::CoarsestLevel;

    explicit TracePoints(int capacity);

    // Keys must not fall (equal keys are kept in order). The value is kept as a float.
    void Append(double key, double value);
    // The oldest points give way at once when the capacity falls below the count kept.
    void SetCapacity(int capacity);
    int Capacity() const { return capacity_; }

    int Size() const { return static_cast<int>(points_.size()); }
    bool IsEmpty() const { return points_.empty(); }
    TracePoint At(int index) const { return {KeyAt(index), points_[index].value}; }   // 0 is the oldest kept
    // The first index whose key is not below (LowerBound) or is above (UpperBound) the key given.
    int LowerBound(double key) const;
    int UpperBound(double key) const;

    // The point whose key is nearest to the key given (the first of equally near ones); -1 when
    // there are none.
    int Nearest(double key) const;

    // The lowest and highest value of the points [from, to), exact, in about 2 * (levels + 16) steps.
    ValueSpan Span(int from, int to) const;
    // The count, lowest, highest and mean value and the standard deviation of the points
    // [from, to), in about 2 * (levels + 128) steps.
    PointStatistics Statistics(int from, int to) const;

    // The points to draw for the keys [lower, upper] on a plot `columns` pixels wide: where the
    // span holds no more than two points a column, the points themselves; otherwise, for each
    // column (fixed multiples of the column width, so the columns stay put while the view scrolls),
    // its lowest and highest value, in the order the column's first and last points suggest, at
    // the keys of those points. One point beyond each end carries the line to the plot's edges.
    void Envelope(double lower, double upper, int columns, std::vector<TracePoint>& out) const;

    // The memory the points and the levels take.
    std::size_t Bytes() const;

private:
    // A point as kept: its key in ticks from its block's base (or NoTicks: the key is in
    // wholeKeys_), and its value.
    struct Kept {
        std::uint32_t ticks;
        float value;
    };
    static constexpr double TicksPerSecond = 1e4;
    static constexpr std::uint32_t NoTicks = std::numeric_limits<std::uint32_t>::max();
    static constexpr int BlockShift = 8;   // 256 points share a base

    double KeyAt(int index) const;
    // LowerBound among the points from `from` on, looked for near `guess` first.
    int LowerBoundNear(double key, int from, int guess) const;
    std::int64_t Oldest() const { return appended_ - static_cast<std::int64_t>(points_.size()); }
    void DropGivenWay();
    // How many points numbered [from, to) have no value.
    std::int64_t MissingIn(std::int64_t from, std::int64_t to) const;

    int capacity_;
    std::int64_t appended_ = 0;   // every point ever appended, the given-way ones included
    std::deque<Kept> points_;
    std::vector<std::int64_t> blockBases_;   // in ticks, for the blocks numbered firstBlock_ on
    std::int64_t firstBlock_ = 0;
    std::deque<std::pair<std::int64_t, double>> wholeKeys_;   // the numbers and keys of points kept whole
    SpanLevels spans_;
    SumLevels sums_;
    // Sums are kept of the values less the first value, so that the squares stay small and the
    // deviation exact to many digits.
    double origin_ = 0;
    bool hasOrigin_ = false;
    std::deque<std::int64_t> missing_;   // numbers of the kept points whose value is NaN
};
