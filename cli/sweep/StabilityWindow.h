#pragma once
// Whether one channel has stayed within ± a tolerance of its own mean for a span of time. The
// readings of the last span are kept with a running sum and their running lowest and highest,
// so each reading costs the same however long the span and however fast the readings come.
#include <deque>
#include <utility>

class StabilityWindow {
public:
    StabilityWindow(double spanSeconds, double tolerance) : span_(spanSeconds), tolerance_(tolerance) {}

    void Add(double time, double value);
    // True once the readings reach back over the whole span and every one of them lies within
    // the tolerance of their mean.
    bool Stable() const;
    // A gap in the readings: stability is shown afresh.
    void Clear();

private:
    using Sample = std::pair<double, double>;  // time, value
    double span_;
    double tolerance_;
    std::deque<Sample> samples_;
    using Ranked = std::pair<long long, double>;  // the reading's number, value
    std::deque<Ranked> lowest_;   // rising values: the front is the lowest of the span
    std::deque<Ranked> highest_;  // falling values: the front is the highest
    long long added_ = 0;
    long long dropped_ = 0;
    double sum_ = 0;
    double first_ = 0;  // when the readings began
    bool any_ = false;
};

// The tolerance of a channel that reads in steps of its resolution: one step of it where the
// resolution is coarser than the window, so that a reading flickering between two codes settles.
double ChannelTolerance(double window, double resolution);
