#pragma once
// A loose cable given in time (KTS_SIM_FAIL_AT): the board stops answering at moments after
// its power-on, for KTS_SIM_FAIL_FOR or for good. Kept in the board's shared state, so every
// program on the board meets the same failure at the same moment.
#include "BoardState.h"
#include "SimClock.h"

#include <optional>
#include <vector>

namespace UsbSim {

void ScheduleFailures(LooseCableState& cable, const std::vector<double>& seconds, std::optional<long long> lastsForMs);

struct CableFailure {
    double startedAfterSeconds;                // after the board's power-on
    std::optional<SimClock::time_point> ends;  // none: for good
};

// The failure under way at now, if any.
std::optional<CableFailure> FailureAt(const BoardState& board, SimClock::time_point now);

}  // namespace UsbSim
