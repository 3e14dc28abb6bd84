#pragma once
// A clock that tests set by hand; optionally it advances by a step at every reading.
#include "state/Clock.h"

#include <functional>

class ScriptedClock : public GeneralStuff::Clock {
public:
    double SecondsSinceMidnight() override {
        const double t = now;
        now += step;
        if (now >= 86400.0) now -= 86400.0;
        ++readings;
        return t;
    }
    void Sleep(double seconds) override {
        now += seconds;
        if (now >= 86400.0) now -= 86400.0;
        if (afterSleep) afterSleep();
    }
    std::function<void()> afterSleep;  // e.g. a stall of the process while it sleeps
    double now = 1000.0;
    double step = 0.0;
    int readings = 0;
};
