#include "ChamberModel.h"

#include <algorithm>
#include <cmath>

namespace UsbSim {

namespace {

double RampSeconds(const ChamberState& c) { return std::abs(c.setpoint - c.startAir) / c.ratePerSecond; }
double Slope(const ChamberState& c) { return c.setpoint >= c.startAir ? c.ratePerSecond : -c.ratePerSecond; }

uint64_t SplitMix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// In (0, 1], never 0, so that its logarithm is finite.
double Uniform(uint64_t bits) { return (double((bits >> 11) + 1)) / 9007199254740992.0; }

}  // namespace

double SecondsSinceChange(const ChamberState& chamber, SimClock::time_point at) {
    const double seconds = (Ticks(at) - chamber.changedAt) / 1e9;
    return std::max(0.0, seconds);  // another process's clock may lag this one's a little
}

double AirAfter(const ChamberState& c, double seconds) {
    if (seconds >= RampSeconds(c)) return c.setpoint;
    return c.startAir + Slope(c) * seconds;
}

// Toward a ramp x = a + s·t the lag settles at x − s·τ; past the ramp's end it decays toward
// the setpoint from where the ramp left it.
double LaggedAfter(const ChamberState& c, double start, double lag, double seconds) {
    if (lag <= 0) return AirAfter(c, seconds);
    const double s = Slope(c);
    auto onRamp = [&](double t) {
        return c.startAir + s * t - s * lag + (start - c.startAir + s * lag) * std::exp(-t / lag);
    };
    const double rampEnd = RampSeconds(c);
    if (seconds <= rampEnd) return onRamp(seconds);
    return c.setpoint + (onRamp(rampEnd) - c.setpoint) * std::exp(-(seconds - rampEnd) / lag);
}

double NoiseAt(int64_t ticks, int channel, double spread) {
    if (spread <= 0) return 0;
    const uint64_t seed = SplitMix(static_cast<uint64_t>(ticks) ^ (static_cast<uint64_t>(channel) << 56));
    const double u1 = Uniform(seed);
    const double u2 = Uniform(SplitMix(seed));
    return spread * std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

}  // namespace UsbSim
