#include "state/Clock.h"

#include <QDateTime>
#include <thread>

namespace GeneralStuff {

namespace {

constexpr qint64 MsPerDay = 86'400'000;

class LocalClock : public Clock {
public:
    double SecondsSinceMidnight() override {
        const qint64 utc = QDateTime::currentMSecsSinceEpoch();
        // The zone's offset from UTC is looked up once a second, not at every reading: each
        // lookup asks the system for its zone file, and the cycle reads the clock hundreds of
        // times a second. A change of the offset (summer time) still shows within the second.
        if (utc / 1000 != offsetSecond_) {
            offsetSecond_ = utc / 1000;
            offsetMs_ = QDateTime::fromMSecsSinceEpoch(utc).offsetFromUtc() * qint64{1000};
        }
        const qint64 local = (utc + offsetMs_) % MsPerDay;
        return (local < 0 ? local + MsPerDay : local) / 1000.0;
    }

private:
    qint64 offsetSecond_ = -1;
    qint64 offsetMs_ = 0;
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
