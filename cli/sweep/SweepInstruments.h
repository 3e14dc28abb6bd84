#pragma once
// The chamber and the reference a sweep works with, made by a maker it is given: the plan's
// drivers in the program, fakes in the tests.
#include "cli/sweep/SweepPlan.h"
#include "instruments/Instrument.h"

#include <functional>
#include <memory>
#include <string>

struct SweepInstruments {
    std::unique_ptr<Instruments::Chamber> chamber;
    std::unique_ptr<Instruments::Thermometer> reference;
    std::string refusal;  // why they could not be made
};

using SweepInstrumentMaker = std::function<SweepInstruments(const SweepPlan&)>;

// The maker in use: the plan's drivers on the opened board unless another was set.
SweepInstruments MakeSweepInstruments(const SweepPlan& plan);
// An empty maker restores the plan's drivers.
void SetSweepInstrumentMaker(SweepInstrumentMaker maker);

// An instrument that stops answering is asked again after a pause that doubles each time, up
// to the board's longest; times are seconds on the sweep's clock.
class InstrumentRetry {
public:
    // A failed call: the first one starts the count.
    void Failed(double now, const std::string& reason);
    void Answered() { failing_ = false; }
    bool Failing() const { return failing_; }
    double FailingSince() const { return since_; }
    double NextAttempt() const { return next_; }
    const std::string& Reason() const { return reason_; }

private:
    bool failing_ = false;
    double since_ = 0;
    double next_ = 0;
    double pause_ = 0;
    std::string reason_;
};
