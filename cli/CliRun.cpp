#include "cli/CliRun.h"

#include "cli/CliStart.h"
#include "cli/commands/FieldCommands.h"
#include "cli/commands/MarkCommand.h"
#include "cli/monitor/LineOutput.h"
#include "cli/monitor/MonitorCommand.h"
#include "cli/commands/RegisterCommands.h"
#include "cli/commands/SavCommands.h"
#include "cli/serve/ServeCommand.h"
#include "cli/sweep/SweepCommand.h"
#include "cli/StopSignal.h"

#include <QFile>
#include <optional>

namespace {

CliAnswer CannotOpen(const LineOutput& output) {
    return {ExitUsage, {}, std::string(CliName) + ": could not open " + output.Error() + "\n"};
}

// monitor: the readings to their output, the events to theirs; watch: the events alone, to
// standard output.
CliAnswer Monitor(const CliRequest& request) {
    const bool watch = request.command == CliCommand::Watch;
    const QString eventsName = watch ? QStringLiteral("-") : request.monitor.events;
    std::optional<LineOutput> readings;
    std::optional<LineOutput> events;
    if (!watch) readings.emplace(QFile::encodeName(request.monitor.output).toStdString());
    if (!eventsName.isEmpty()) events.emplace(QFile::encodeName(eventsName).toStdString());
    if (readings && !readings->IsOpen()) return CannotOpen(*readings);
    if (events && !events->IsOpen()) return CannotOpen(*events);
    // From here on Ctrl+C ends the run without a word of warning lost: during the start as well,
    // the monitor then writes nothing.
    InstallStopSignals();
    StartBoard(request.board, true);
    MonitorOutputs outputs;
    outputs.readings = readings ? &*readings : nullptr;
    outputs.events = events ? &*events : nullptr;
    outputs.eventsAsJson = !watch || request.json;
    return RunMonitor(request, outputs);
}

}  // namespace

CliAnswer RunRequest(const CliRequest& request) {
    switch (request.command) {
    case CliCommand::Monitor:
    case CliCommand::Watch: return Monitor(request);
    case CliCommand::Recall: return RunRecall(request);
    case CliCommand::Set: return RunSet(request);
    case CliCommand::Apply: return RunApply(request);
    case CliCommand::Serve: return RunServe(request);
    case CliCommand::Sweep: return RunSweep(request);
    case CliCommand::Mark: return RunMark(request);
    case CliCommand::Scan:
        StartBoard(request.board, false);
        return RunScan(request);
    default: break;
    }
    StartBoard(request.board, true);
    switch (request.command) {
    case CliCommand::Temps: return RunTemps(request);
    case CliCommand::Read: return RunRead(request);
    case CliCommand::Write: return RunWrite(request);
    case CliCommand::Dump: return RunDump(request);
    case CliCommand::Save: return RunSave(request);
    case CliCommand::Get: return RunGet(request);
    default: return {};  // each command is answered above
    }
}
