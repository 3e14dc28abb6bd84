#include "cli/serve/ServeCommand.h"

#include "board/BoardChoice.h"
#include "board/LibraryDriver.h"
#include "board/USBStuff.h"
#include "cli/CliStart.h"
#include "cli/serve/ExporterMetrics.h"
#include "cli/serve/MetricsServer.h"
#include "cli/serve/ScrapedChips.h"
#include "cli/serve/ServeLog.h"
#include "cli/StopSignal.h"
#include "state/GeneralStuff.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

CliAnswer CannotListen(const std::string& listen, const std::string& why) {
    return {ExitUsage, {}, std::string(CliName) + ": cannot listen on " + listen + ": " + why + "\n"};
}

// "sim" or "i2c-dev" for the libraries those names stand for, else the library's file name.
std::string DriverLabel(const USBStuff::BoardChoice& board) {
    namespace fs = std::filesystem;
    const std::string folder = USBStuff::ProgramFolder();
    const fs::path loaded = board.libraryPath.empty() ? fs::path(folder) / USBStuff::DriverLibraryFileName()
                                                      : fs::path(board.libraryPath);
    for (const char* name : {USBStuff::SimulatedDriverName, USBStuff::I2cDevDriverName}) {
        const std::string named = USBStuff::NamedDriverLibrary(name, folder);
        std::error_code error;
        if (!named.empty() && fs::equivalent(loaded, named, error)) return name;
    }
    return loaded.filename().string();
}

}  // namespace

CliAnswer RunServe(const CliRequest& request) {
    const std::string asked = request.serve.listen.toStdString();
    const auto listen = ListenAddress(asked);
    if (!listen) return CannotListen(asked, "give an IPv4 address and a port, e.g. 127.0.0.1:9320");
    if (GroupAddress(*listen)) return CannotListen(*listen, "a multicast or broadcast address is not this machine's");
    InstallStopSignals();
    MetricsServer server(*listen);
    if (!server.Listening()) return CannotListen(*listen, server.Error());
    // Without an address the scrapes search for the chip until it answers.
    const std::vector<int32_t>& addresses = request.serve.addresses;
    ExporterMetrics metrics({GeneralStuff::VersionText().toStdString(), DriverLabel(request.board), request.board.bus},
                            addresses);
    const auto chips = std::make_shared<ScrapedChips>(metrics, addresses,
                                                      std::chrono::milliseconds(request.serve.minIntervalMs));
    chips->Start();
    server.Serve(chips);
    ServeLogLine("serving the metrics at http://" + *listen + "/metrics");
    // The stop signal only sets a flag: a glance at it five times a second costs nothing measurable.
    while (!StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    server.Stop();
    return {ExitSuccess, {}, {}};
}
