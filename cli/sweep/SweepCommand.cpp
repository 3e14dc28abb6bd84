#include "cli/sweep/SweepCommand.h"

#include "board/USBStuff.h"
#include "cli/CliStart.h"
#include "cli/StopSignal.h"
#include "cli/commands/FieldCommands.h"
#include "cli/commands/FieldTransfers.h"
#include "cli/monitor/LineOutput.h"
#include "cli/sweep/OffsetFit.h"
#include "cli/sweep/SweepLine.h"
#include "cli/sweep/SweepRun.h"
#include "registers/RegMapStuff.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace {

CliAnswer Refusal(const std::string& message) { return {ExitUsage, {}, std::string(CliName) + ": " + message + "\n"}; }

std::string Encoded(const QString& name) { return QFile::encodeName(name).toStdString(); }

std::string SummaryTable(const std::vector<StepResult>& steps) {
    std::string text = "step  setpoint_C  settled  settle_s  local_error_C  remote_error_C  pass\n";
    for (const StepResult& s : steps)
        text += QString::asprintf("%4d  %10.3f  %7s  %8.1f  %+13.3f  %+14.3f  %4s\n", s.step, s.setpoint,
                                  s.settled ? "yes" : "no", s.settleS, s.LocalError(), s.RemoteError(),
                                  s.pass ? "yes" : "no")
                    .toStdString();
    return text;
}

const Chip::Field& OffsetField() { return *Chip::FindField("remote-offset"); }

// The sweep on the started board, from the first unfinished step; its steps are added to done.
class Sweep {
public:
    Sweep(const CliRequest& request, const SweepPlan& plan, SweepInstruments& instruments, SweepOutputs outputs,
          LineOutput& stepsFile)
        : request_(request), plan_(plan), run_(plan, instruments, outputs), steps_(stepsFile) {}

    CliAnswer Run(std::vector<StepResult>& done);

private:
    bool Step(int number, double setpoint, std::vector<StepResult>& done);
    void FitAndWrite(std::vector<StepResult>& done, CliAnswer& answer);
    bool ReadOffset(double& offset);

    const CliRequest& request_;
    const SweepPlan& plan_;
    SweepRun run_;
    LineOutput& steps_;
};

bool Sweep::Step(int number, double setpoint, std::vector<StepResult>& done) {
    const auto result = run_.RunStep(number, setpoint);
    if (!result) return false;
    done.push_back(*result);
    if (!steps_.Write(StepsCsvLine(*result))) {
        run_.Fail(ExitUsage, "the sweep stopped: could not write " + steps_.Error());
        return false;
    }
    return true;
}

// The remote offset the chip holds; false, the sweep ended, when the board does not answer.
bool Sweep::ReadOffset(double& offset) {
    USBStuff::ChipTransfer failed;
    const auto value = TryReadField(OffsetField(), failed);
    if (!value) run_.Fail(ExitBoardFailure, "remote-offset could not be read: " + failed.reason);
    offset = value.value_or(0);
    return value.has_value();
}

void Sweep::FitAndWrite(std::vector<StepResult>& done, CliAnswer& answer) {
    double inForce = 0;
    if (!ReadOffset(inForce)) return;
    const OffsetFit fit = FitRemoteOffset(done, inForce, RegMapStuff::ExtendedRange);
    if (std::find(fit.used.begin(), fit.used.end(), true) == fit.used.end()) {
        answer.out += OffsetFitText(fit, done, inForce, plan_.passRemote);
        return;
    }
    answer.out += OffsetFitText(fit, done, inForce, plan_.passRemote);
    if (!request_.sweep.writeOffset) return;
    const std::vector<FieldSetting> setting{{&OffsetField(), fit.offset, "remote-offset"}};
    const FieldWrites writes = WriteFields(setting, RegMapStuff::ExtendedRange);
    double readBack = 0;
    if (!writes.failed) {
        run_.Fail(ExitBoardFailure, "remote-offset could not be written: " + writes.failed.reason);
        return;
    }
    if (!ReadOffset(readBack)) return;
    if (readBack != fit.offset) {
        run_.Fail(ExitBoardFailure, "remote-offset reads back " + QString::number(readBack).toStdString() +
                                        ", not " + QString::number(fit.offset).toStdString());
        return;
    }
    answer.out += "remote-offset=" + QString::number(fit.offset).toStdString() + " written and read back\n";
    // The check: one more step at the setpoint nearest 25 °C, against that step's error before.
    size_t nearest = 0;
    for (size_t i = 0; i < done.size(); ++i)
        if (std::abs(done[i].setpoint - 25) < std::abs(done[nearest].setpoint - 25)) nearest = i;
    const StepResult before = done[nearest];
    if (!Step(static_cast<int>(done.size()) + 1, before.setpoint, done)) return;
    answer.out += QString::asprintf("remote error at %.3f \u00B0C: %+.3f \u00B0C before, %+.3f \u00B0C after\n",
                                    before.setpoint, before.RemoteError(), done.back().RemoteError())
                      .toStdString();
}

CliAnswer Sweep::Run(std::vector<StepResult>& done) {
    run_.Emit("started", "plan " + plan_.fingerprint + (done.empty() ? "" : ", resumed at step " +
                                                                                std::to_string(done.size() + 1)));
    CliAnswer answer;
    bool finished = true;
    for (size_t i = done.size(); i < plan_.setpoints.size() && finished; ++i)
        finished = Step(static_cast<int>(i) + 1, plan_.setpoints[i], done);
    if (finished && request_.sweep.fitOffset) FitAndWrite(done, answer);
    const auto ended = run_.Ended();
    std::string why = "finished";
    if (ended && ended->status != ExitSuccess) {
        why = "failed: " + ended->err.substr(std::string(CliName).size() + 2);
        why.pop_back();  // its line end
    } else if (ended) {
        why = "stopped by a signal";
    }
    answer.out = SummaryTable(done) + answer.out;
    run_.Finish(why, answer);
    if (ended && ended->status != ExitSuccess) {
        answer.status = ended->status;
        answer.err = ended->err + answer.err;
        return answer;
    }
    if (ended) {
        answer.status = ExitStepFailed;
        answer.err += std::string(CliName) + ": stopped: " + std::to_string(done.size()) + " of " +
                      std::to_string(plan_.setpoints.size()) + " steps finished; --resume continues the sweep\n";
        return answer;
    }
    for (const StepResult& s : done)
        if (!s.settled || !s.pass) answer.status = ExitStepFailed;
    return answer;
}

}  // namespace

CliAnswer RunSweep(const CliRequest& request) {
    std::string refusal;
    const auto plan = ReadSweepPlan(request.file, refusal);
    if (!plan) return Refusal(refusal);
    const QString stepsName = StepsFileName(request.monitor.output);
    auto done = ReadStepsFile(stepsName, plan->fingerprint, refusal);
    if (!done) return Refusal(refusal);
    if (!done->empty() && !request.sweep.resume)
        return Refusal(Encoded(stepsName) + " already holds " + std::to_string(done->size()) +
                       " steps: --resume continues that sweep, or name another --output");
    if (done->size() >= plan->setpoints.size() && !done->empty())
        return Refusal(Encoded(stepsName) + " already holds every step of the plan");
    LineOutput readings(Encoded(request.monitor.output));
    LineOutput steps(Encoded(stepsName));
    std::optional<LineOutput> events;
    if (!request.monitor.events.isEmpty()) events.emplace(Encoded(request.monitor.events));
    for (const LineOutput* output : {&readings, &steps, events ? &*events : nullptr})
        if (output && !output->IsOpen()) return Refusal("could not open " + output->Error());
    readings.SetHeader(SweepCsvHeader());
    steps.SetHeader(StepsFileHead(plan->fingerprint));

    InstallStopSignals();
    CliRequest board = request;
    if (!board.board.address) board.board.address = plan->address;
    if (!plan->applyFile.isEmpty()) {
        board.file = plan->applyFile;
        const CliAnswer applied = RunApply(board);
        if (applied.status != ExitSuccess) return applied;
    } else {
        StartBoard(board.board, true);
    }
    SweepInstruments instruments = MakeSweepInstruments(*plan);
    if (!instruments.chamber || !instruments.reference)
        return Refusal(request.file.toStdString() + ": " + instruments.refusal);
    return Sweep(request, *plan, instruments, {&readings, events ? &*events : nullptr}, steps).Run(*done);
}
