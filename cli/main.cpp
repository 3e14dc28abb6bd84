// kts9320b-cli: the KTS9320B on its evaluation board from a terminal or a script, without a
// display. Links Qt Core only.
#include "board/BoardChoice.h"
#include "board/ProgramFolder.h"
#include "board/USBStuff.h"
#include "cli/CliCommandLine.h"
#include "cli/CliRun.h"
#include "cli/CliStart.h"
#include "cli/SteadyClock.h"
#include "state/GeneralStuff.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

int Finish(const CliAnswer& answer) {
    std::fwrite(answer.out.data(), 1, answer.out.size(), stdout);
    std::fflush(stdout);
    std::fwrite(answer.err.data(), 1, answer.err.size(), stderr);
    std::fflush(stderr);
    return answer.status;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(CliName);
    const auto parsed = ParseCliArguments(QCoreApplication::arguments());
    if (const auto* answer = std::get_if<CliAnswer>(&parsed)) return Finish(*answer);
    const CliRequest& request = std::get<CliRequest>(parsed);

    SteadyClock clock;
    GeneralStuff::SetClock(&clock);
    USBStuff::SetProgramFolder(ProgramFolder().toStdString());
    USBStuff::SetFailureHooks(CliFailureHooks());
    GeneralStuff::InstallShadowHook();
    SetFailureStep("driver");
    USBStuff::LoadDriverLibrary(request.board, USBStuff::ProgramFolder());
    return Finish(RunRequest(request));
}
