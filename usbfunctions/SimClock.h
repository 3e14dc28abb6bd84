#pragma once
// The simulated board's clock: monotonic and the same for every process on the computer, so
// that processes sharing one chip agree on when its conversions fall.
#include <chrono>
#include <cstdint>

namespace UsbSim {

using SimClock = std::chrono::steady_clock;

// A time as a plain number, for the state the processes share.
inline int64_t Ticks(SimClock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}
inline SimClock::time_point TimeAt(int64_t ticks) {
    return SimClock::time_point(std::chrono::duration_cast<SimClock::duration>(std::chrono::nanoseconds(ticks)));
}

}  // namespace UsbSim
