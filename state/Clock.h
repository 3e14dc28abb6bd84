#pragma once
// The one clock of the program: seconds since local midnight.

namespace GeneralStuff {

class Clock {
public:
    virtual ~Clock() = default;
    virtual double SecondsSinceMidnight() = 0;
    // Lets the time pass; a scripted clock moves on by it instead.
    virtual void Sleep(double seconds);
};

// The clock in use; the real local clock unless a test installed another (not owned).
Clock& CurrentClock();
void SetClock(Clock* clock);

// Waits the milliseconds without processing window events; ends after its duration even
// across midnight.
void Delay(float milliseconds);

}  // namespace GeneralStuff
