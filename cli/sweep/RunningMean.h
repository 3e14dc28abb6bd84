#pragma once
// The mean and the sample standard deviation of a channel's readings, taken one at a time
// (Welford's way, which stays exact over long recordings).
#include <cmath>
#include <cstdint>

class RunningMean {
public:
    void Add(double value) {
        ++count_;
        const double delta = value - mean_;
        mean_ += delta / static_cast<double>(count_);
        squares_ += delta * (value - mean_);
    }
    int64_t Count() const { return count_; }
    double Mean() const { return mean_; }
    double Deviation() const { return count_ > 1 ? std::sqrt(squares_ / static_cast<double>(count_ - 1)) : 0.0; }

private:
    int64_t count_ = 0;
    double mean_ = 0;
    double squares_ = 0;
};
