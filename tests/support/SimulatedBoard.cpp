#include "support/SimulatedBoard.h"

#include "support/FreshChip.h"

#include "board/USBStuff.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

const char* const SettingNames[] = {
    "KTS_SIM_ADDRESS",    "KTS_SIM_SECOND_ADDRESS", "KTS_SIM_REFUSE_CONNECTS", "KTS_SIM_FIRMWARE_FAIL",
    "KTS_SIM_FAIL_AFTER", "KTS_SIM_FAIL_FOR",       "KTS_SIM_DIODE_OPEN",      "KTS_SIM_LOCAL_TEMP",
    "KTS_SIM_REMOTE_TEMP", "KTS_SIM_PROFILE",       "KTS_SIM_PROFILE_SPEED",   "KTS_SIM_STATE",
    "KTS_SIM_POWER_CYCLE", "KTS_SIM_TRACE"};

std::string RuntimeDir() {
    const char* dir = std::getenv("KTS_RUNTIME_DIR");
    if (!dir) throw std::runtime_error("KTS_RUNTIME_DIR is not set");
    return dir;
}

}  // namespace

SimulatedBoard::SimulatedBoard(Settings settings) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kts-board-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
    folder_ = pattern;

    for (const char* name : SettingNames) unsetenv(name);
    UseFreshChip(folder_);  // unless the test's settings say otherwise
    for (const auto& [name, value] : settings) setenv(name.c_str(), value.c_str(), 1);
    const std::string library = folder_ + "/" + USBStuff::DriverLibraryFileName();
    std::filesystem::copy_file(RuntimeDir() + "/" + USBStuff::DriverLibraryFileName(), library);
    std::filesystem::copy_file(RuntimeDir() + "/KTS9330FW.Hex", folder_ + "/KTS9330FW.Hex");

    std::string error;
    driver_ = USBStuff::LibraryDriver::Open(library, error);
    if (!driver_) throw std::runtime_error(error);
    USBStuff::SetDriver(driver_.get());
    USBStuff::SetProgramFolder(folder_);
    if (USBStuff::DownloadFirmware() < 0 || USBStuff::ConnectRequest() != 0)
        throw std::runtime_error("the simulated board did not start");
    USBStuff::DeviceAddress = 0x4C;
}

SimulatedBoard::~SimulatedBoard() {
    USBStuff::SetDriver(nullptr);
    driver_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    for (const char* name : SettingNames) unsetenv(name);
}
