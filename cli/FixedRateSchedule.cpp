#include "cli/FixedRateSchedule.h"

#include "state/Clock.h"

#include <algorithm>
#include <cmath>

namespace {
// The longest single sleep, so a stop request is seen soon.
constexpr double LongestSleep = 0.05;
// Closer than this to the due moment counts as on time: the clock's own resolution.
constexpr double OnTime = 1e-6;
// The share of an interval an event may come late and still keep its slot: a busy system's
// usual delay in waking costs no reading, while a stall does not bring two readings close.
constexpr double LateAllowance = 0.1;
}  // namespace

FixedRateSchedule::FixedRateSchedule(int64_t intervalMs, std::optional<int64_t> endMs)
    : intervalMs_(std::max<int64_t>(intervalMs, 0)), endMs_(endMs) {
    start_ = time_.FromTimeOfDay(GeneralStuff::CurrentClock().SecondsSinceMidnight());
}

double FixedRateSchedule::Elapsed() {
    return time_.FromTimeOfDay(GeneralStuff::CurrentClock().SecondsSinceMidnight()) - start_;
}

void FixedRateSchedule::SkipMissedSlots() {
    if (intervalMs_ == 0) return;
    const double interval = static_cast<double>(intervalMs_) / 1000.0;
    const double elapsed = Elapsed();
    if (elapsed - Due() <= std::max(OnTime, LateAllowance * interval)) return;
    slot_ = static_cast<int64_t>(std::floor(elapsed / interval)) + 1;
}

bool FixedRateSchedule::PastEnd() {
    if (!endMs_) return false;
    const auto moment = intervalMs_ > 0 ? slot_ * intervalMs_ : static_cast<int64_t>(std::floor(Elapsed() * 1000));
    return moment >= *endMs_;
}

bool FixedRateSchedule::WaitForDue(const std::function<bool()>& stop) {
    for (;;) {
        if (stop && stop()) return false;
        SkipMissedSlots();
        if (PastEnd()) return false;
        const double wait = Due() - Elapsed();
        if (wait <= OnTime) return true;
        GeneralStuff::CurrentClock().Sleep(std::min(wait, LongestSleep));
    }
}

bool FixedRateSchedule::Ended() {
    SkipMissedSlots();
    return PastEnd();
}

void FixedRateSchedule::Next() {
    if (intervalMs_ > 0) ++slot_;
}
