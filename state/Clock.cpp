#include "state/Clock.h"

#include <QTime>
#include <thread>

namespace GeneralStuff {

namespace {

class LocalClock : public Clock {
public:
    double SecondsSinceMidnight() override { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }
};

LocalClock g_localClock;
Clock* g_clock = &g_localClock;

constexpr double SecondsPerDay = 86400.0;

}  // namespace

void Clock::Sleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

Clock& CurrentClock() { return *g_clock; }
void SetClock(Clock* clock) { g_clock = clock ? clock : &g_localClock; }

void Delay(float milliseconds) {
    const double start = g_clock->SecondsSinceMidnight();
    const float end = static_cast<float>(start + milliseconds / 1000.0f);
    for (;;) {
        double now = g_clock->SecondsSinceMidnight();
        // Past midnight the clock starts again at 0; count on from the day before.
        if (now < start) now += SecondsPerDay;
        if (end < static_cast<float>(now)) return;
        // The wait processes no window events; a short sleep keeps it off the core.
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

}  // namespace GeneralStuff
