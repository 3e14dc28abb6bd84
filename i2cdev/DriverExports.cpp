// The two functions of the board's driver library, and the optional third that gives the
// last reason written to standard error; nothing else is exported.
#include "I2cBoard.h"
#include "LastError.h"

#include <cstdint>

#define KTS_DRIVER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The one adapter link, created when the library is loaded.
I2cDev::I2cBoard theBoard(I2cDev::SystemKernel(), I2cDev::I2cSettings::FromEnvironment());

}  // namespace

KTS_DRIVER_EXPORT int16_t LoadFirmWare(const char* path) { return theBoard.LoadFirmWare(path); }

KTS_DRIVER_EXPORT int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                          int16_t length, uint8_t* buffer) {
    return theBoard.VendorIORequest(request, value, index, direction, length, buffer);
}

KTS_DRIVER_EXPORT const char* DriverLastError() { return I2cDev::LastError(); }
