#include "cli/sweep/SweepInstruments.h"

#include "board/ChipSession.h"
#include "board/USBStuff.h"
#include "instruments/Instruments.h"

#include <algorithm>

namespace {

SweepInstrumentMaker& Maker() {
    static SweepInstrumentMaker maker;
    return maker;
}

}  // namespace

SweepInstruments MakeSweepInstruments(const SweepPlan& plan) {
    if (Maker()) return Maker()(plan);
    SweepInstruments made;
    made.chamber = Instruments::MakeChamber(plan.chamber, USBStuff::Driver(), made.refusal);
    if (!made.chamber) return made;
    made.reference = Instruments::MakeThermometer(plan.reference, *made.chamber, USBStuff::Driver(), made.refusal);
    return made;
}

void SetSweepInstrumentMaker(SweepInstrumentMaker maker) { Maker() = std::move(maker); }

void InstrumentRetry::Failed(double now, const std::string& reason) {
    using USBStuff::ChipSession;
    if (!failing_) {
        failing_ = true;
        since_ = now;
        pause_ = ChipSession::FirstPause;
    } else {
        pause_ = std::min(pause_ * 2, ChipSession::LongestPause);
    }
    next_ = now + pause_;
    reason_ = reason;
}
