#include "cli/FixedRateSchedule.h"

#include "state/Clock.h"

#include <algorithm>
#include <cmath>

namespace {
// The longest single sleep, so a stop request is seen soon.
constexpr double LongestSleep = 0.05;
// Closer than this to the due moment counts as on time: the clock's own resolution.
constexpr double OnTime = 1e-6;
}  // namespace

FixedRateSchedule::FixedRateSchedule(double intervalSeconds) : interval_(intervalSeconds) {
    start_ = time_.FromTimeOfDay(GeneralStuff::CurrentClock().SecondsSinceMidnight());
}

double FixedRateSchedule::Elapsed() {
    return time_.FromTimeOfDay(GeneralStuff::CurrentClock().SecondsSinceMidnight()) - start_;
}

bool FixedRateSchedule::WaitForDue(const std::function<bool()>& stop) {
    for (;;) {
        if (stop && stop()) return false;
        const double wait = Due() - Elapsed();
        if (wait <= OnTime) return true;
        GeneralStuff::CurrentClock().Sleep(std::min(wait, LongestSleep));
    }
}

void FixedRateSchedule::Next() {
    if (interval_ <= 0) return;
    // The small allowance keeps an event that ends exactly on a slot from skipping it through
    // rounding.
    const auto latestDue = static_cast<int64_t>(std::floor(Elapsed() / interval_ + 1e-9));
    slot_ = std::max(slot_ + 1, latestDue);
}
