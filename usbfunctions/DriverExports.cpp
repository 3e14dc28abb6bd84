// The two functions of the board's driver library, and the optional third that says why the
// last call failed; nothing else is exported.
#include "SimulatedBoard.h"
#include "protocol/DriverCall.h"

#include <cstdint>

// Windows' linker takes the exports and their names from the .def file; elsewhere, visibility.
#ifdef _WIN32
#define KTS_DRIVER_EXPORT extern "C"
#else
#define KTS_DRIVER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// The one board, created when the library is loaded.
UsbSim::SimulatedBoard theBoard;

}  // namespace

KTS_DRIVER_EXPORT int16_t KTS_DRIVER_CALL LoadFirmWare(const char* path) { return theBoard.LoadFirmWare(path); }

KTS_DRIVER_EXPORT int16_t KTS_DRIVER_CALL VendorIORequest(int16_t request, int32_t value, int32_t index,
                                                          int16_t direction, int16_t length, uint8_t* buffer) {
    return theBoard.VendorIORequest(request, value, index, direction, length, buffer);
}

KTS_DRIVER_EXPORT const char* KTS_DRIVER_CALL DriverLastError() { return theBoard.LastError(); }
