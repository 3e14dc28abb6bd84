#pragma once
// Events at a fixed rate on the program's clock: event k is due at the start + k × interval, so a
// late event delays only itself and a long run never drifts. An event more than an interval
// late takes the latest slot that is due, so a stall is not followed by a burst of events.
#include "state/ContinuousTime.h"

#include <cstdint>
#include <functional>

class FixedRateSchedule {
public:
    // Starts now, with event 0 due at once. An interval of 0 makes every event due at once.
    explicit FixedRateSchedule(double intervalSeconds);

    // Seconds since the start on the program's clock, rising across midnight.
    double Elapsed();
    // When the next event is due, in seconds since the start.
    double Due() const { return static_cast<double>(slot_) * interval_; }
    // Waits until the next event is due. Gives false as soon as stop says so; it is asked at
    // least every 50 ms.
    bool WaitForDue(const std::function<bool()>& stop = {});
    // The event in hand is done; the next one follows.
    void Next();

private:
    ContinuousTime time_;
    double start_ = 0;
    double interval_ = 0;
    int64_t slot_ = 0;
};
