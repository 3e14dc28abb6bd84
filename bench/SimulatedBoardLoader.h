#pragma once
// The simulated board loaded from the build's program folder, on a fresh chip of the
// benchmark's own, for the benchmarks that measure a request through the driver library.
#include "board/LibraryDriver.h"
#include "board/USBStuff.h"
#include "support/FreshChip.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

inline std::string BinaryFolder() {
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string exe(path, n > 0 ? static_cast<size_t>(n) : 0);
    // The benchmarks live in build/bench, the program and the library in build/bin.
    const std::string bench = exe.substr(0, exe.find_last_of('/'));
    return bench.substr(0, bench.find_last_of('/')) + "/bin";
}

inline std::unique_ptr<USBStuff::LibraryDriver> LoadBoard() {
    std::string error;
    const std::string folder = BinaryFolder();
    UseFreshChip(folder + "/../bench");
    auto driver = USBStuff::LibraryDriver::Open(folder + "/" + USBStuff::DriverLibraryFileName(), error);
    if (!driver) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    USBStuff::SetDriver(driver.get());
    USBStuff::SetProgramFolder(folder);
    if (USBStuff::DownloadFirmware() < 0 || USBStuff::ConnectRequest() != 0) {
        std::fprintf(stderr, "the simulated board did not start\n");
        std::exit(1);
    }
    USBStuff::DeviceAddress = 0x4C;
    return driver;
}
