#include "board/BoardChoice.h"

#include "board/LibraryDriver.h"
#include "board/USBStuff.h"
#include "registers/NumberText.h"

#include <QByteArray>
#include <QtGlobal>

#include <filesystem>
#include <memory>
#include <system_error>

namespace USBStuff {

namespace fs = std::filesystem;

namespace {

std::unique_ptr<LibraryDriver> g_library;
BoardChoice g_choice;
std::string g_libraryPath;

// Where each named library lies, relative to the program's folder: the package keeps the
// simulated board beside the program and the i2c-dev library in i2c-dev/; the build has the
// program in bin/ and again in i2c-dev/, each beside its own default library.
struct NamedLocation {
    const char* name;
    const char* folder;
};
constexpr NamedLocation NamedLocations[] = {
    {SimulatedDriverName, "../bin"},      // from the build's i2c-dev/ folder (and bin/ itself)
    {SimulatedDriverName, "sim"},         // the package
    {SimulatedDriverName, "."},           // a program folder of its own
    {I2cDevDriverName, "i2c-dev"},        // the package
    {I2cDevDriverName, "../i2c-dev"},     // the build, from bin/ and from i2c-dev/ itself
};

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, error);
}

}  // namespace

std::string NamedDriverLibrary(const std::string& name, const std::string& programFolder) {
    for (const NamedLocation& location : NamedLocations) {
        if (name != location.name) continue;
        const fs::path file = fs::path(programFolder) / location.folder / DriverLibraryFileName();
        std::error_code error;
        if (fs::is_regular_file(file, error)) return fs::weakly_canonical(file, error).string();
    }
    return {};
}

void LoadDriverLibrary(const BoardChoice& choice, const std::string& programFolder) {
    g_choice = choice;
    if (!choice.bus.empty()) {
        qputenv("KTS_I2C_BUS", QByteArray::fromStdString(choice.bus));
    }
    // Joined as text: on Windows a path through std::filesystem comes back in another encoding
    // than the ANSI code page the folder is given in and the library is loaded with.
    g_libraryPath = choice.libraryPath.empty()
                        ? programFolder + static_cast<char>(fs::path::preferred_separator) + DriverLibraryFileName()
                        : choice.libraryPath;
    std::string error;
    g_library = LibraryDriver::Open(g_libraryPath, error);
    if (!g_library) ReportFailure(error);
    SetDriver(g_library.get());
}

const BoardChoice& ChosenBoard() { return g_choice; }

std::string OpenI2cAdapter() {
    // The library keeps its adapter open from the connect on; which node it chose, by name or
    // by its own search, shows in the process's open files.
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code linkError;
        const std::string target = fs::read_symlink(entry.path(), linkError).string();
        if (!linkError && target.rfind("/dev/i2c-", 0) == 0) return target;
    }
    return {};
}

std::string BoardDescription(const std::string& programFolder, int32_t deviceAddress) {
    const std::string at = ", " + GeneralStuff::HexText(deviceAddress) + "h";
    const std::string adapter = OpenI2cAdapter();
    if (!adapter.empty()) return std::string(I2cDevDriverName) + " " + adapter + at;
    if (SameFile(g_libraryPath, NamedDriverLibrary(SimulatedDriverName, programFolder))) return "Simulated board";
    return (g_libraryPath.empty() ? std::string("Board") : fs::path(g_libraryPath).filename().string()) + at;
}

}  // namespace USBStuff
