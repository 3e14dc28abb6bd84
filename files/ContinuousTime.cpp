#include "files/ContinuousTime.h"

#include <algorithm>

namespace {
constexpr double SecondsPerDay = 86400.0;
constexpr double HalfDay = SecondsPerDay / 2;
}  // namespace

double ContinuousTime::FromTimeOfDay(double seconds) {
    double time = seconds + offset_;
    if (started_ && time < last_) {
        if (last_ - time > HalfDay) {
            offset_ += SecondsPerDay;   // midnight has passed
        } else {
            // The clock was set back (a correction, the end of summer time): carry on from the
            // last reading, so the run stays in time order and nothing piles up at one place.
            offset_ += last_ - time;
        }
        time = std::max(seconds + offset_, last_);
    }
    started_ = true;
    last_ = time;
    return time;
}
