#pragma once
// The two operations of the board's driver library, behind one interface: the loaded
// library in the program, a scripted fake in the tests.
#include <cstdint>
#include <string>

namespace USBStuff {

class BoardDriver {
public:
    virtual ~BoardDriver() = default;
    virtual int16_t LoadFirmWare(const char* path) = 0;
    virtual int16_t VendorIORequest(int16_t request, int32_t value, int32_t index,
                                    int16_t direction, int16_t length, uint8_t* buffer) = 0;
    // The driver's own words for why its last call failed; empty when it has none (a library
    // without the optional DriverLastError gives none).
    virtual std::string LastError() { return std::string(); }
};

}  // namespace USBStuff
