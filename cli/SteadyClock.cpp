#include "cli/SteadyClock.h"

#include <QTime>
#include <cmath>

SteadyClock::SteadyClock()
    : origin_(std::chrono::steady_clock::now()),
      originTimeOfDay_(QTime::currentTime().msecsSinceStartOfDay() / 1000.0) {}

double SteadyClock::SecondsSinceMidnight() {
    const double since = std::chrono::duration<double>(std::chrono::steady_clock::now() - origin_).count();
    return std::fmod(originTimeOfDay_ + since, 86400.0);
}
