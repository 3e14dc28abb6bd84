#pragma once
// What the user sets through the environment; read once, when the library is loaded.
#include <string>

namespace I2cDev {

struct I2cSettings {
    std::string bus;        // KTS_I2C_BUS: the adapter node; empty for the automatic choice
    bool force = false;     // KTS_I2C_FORCE=1: take addresses a kernel driver holds
    std::string tracePath;  // KTS_I2C_TRACE: file to which every transfer is appended
    bool quiet = false;     // KTS_I2C_QUIET=1: the program shows the reasons (DriverLastError)

    static I2cSettings FromEnvironment();
};

}  // namespace I2cDev
