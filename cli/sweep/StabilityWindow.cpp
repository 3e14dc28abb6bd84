#include "cli/sweep/StabilityWindow.h"

#include <algorithm>

namespace {
// A hair's allowance, so that a reading exactly on an edge of the span or of the tolerance
// counts as within it, whatever the sums of seconds and degrees round to.
constexpr double Hair = 1e-9;
// The slices of a span: its edge is kept to within a thousandth of it.
constexpr double Slices = 1000;
}  // namespace

StabilityWindow::StabilityWindow(double spanSeconds, double tolerance)
    : span_(spanSeconds), tolerance_(tolerance), width_(spanSeconds / Slices) {}

void StabilityWindow::CloseSlice() {
    const Slice& s = slices_.back();
    const int64_t number = opened_ - 1;
    while (!lowest_.empty() && lowest_.back().value >= s.low) lowest_.pop_back();
    lowest_.push_back({number, s.low});
    while (!highest_.empty() && highest_.back().value <= s.high) highest_.pop_back();
    highest_.push_back({number, s.high});
}

void StabilityWindow::Add(double time, double value) {
    if (slices_.empty()) first_ = time;
    if (slices_.empty() || time >= slices_.back().start + width_) {
        if (!slices_.empty()) CloseSlice();
        slices_.push_back({time, time, 0, 0, value, value});
        ++opened_;
    }
    Slice& s = slices_.back();
    s.last = time;
    s.sum += value;
    ++s.count;
    s.low = std::min(s.low, value);
    s.high = std::max(s.high, value);
    sum_ += value;
    ++count_;
    // The span ends at this reading; a slice wholly before its start goes.
    while (slices_.size() > 1 && slices_.front().last < time - span_ - Hair) {
        sum_ -= slices_.front().sum;
        count_ -= slices_.front().count;
        slices_.pop_front();
        ++dropped_;
        while (!lowest_.empty() && lowest_.front().slice < dropped_) lowest_.pop_front();
        while (!highest_.empty() && highest_.front().slice < dropped_) highest_.pop_front();
    }
}

bool StabilityWindow::Stable() const {
    if (slices_.empty() || slices_.back().last - first_ < span_ - Hair) return false;
    const double mean = sum_ / static_cast<double>(count_);
    double low = slices_.back().low;
    double high = slices_.back().high;
    if (!lowest_.empty()) low = std::min(low, lowest_.front().value);
    if (!highest_.empty()) high = std::max(high, highest_.front().value);
    const double edge = tolerance_ + Hair;
    return high - mean <= edge && mean - low <= edge;
}

void StabilityWindow::Clear() { *this = StabilityWindow(span_, tolerance_); }

double ChannelTolerance(double window, double resolution) { return std::max(window, resolution); }
