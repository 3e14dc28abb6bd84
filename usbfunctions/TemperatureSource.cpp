#include "TemperatureSource.h"

#include <cmath>

namespace UsbSim {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A swing of the given amplitude and period in seconds.
double Wave(double amplitude, double period, double t) { return amplitude * std::sin(kTwoPi * t / period); }

double Seconds(SimClock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

TemperatureSource::TemperatureSource(std::optional<double> fixedLocal, std::optional<double> fixedRemote,
                                     double phaseSeconds, std::optional<ProfileRun> profile)
    : fixedLocal_(fixedLocal), fixedRemote_(fixedRemote), phase_(phaseSeconds), profile_(std::move(profile)) {}

double TemperatureSource::ProfileSeconds(SimClock::time_point at) const {
    return Seconds(at - profile_->start) * profile_->speed;
}

double TemperatureSource::Local(SimClock::time_point at, SimClock::time_point powerOn) const {
    if (profile_) return profile_->profile->Local(ProfileSeconds(at));
    if (fixedLocal_) return *fixedLocal_;
    const double t = Seconds(at - powerOn) + phase_;
    return 30.0 + Wave(2.0, 420.0, t) + Wave(0.8, 97.0, t);
}

double TemperatureSource::Remote(SimClock::time_point at, SimClock::time_point powerOn) const {
    if (profile_) return profile_->profile->Remote(ProfileSeconds(at));
    if (fixedRemote_) return *fixedRemote_;
    const double t = Seconds(at - powerOn) + phase_;
    return 40.0 + Wave(3.0, 300.0, t) + Wave(1.2, 71.0, t) + Wave(0.15, 13.0, t);
}

}  // namespace UsbSim
