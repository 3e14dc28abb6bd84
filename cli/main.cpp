// kts9320b-cli: the KTS9320B on its evaluation board from a terminal or a script, without a
// display. Links Qt Core only.
#include "board/BoardChoice.h"
#include "board/ProgramFolder.h"
#include "board/USBStuff.h"
#include "cli/CliCommandLine.h"
#include "cli/CliRun.h"
#include "cli/CliStart.h"
#include "cli/monitor/LineOutput.h"
#include "cli/SteadyClock.h"
#include "state/GeneralStuff.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

int Finish(const CliAnswer& answer) {
    // A script must not take a cut answer (a full disk, a closed pipe) for a whole one.
    const bool written = std::fwrite(answer.out.data(), 1, answer.out.size(), stdout) == answer.out.size() &&
                         std::fflush(stdout) == 0;
    const int writeError = errno;
    std::fwrite(answer.err.data(), 1, answer.err.size(), stderr);
    if (!written) std::fprintf(stderr, "%s: the output could not be written: %s\n", CliName, std::strerror(writeError));
    std::fflush(stderr);
    return written || answer.status != 0 ? answer.status : ExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    StandardStreamsAsOnLinux();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(CliName);
    const auto parsed = ParseCliArguments(QCoreApplication::arguments());
    if (const auto* answer = std::get_if<CliAnswer>(&parsed)) return Finish(*answer);
    const CliRequest& request = std::get<CliRequest>(parsed);

    SteadyClock clock;
    GeneralStuff::SetClock(&clock);
    USBStuff::SetProgramFolder(NarrowPath(ProgramFolder()));
    USBStuff::SetFailureHooks(CliFailureHooks());
    GeneralStuff::InstallShadowHook();
    // The i2c-dev library would also write its reason for a failure to standard error, where
    // this program writes it under its own message.
    qputenv("KTS_I2C_QUIET", "1");
    SetFailureStep("driver");
    // A board failure anywhere below comes back here as the answer: this is where the program ends.
    return Finish(AnswerOrBoardFailure([&request] {
        USBStuff::LoadDriverLibrary(request.board, USBStuff::ProgramFolder());
        return RunRequest(request);
    }));
}
