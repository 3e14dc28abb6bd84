// The driver library is loaded from an absolute path only, a library that cannot be loaded is
// named with the system's reason, and the simulated board's chip keeps its state from one load
// of the library to the next, as from one program to the next.
#include "board/LibraryDriver.h"
#include "chip/ChipRegisters.h"
#include "protocol/BoardProtocol.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <utility>

namespace {

using namespace BoardProtocol;
using USBStuff::LibraryDriver;

constexpr int32_t kChip = 0x4C;  // the simulated chip's address

std::string RuntimeFile(const char* name) { return std::string(std::getenv("KTS_RUNTIME_DIR")) + "/" + name; }

TEST(LibraryDriver, OnlyALibraryAtAnAbsolutePathIsLoaded) {
    const std::string missing =
        (std::filesystem::temp_directory_path() / "no-such-folder" / USBStuff::DriverLibraryFileName()).string();
    const std::pair<std::string, std::string> cases[] = {
        {USBStuff::DriverLibraryFileName(), "its path is not absolute"},
        {missing, missing + " could not be loaded: "},
    };
    for (const auto& [path, said] : cases) {
        std::string error;
        EXPECT_EQ(LibraryDriver::Open(path, error), nullptr) << path;
        EXPECT_NE(error.find(said), std::string::npos) << error;
    }
}

// The chip's local high limit once the library has been loaded afresh and the caller has had it.
int LocalHighAfterLoading(const std::function<void(LibraryDriver&)>& before) {
    std::string error;
    auto driver = LibraryDriver::Open(RuntimeFile(USBStuff::DriverLibraryFileName()), error);
    if (!driver || driver->LoadFirmWare(RuntimeFile("KTS9330FW.Hex").c_str()) < 0) return -1;
    uint8_t buffer[65] = {};
    if (driver->VendorIORequest(kConnect, kConnectValue, kConnectIndex, kDirectionOut, 0, buffer) != 0) return -1;
    before(*driver);
    const int16_t read =
        driver->VendorIORequest(kRegisterAccess, kChip, Chip::Reg::LocalHigh.read, kDirectionIn, kReadLength, buffer);
    return read == 0 ? buffer[0] : -1;
}

TEST(LibraryDriver, TheChipKeepsItsStateFromOneLoadToTheNext) {
    EXPECT_EQ(LocalHighAfterLoading([](LibraryDriver& driver) {
                  uint8_t unused = 0;
                  driver.VendorIORequest(kRegisterAccess, kChip, WriteIndex(Chip::Reg::LocalHigh.write, 71),
                                         kDirectionOut, 0, &unused);
              }),
              71);
    EXPECT_EQ(LocalHighAfterLoading([](LibraryDriver&) {}), 71);
}

}  // namespace
