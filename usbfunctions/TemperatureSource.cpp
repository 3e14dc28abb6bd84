#include "TemperatureSource.h"

#include <cmath>

namespace UsbSim {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A swing of the given amplitude and period in seconds.
double Wave(double amplitude, double period, double t) { return amplitude * std::sin(kTwoPi * t / period); }

}  // namespace

TemperatureSource::TemperatureSource(std::optional<double> fixedLocal, std::optional<double> fixedRemote,
                                     double phaseSeconds)
    : fixedLocal_(fixedLocal), fixedRemote_(fixedRemote), phase_(phaseSeconds) {}

double TemperatureSource::Local(double secondsSincePowerOn) const {
    if (fixedLocal_) return *fixedLocal_;
    const double t = secondsSincePowerOn + phase_;
    return 30.0 + Wave(2.0, 420.0, t) + Wave(0.8, 97.0, t);
}

double TemperatureSource::Remote(double secondsSincePowerOn) const {
    if (fixedRemote_) return *fixedRemote_;
    const double t = secondsSincePowerOn + phase_;
    return 40.0 + Wave(3.0, 300.0, t) + Wave(1.2, 71.0, t) + Wave(0.15, 13.0, t);
}

}  // namespace UsbSim
