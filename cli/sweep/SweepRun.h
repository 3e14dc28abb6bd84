#pragma once
// The steps of a sweep on the started board: each sets the chamber, waits until the reference
// and both chip channels are stable, and records; every reading goes to RUN.csv. A lost board
// is reconnected and a silent chamber or reference is asked again, each for up to a step's
// timeout; a stop signal ends the step in hand. However it ends, Finish leaves the chamber at
// its safe setpoint whenever it answers, and the events say why the sweep ended.
#include "board/ChipSession.h"
#include "cli/CliRequest.h"
#include "cli/FixedRateSchedule.h"
#include "cli/monitor/MonitorEvent.h"
#include "cli/sweep/SweepInstruments.h"
#include "cli/sweep/SweepPlan.h"
#include "cli/sweep/StepsFile.h"
#include "files/LocalTimeText.h"

#include <optional>
#include <string>

class LineOutput;

struct SweepOutputs {
    LineOutput* readings = nullptr;
    LineOutput* events = nullptr;  // none: no events file
};

class SweepRun {
public:
    // The stop signals must be installed and the board started.
    SweepRun(const SweepPlan& plan, SweepInstruments& instruments, const SweepOutputs& outputs);

    // One step; none when the sweep ends before it is finished (Ended() says why).
    std::optional<StepResult> RunStep(int number, double setpoint);
    // Why the sweep cannot go on: a failure past retrying (status 1), an output that cannot be
    // written (status 2), or a stop signal (status 0, no message).
    std::optional<CliAnswer> Ended() const;
    // The chamber to its safe setpoint, then the events' "ended" with the reason; a word on
    // standard error when the chamber could not be reached.
    void Finish(const std::string& why, CliAnswer& answer);

    void Emit(const std::string& kind, const std::string& reason);
    // Ends the sweep with the status and the message, unless something ended it already.
    void Fail(int status, const std::string& message);
    USBStuff::ChipSession& Session() { return session_; }
    double Elapsed() { return schedule_.Elapsed(); }

private:
    struct Sample {
        Reading chip;
        double chamber = 0;
        double reference = 0;
    };
    bool Stop() const;
    bool SetChamber(double setpoint);
    bool TakeSample(double now, Sample& sample);
    bool AwaitBoard();
    bool AwaitInstrument(InstrumentRetry& retry, const std::string& what);
    void Notice(const std::string& text);

    const SweepPlan& plan_;
    SweepInstruments& instruments_;
    SweepOutputs out_;
    FixedRateSchedule schedule_;
    LocalTimeText timeText_;
    USBStuff::ChipSession session_;
    InstrumentRetry chamberRetry_;
    InstrumentRetry referenceRetry_;
    std::optional<Limits> limits_;
    double limitsReadAt_ = 0;
    std::optional<Reading> last_;
    std::optional<CliAnswer> failed_;
};
