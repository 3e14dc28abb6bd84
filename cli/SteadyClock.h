#pragma once
// The command-line program's clock: the time of day at the start, carried on by the system's
// steady clock, so that neither a clock correction nor the change to or from summer time
// stretches, shortens or stalls a monitor run or the wait for the board.
#include "state/Clock.h"

#include <chrono>

class SteadyClock : public GeneralStuff::Clock {
public:
    SteadyClock();
    double SecondsSinceMidnight() override;

private:
    std::chrono::steady_clock::time_point origin_;
    double originTimeOfDay_ = 0;
};
