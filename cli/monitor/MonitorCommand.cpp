#include "cli/monitor/MonitorCommand.h"

#include "board/ChipReading.h"
#include "board/ChipSession.h"
#include "board/USBStuff.h"
#include "cli/monitor/AlarmCommand.h"
#include "cli/monitor/AlarmFlags.h"
#include "cli/FixedRateSchedule.h"
#include "cli/monitor/LineOutput.h"
#include "files/LocalTimeText.h"
#include "cli/monitor/MonitorLine.h"
#include "cli/monitor/RangeSettling.h"
#include "cli/StopSignal.h"
#include "registers/RegMapStuff.h"
#include "state/Clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

// The limits change only when someone sets them: once a second is often enough.
constexpr double LimitsEvery = 1.0;
// The longest sleep while the board is away, so a stop request is seen soon.
constexpr double LongestSleep = 0.05;

// A line on standard error, for whoever watches the run, of what the events file also tells.
void Notice(const std::string& time, const std::string& text) {
    std::fprintf(stderr, "%s: %s: %s\n", CliName, time.c_str(), text.c_str());
    std::fflush(stderr);
}

class MonitorRun {
public:
    MonitorRun(const CliRequest& request, const MonitorOutputs& outputs)
        : settings_(request.monitor), json_(request.json), out_(outputs),
          schedule_(settings_.intervalMs, EndMs(settings_)), session_(USBStuff::DeviceAddress),
          command_(settings_.onAlarm.toStdString()) {}

    CliAnswer Run();

private:
    static std::optional<int64_t> EndMs(const MonitorSettings& s) {
        if (!s.durationS) return std::nullopt;
        return std::llround(*s.durationS * 1000);
    }
    bool Stop();
    void Emit(MonitorEvent event);
    bool TakeReading();
    bool FollowRange(double elapsed, USBStuff::ChipTransfer& failed);
    void LoseBoard(const std::string& time, double elapsed, const USBStuff::ChipTransfer& failed);
    bool AwaitBoard();
    void Finish();
    void EndWith(const CliAnswer& answer) {
        if (!end_) end_ = answer;
    }
    CliAnswer WriteFailure(const LineOutput& output) const {
        return {ExitUsage, {}, std::string(CliName) + ": the monitor stopped: could not write " + output.Error() + "\n"};
    }

    const MonitorSettings& settings_;
    bool json_;
    MonitorOutputs out_;
    FixedRateSchedule schedule_;
    LocalTimeText timeText_;
    USBStuff::ChipSession session_;
    AlarmFlags alarms_;
    AlarmCommand command_;
    RangeSettling range_{RegMapStuff::ExtendedRange};  // the start read the range into the shadow
    std::optional<Limits> limits_;
    double limitsReadAt_ = 0;
    double lastReadingAt_ = 0;   // where a gap starts: the last reading, or the start
    std::optional<Reading> last_;
    bool started_ = false;
    std::optional<CliAnswer> end_;  // what ends the run early
};

bool MonitorRun::Stop() {
    if (command_.Running()) {
        if (auto ended = command_.Ended()) {
            ended->time = timeText_.Now();
            Emit(*ended);
        }
    }
    return StopRequested() || end_;
}

void MonitorRun::Emit(MonitorEvent event) {
    if (!out_.events) return;
    if (!out_.events->Write(out_.eventsAsJson ? EventJsonLine(event) : EventTextLine(event)))
        EndWith(WriteFailure(*out_.events));
}

bool MonitorRun::TakeReading() {
    const std::string time = timeText_.Now();
    const double elapsed = schedule_.Elapsed();
    USBStuff::ChipTransfer failed;
    std::optional<Reading> reading;
    bool ok = USBStuff::TryShadow(session_.Chip(), failed) && FollowRange(elapsed, failed);
    if (ok && range_.Settling(elapsed)) return false;
    if (ok) reading = USBStuff::TryReading(session_.Chip(), USBStuff::RemoteBytes::Settled, failed);
    ok = ok && reading.has_value();
    if (ok && settings_.limits && (!limits_ || elapsed - limitsReadAt_ >= LimitsEvery)) {
        limits_ = USBStuff::TryLimits(session_.Chip(), failed);
        limitsReadAt_ = elapsed;
        ok = limits_.has_value();
    }
    if (!ok) {
        LoseBoard(time, elapsed, failed);
        return false;
    }
    if (!started_) Emit({"started", time, {}, reading, {}, {}});
    started_ = true;
    for (MonitorEvent& change : alarms_.Update(reading->status)) {
        change.time = time;
        change.reading = reading;
        Emit(change);
        command_.Start(change);
    }
    last_ = reading;
    lastReadingAt_ = elapsed;
    if (!out_.readings) return true;
    const Limits* limits = settings_.limits ? &*limits_ : nullptr;
    if (!out_.readings->Write(json_ ? MonitorJsonLine(time, elapsed, *reading, limits)
                                    : MonitorCsvLine(time, elapsed, *reading, limits)))
        EndWith(WriteFailure(*out_.readings));
    return true;
}

// The range is read with every reading, as someone may change it during the run: a reading is
// decoded with the range it was converted in, or not taken. False on a failed transfer.
bool MonitorRun::FollowRange(double elapsed, USBStuff::ChipTransfer& failed) {
    if (range_.Differs(RegMapStuff::ExtendedRange)) {
        const std::optional<double> period = TryConversionPeriod(session_.Chip(), failed);
        if (!period) return false;
        range_.Changed(RegMapStuff::ExtendedRange, elapsed, *period);
        limits_.reset();  // their codes mean other degrees now
    }
    range_.Standby(RegMapStuff::Standby, elapsed);
    return true;
}

void MonitorRun::LoseBoard(const std::string& time, double elapsed, const USBStuff::ChipTransfer& failed) {
    session_.Failed(failed, elapsed);
    Emit({"board-lost", time, {}, {}, {}, session_.Reason()});
    if (settings_.keepGoing) {
        Notice(time, "the board is lost: " + session_.Reason());
        return;
    }
    Finish();
    USBStuff::ReportBoardFailure(failed);
}

// Reconnects the lost board, pausing longer each time; false when the run ends first.
bool MonitorRun::AwaitBoard() {
    for (;;) {
        if (Stop() || schedule_.Ended()) return false;
        const double now = schedule_.Elapsed();
        if (settings_.maxGapS && now - lastReadingAt_ > *settings_.maxGapS) {
            EndWith({ExitBoardFailure, {},
                     std::string(CliName) + ": the board did not answer for longer than --max-gap: " +
                         session_.Reason() + "\n"});
            return false;
        }
        if (session_.Reconnect(now) == USBStuff::ChipSession::Change::Back) {
            // The chip may have been powered afresh: its range and its limits are read again.
            USBStuff::ChipTransfer failed;
            if (USBStuff::TryShadow(session_.Chip(), failed)) {
                limits_.reset();
                const std::string time = timeText_.Now();
                Emit({"board-back", time, {}, {}, {}, {}});
                Notice(time, "the board is back");
                return true;
            }
            session_.Failed(failed, now);
            continue;
        }
        double wait = session_.NextAttempt() - now;
        if (settings_.maxGapS) wait = std::min(wait, lastReadingAt_ + *settings_.maxGapS - now);
        GeneralStuff::CurrentClock().Sleep(std::clamp(wait, 0.001, LongestSleep));
    }
}

// A command still running is waited for, unless a stop request ended the run; then the end.
void MonitorRun::Finish() {
    while (command_.Running() && !StopRequested()) {
        Stop();
        if (command_.Running()) GeneralStuff::CurrentClock().Sleep(LongestSleep);
    }
    if (started_) Emit({"ended", timeText_.Now(), {}, last_, {}, {}});
}

CliAnswer MonitorRun::Run() {
    // An appended file keeps one header, at its top; it goes out with the first reading, so a
    // run that takes none leaves an empty file empty.
    if (out_.readings && !json_) out_.readings->SetHeader(MonitorCsvHeader(settings_.limits));
    for (int64_t lines = 0; !settings_.count || lines < *settings_.count;) {
        if (!session_.Connected() && !AwaitBoard()) break;
        if (!schedule_.WaitForDue([this] { return Stop(); })) break;
        if (TakeReading()) ++lines;
        schedule_.Next();
    }
    Finish();
    return end_ ? *end_ : CliAnswer{};
}

}  // namespace

CliAnswer RunMonitor(const CliRequest& request, const MonitorOutputs& outputs) {
    return MonitorRun(request, outputs).Run();
}
