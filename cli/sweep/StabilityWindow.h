#pragma once
// Whether one channel has stayed within ± a tolerance of its own mean for a span of time. The
// readings are kept in a fixed number of slices of the span, each with its sum, count, lowest
// and highest, and the slices' lowest and highest are followed as they come and go: each
// reading costs the same, and the memory stays the same, however long the span and however
// fast the readings come (at an interval of 0, millions in five minutes).
#include <cstdint>
#include <deque>

class StabilityWindow {
public:
    StabilityWindow(double spanSeconds, double tolerance);

    void Add(double time, double value);
    // True once the readings reach back over the whole span and every one of them lies within
    // the tolerance of their mean. The oldest slice may reach a slice's width further back.
    bool Stable() const;
    // A gap in the readings: stability is shown afresh.
    void Clear();

private:
    struct Slice {
        double start = 0;  // the time of its first reading
        double last = 0;   // the time of its last
        double sum = 0;
        int64_t count = 0;
        double low = 0;
        double high = 0;
    };
    struct Ranked {
        int64_t slice;  // its number since the start
        double value;
    };
    void CloseSlice();

    double span_;
    double tolerance_;
    double width_;
    std::deque<Slice> slices_;  // the back one is still filling
    std::deque<Ranked> lowest_;   // closed slices' lows, rising: the front is the lowest
    std::deque<Ranked> highest_;  // closed slices' highs, falling: the front is the highest
    int64_t opened_ = 0;          // slices opened since the start
    int64_t dropped_ = 0;         // slices dropped from the front
    double sum_ = 0;
    int64_t count_ = 0;
    double first_ = 0;  // when the readings began
};

// The tolerance of a channel that reads in steps of its resolution: one step of it where the
// resolution is coarser than the window, so that a reading flickering between two codes settles.
double ChannelTolerance(double window, double resolution);
