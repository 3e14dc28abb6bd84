#pragma once
// Events at a fixed rate on the program's clock: event k is due at the start + k × interval, so a
// long run never drifts. An event a little late (under a tenth of an interval) delays only
// itself; one later than that gives up its slot, and the next event comes at the next slot that
// lies in the future, so a stall is followed neither by a burst nor by two events closer than
// an interval.
#include "files/ContinuousTime.h"

#include <cstdint>
#include <functional>
#include <optional>

class FixedRateSchedule {
public:
    // Starts now, with event 0 due at once. An interval of 0 makes every event due at once. With
    // an end, an event is taken only while its moment lies before it: slot k while
    // k × interval < end, in whole milliseconds (with an interval of 0, while the time elapsed is).
    explicit FixedRateSchedule(int64_t intervalMs, std::optional<int64_t> endMs = std::nullopt);

    // Seconds since the start on the program's clock, rising across midnight.
    double Elapsed();
    // When the next event is due, in seconds since the start.
    double Due() const { return static_cast<double>(slot_ * intervalMs_) / 1000.0; }
    // Waits until the next event is due. Gives false as soon as stop says so (it is asked at
    // least every 50 ms), or when the next event would lie at or past the end.
    bool WaitForDue(const std::function<bool()>& stop = {});
    // True when the next event would lie at or past the end (a run that takes no events for a
    // while, such as one waiting for its board, asks this instead of waiting).
    bool Ended();
    // The event in hand is done; the next one follows.
    void Next();

private:
    void SkipMissedSlots();
    bool PastEnd();

    ContinuousTime time_;
    double start_ = 0;
    int64_t intervalMs_ = 0;
    std::optional<int64_t> endMs_;
    int64_t slot_ = 0;
};
