#include "cli/sweep/SweepRun.h"

#include "board/ChipReading.h"
#include "board/USBStuff.h"
#include "chip/ChipFields.h"
#include "cli/StopSignal.h"
#include "cli/monitor/LineOutput.h"
#include "cli/sweep/RunningMean.h"
#include "cli/sweep/StabilityWindow.h"
#include "cli/sweep/SweepLine.h"
#include "state/Clock.h"

#include <QString>
#include <algorithm>
#include <cstdio>

namespace {

// The limits change only when someone sets them: once a second is often enough.
constexpr double LimitsEvery = 1.0;
// The longest sleep while something is away, so a stop request is seen soon.
constexpr double LongestSleep = 0.05;
// Attempts at the safe setpoint at the end, a pause of the first retry's length between them.
constexpr int SafeAttempts = 3;

std::string Degrees(double value) { return QString::number(value, 'g', 6).toStdString() + " \u00B0C"; }
std::string Seconds(double value) { return QString::number(value, 'f', 1).toStdString() + " s"; }

// The channels' resolutions, from the chip's description of their limits, which share the
// temperatures' coding.
double LocalResolution() { return Chip::FindField("local-high")->step; }
double RemoteResolution() { return Chip::FindField("remote-high")->step; }

}  // namespace

SweepRun::SweepRun(const SweepPlan& plan, SweepInstruments& instruments, const SweepOutputs& outputs)
    : plan_(plan), instruments_(instruments), out_(outputs), schedule_(plan.intervalMs),
      session_(USBStuff::DeviceAddress) {}

bool SweepRun::Stop() const { return StopRequested() || failed_.has_value(); }

std::optional<CliAnswer> SweepRun::Ended() const {
    if (failed_) return failed_;
    if (StopRequested()) return CliAnswer{};
    return std::nullopt;
}

void SweepRun::Fail(int status, const std::string& message) {
    if (!failed_) failed_ = CliAnswer{status, {}, std::string(CliName) + ": " + message + "\n"};
}

void SweepRun::Notice(const std::string& text) {
    std::fprintf(stderr, "%s: %s: %s\n", CliName, timeText_.Now().c_str(), text.c_str());
    std::fflush(stderr);
}

void SweepRun::Emit(const std::string& kind, const std::string& reason) {
    if (!out_.events) return;
    if (!out_.events->Write(EventJsonLine({kind, timeText_.Now(), {}, last_, {}, reason})))
        Fail(ExitUsage, "the sweep stopped: could not write " + out_.events->Error());
}

bool SweepRun::SetChamber(double setpoint) {
    for (;;) {
        const std::string reason = instruments_.chamber->SetSetpoint(setpoint);
        if (reason.empty()) break;
        chamberRetry_.Failed(schedule_.Elapsed(), reason);
        if (!AwaitInstrument(chamberRetry_, "the chamber")) return false;
    }
    chamberRetry_.Answered();
    return true;
}

// Waits for the next attempt at an instrument that did not answer; false when the sweep ends
// first, or when it has not answered for longer than a step's timeout.
bool SweepRun::AwaitInstrument(InstrumentRetry& retry, const std::string& what) {
    for (;;) {
        if (Stop()) return false;
        const double now = schedule_.Elapsed();
        if (now - retry.FailingSince() > plan_.timeoutS) {
            Fail(ExitBoardFailure, what + " did not answer for longer than a step's timeout: " + retry.Reason());
            return false;
        }
        if (now >= retry.NextAttempt()) return true;
        GeneralStuff::CurrentClock().Sleep(std::clamp(retry.NextAttempt() - now, 0.001, LongestSleep));
    }
}

// Reconnects the lost board as monitor --keep-going does; false when the sweep ends first.
bool SweepRun::AwaitBoard() {
    for (;;) {
        if (Stop()) return false;
        const double now = schedule_.Elapsed();
        if (now - session_.LostSince() > plan_.timeoutS) {
            Fail(ExitBoardFailure, "the board did not answer for longer than a step's timeout: " + session_.Reason());
            return false;
        }
        if (session_.Reconnect(now) == USBStuff::ChipSession::Change::Back) {
            USBStuff::ChipTransfer failed;
            if (USBStuff::TryShadow(session_.Chip(), failed)) {
                limits_.reset();
                Emit("board-back", {});
                Notice("the board is back");
                return true;
            }
            session_.Failed(failed, now);
            continue;
        }
        GeneralStuff::CurrentClock().Sleep(std::clamp(session_.NextAttempt() - now, 0.001, LongestSleep));
    }
}

// The chip, the chamber and the reference, in that order; false after a failure has been
// waited out (or has ended the sweep).
bool SweepRun::TakeSample(double now, Sample& sample) {
    USBStuff::ChipTransfer failed;
    std::optional<Reading> reading;
    if (USBStuff::TryShadow(session_.Chip(), failed))
        reading = USBStuff::TryReading(session_.Chip(), USBStuff::RemoteBytes::Settled, failed);
    if (reading && (!limits_ || now - limitsReadAt_ >= LimitsEvery)) {
        limits_ = USBStuff::TryLimits(session_.Chip(), failed);
        limitsReadAt_ = now;
        if (!limits_) reading.reset();
    }
    if (!reading) {
        session_.Failed(failed, now);
        Emit("board-lost", session_.Reason());
        Notice("the board is lost: " + session_.Reason());
        AwaitBoard();
        return false;
    }
    sample.chip = *reading;
    last_ = reading;
    const Instruments::Reading chamber = instruments_.chamber->ReadTemperature();
    if (!chamber) {
        chamberRetry_.Failed(now, chamber.failure);
        AwaitInstrument(chamberRetry_, "the chamber");
        return false;
    }
    chamberRetry_.Answered();
    const Instruments::Reading reference = instruments_.reference->Read();
    if (!reference) {
        referenceRetry_.Failed(now, reference.failure);
        AwaitInstrument(referenceRetry_, "the reference");
        return false;
    }
    referenceRetry_.Answered();
    sample.chamber = *chamber.celsius;
    sample.reference = *reference.celsius;
    return true;
}

std::optional<StepResult> SweepRun::RunStep(int number, double setpoint) {
    StepResult result;
    result.step = number;
    result.setpoint = setpoint;
    const std::string name = "step " + std::to_string(number);
    Emit("step-started", name + " at " + Degrees(setpoint));
    if (!SetChamber(setpoint)) return std::nullopt;
    const double start = schedule_.Elapsed();
    StabilityWindow reference(plan_.stableForS, plan_.window);
    StabilityWindow local(plan_.stableForS, ChannelTolerance(plan_.window, LocalResolution()));
    StabilityWindow remote(plan_.stableForS, ChannelTolerance(plan_.window, RemoteResolution()));
    RunningMean referenceMean, localMean, remoteMean;
    bool recording = false;
    double recorded = 0;
    std::optional<double> lastSampleAt;
    bool gapSinceLast = false;
    for (;; schedule_.Next()) {
        if (!schedule_.WaitForDue([this] { return Stop(); })) return std::nullopt;
        const double now = schedule_.Elapsed();
        Sample s;
        if (!TakeSample(now, s)) {
            if (Stop()) return std::nullopt;
            // Stability is shown afresh after a gap; a recording makes the gap up.
            reference.Clear();
            local.Clear();
            remote.Clear();
            gapSinceLast = true;
            continue;
        }
        if (!out_.readings->Write(SweepCsvLine(timeText_.Now(), now, s.chip, *limits_,
                                               {number, setpoint, s.chamber, s.reference, recording}))) {
            Fail(ExitUsage, "the sweep stopped: could not write " + out_.readings->Error());
            return std::nullopt;
        }
        if (!recording) {
            reference.Add(now, s.reference);
            local.Add(now, s.chip.local);
            remote.Add(now, s.chip.remote);
            result.settleS = now - start;
            if (reference.Stable() && local.Stable() && remote.Stable()) {
                recording = result.settled = true;
                Emit("step-stable", name + " after " + Seconds(result.settleS));
            } else if (result.settleS >= plan_.timeoutS - 1e-9) {
                recording = true;
                Emit("step-unsettled", name + " not stable within " + Seconds(plan_.timeoutS));
            }
        } else {
            if (lastSampleAt) (gapSinceLast ? result.gapS : recorded) += now - *lastSampleAt;
            referenceMean.Add(s.reference);
            localMean.Add(s.chip.local);
            remoteMean.Add(s.chip.remote);
            if (recorded >= plan_.recordS - 1e-9) break;
        }
        lastSampleAt = now;
        gapSinceLast = false;
    }
    schedule_.Next();
    result.reference = referenceMean.Mean();
    result.local = localMean.Mean();
    result.localSd = localMean.Deviation();
    result.remote = remoteMean.Mean();
    result.remoteSd = remoteMean.Deviation();
    result.pass = std::abs(result.LocalError()) <= plan_.passLocal && std::abs(result.RemoteError()) <= plan_.passRemote;
    std::string recordedText = name + ": " + std::to_string(localMean.Count()) + " readings";
    if (result.gapS > 0) recordedText += ", a gap of " + Seconds(result.gapS) + " made up by recording longer";
    Emit("step-recorded", recordedText);
    return result;
}

void SweepRun::Finish(const std::string& why, CliAnswer& answer) {
    std::string reason;
    for (int attempt = 0; attempt < SafeAttempts; ++attempt) {
        if (attempt > 0) GeneralStuff::CurrentClock().Sleep(USBStuff::ChipSession::FirstPause);
        reason = instruments_.chamber->SetSetpoint(plan_.safe);
        if (reason.empty()) break;
    }
    std::string ended = why + "; the chamber ";
    if (reason.empty()) {
        ended += "left at " + Degrees(plan_.safe);
    } else {
        ended += "could not be set to " + Degrees(plan_.safe) + ": " + reason;
        answer.err += std::string(CliName) + ": the chamber could not be set to its safe " + Degrees(plan_.safe) +
                      ": " + reason + "\n";
    }
    Emit("ended", ended);
}
