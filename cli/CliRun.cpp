#include "cli/CliRun.h"

#include "cli/CliStart.h"
#include "cli/LineOutput.h"
#include "cli/MonitorCommand.h"
#include "cli/RegisterCommands.h"
#include "cli/SavCommands.h"
#include "cli/ServeCommand.h"
#include "cli/StopSignal.h"

#include <QFile>

namespace {

CliAnswer Monitor(const CliRequest& request) {
    LineOutput output(QFile::encodeName(request.monitor.output).toStdString());
    if (!output.IsOpen()) return {ExitUsage, {}, std::string(CliName) + ": could not open " + output.Error() + "\n"};
    // From here on Ctrl+C ends the run without a word of warning lost: during the start as well,
    // the monitor then writes nothing.
    InstallStopSignals();
    StartBoard(request.board, true);
    return RunMonitor(request, output);
}

}  // namespace

CliAnswer RunRequest(const CliRequest& request) {
    switch (request.command) {
    case CliCommand::Monitor: return Monitor(request);
    case CliCommand::Recall: return RunRecall(request);
    case CliCommand::Serve: return RunServe(request);
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
    default: return {};  // each command is answered above
    }
}
