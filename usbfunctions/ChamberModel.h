#pragma once
// The chamber in closed form over the time since its last setpoint change: the air ramps
// toward the setpoint at the chamber's rate and holds it; a channel follows the air with a
// first-order lag. Computed afresh from the stored change at every call, never stepped, so
// that two processes asking at the same moment get the same temperatures.
#include "BoardState.h"
#include "SimClock.h"

namespace UsbSim {

double SecondsSinceChange(const ChamberState& chamber, SimClock::time_point at);
double AirAfter(const ChamberState& chamber, double seconds);
// A channel that read start at the change and lags the air by lagSeconds (0: none).
double LaggedAfter(const ChamberState& chamber, double start, double lagSeconds, double seconds);

// Reading errors of a channel: OFFSET + GAIN × (T − 25).
struct ChannelError {
    double offset = 0;
    double gain = 0;
    double At(double celsius) const { return offset + gain * (celsius - 25.0); }
};

// Gaussian noise of the given spread, drawn from the conversion's time and the channel alone,
// so that every process reads the same conversion alike.
double NoiseAt(int64_t ticks, int channel, double spread);

}  // namespace UsbSim
