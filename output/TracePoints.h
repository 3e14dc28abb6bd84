#pragma once
// The points of one strip-chart trace, the newest Capacity() of them, with the minimum and maximum
// of every bucket of 2^k points kept at coarser levels as the points arrive. From these the chart
// draws any time span, however wide, with two points per pixel column: each column's exact lowest
// and highest value, so that a single-sample spike stays visible when the whole run is in view.
//
// Buckets are aligned to the count of points ever appended, so appending touches one bucket per
// level and the oldest points give way without recomputing anything. A bucket whose first point
// has given way is dropped with it. The levels take an eighth of the points' own memory.
#include <cstdint>
#include <deque>
#include <vector>

struct TracePoint {
    double key;     // rising from point to point
    double value;
};

// The lowest and highest value of some points; NaN values are passed over.
struct ValueSpan {
    double min;
    double max;
    bool IsEmpty() const { return !(min <= max); }
    void Add(double value) {
        if (value < min) min = value;
        if (value > max) max = value;
    }
    void Add(const ValueSpan& other) {
        if (other.min < min) min = other.min;
        if (other.max > max) max = other.max;
    }
};

class TracePoints {
public:
    static constexpr int FinestLevel = 4;    // buckets of 16 points: the levels cost 1/8 of the points
    static constexpr int CoarsestLevel = 20;   // buckets of about a million points

    explicit TracePoints(int capacity);

    // Keys must not fall (equal keys are kept in order).
    void Append(double key, double value);
    // The oldest points give way at once when the capacity falls below the count kept.
    void SetCapacity(int capacity);
    int Capacity() const { return capacity_; }

    int Size() const { return static_cast<int>(points_.size()); }
    bool IsEmpty() const { return points_.empty(); }
    const TracePoint& At(int index) const { return points_[index]; }   // 0 is the oldest kept
    // The first index whose key is not below (LowerBound) or is above (UpperBound) the key given.
    int LowerBound(double key) const;
    int UpperBound(double key) const;

    // The lowest and highest value of the points [from, to), exact, in about 2 * (levels + 16) steps.
    ValueSpan Span(int from, int to) const;

    // The points to draw for the keys [lower, upper] on a plot `columns` pixels wide: where the
    // span holds no more than two points a column, the points themselves; otherwise, for each
    // column (fixed multiples of the column width, so the columns stay put while the view scrolls),
    // its lowest and highest value, in the order the column's first and last points suggest, at
    // the keys of those points. One point beyond each end carries the line to the plot's edges.
    void Envelope(double lower, double upper, int columns, std::vector<TracePoint>& out) const;

    // The memory the points and the levels take.
    std::size_t Bytes() const;

private:
    static constexpr int LevelCount = CoarsestLevel - FinestLevel + 1;
    struct Level {
        std::deque<ValueSpan> buckets;
        std::int64_t first = 0;   // number of the front bucket, counted from the run's first point
    };
    // LowerBound among the points from `from` on, looked for near `guess` first.
    int LowerBoundNear(double key, int from, int guess) const;
    std::int64_t Oldest() const { return appended_ - static_cast<std::int64_t>(points_.size()); }
    void DropGivenWay();

    int capacity_;
    std::int64_t appended_ = 0;   // every point ever appended, the given-way ones included
    std::deque<TracePoint> points_;
    Level levels_[LevelCount];
};
