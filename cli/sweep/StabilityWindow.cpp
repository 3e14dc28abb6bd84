#include "cli/sweep/StabilityWindow.h"

#include <algorithm>

namespace {
// A hair's allowance, so that a reading exactly on an edge of the span or of the tolerance
// counts as within it, whatever the sums of seconds and degrees round to.
constexpr double Hair = 1e-9;
}  // namespace

void StabilityWindow::Add(double time, double value) {
    if (!any_) first_ = time;
    any_ = true;
    samples_.emplace_back(time, value);
    sum_ += value;
    while (!lowest_.empty() && lowest_.back().second >= value) lowest_.pop_back();
    lowest_.emplace_back(added_, value);
    while (!highest_.empty() && highest_.back().second <= value) highest_.pop_back();
    highest_.emplace_back(added_, value);
    ++added_;
    // The span ends at this reading and starts span seconds before it.
    const double start = time - span_ - Hair;
    while (samples_.size() > 1 && samples_.front().first < start) {
        sum_ -= samples_.front().second;
        samples_.pop_front();
        ++dropped_;
        if (lowest_.front().first < dropped_) lowest_.pop_front();
        if (highest_.front().first < dropped_) highest_.pop_front();
    }
}

bool StabilityWindow::Stable() const {
    if (!any_ || samples_.back().first - first_ < span_ - Hair) return false;
    const double mean = sum_ / static_cast<double>(samples_.size());
    const double edge = tolerance_ + Hair;
    return highest_.front().second - mean <= edge && mean - lowest_.front().second <= edge;
}

void StabilityWindow::Clear() {
    samples_.clear();
    lowest_.clear();
    highest_.clear();
    sum_ = 0;
    added_ = dropped_ = 0;
    any_ = false;
}

double ChannelTolerance(double window, double resolution) { return std::max(window, resolution); }
