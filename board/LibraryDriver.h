#pragma once
// The driver library loaded at run time from an absolute path, never through a search path.
#include "board/BoardDriver.h"
#include "board/SystemLibrary.h"

#include <memory>
#include <string>
#include <vector>

namespace USBStuff {

class LibraryDriver : public BoardDriver {
public:
    // Loads the library and resolves both functions, and DriverLastError where the library has
    // it; on failure returns null and says why.
    static std::unique_ptr<LibraryDriver> Open(const std::string& absolutePath, std::string& error);
    ~LibraryDriver() override;

    int16_t LoadFirmWare(const char* path) override;
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index,
                            int16_t direction, int16_t length, uint8_t* buffer) override;
    std::string LastError() override;

private:
    LibraryDriver() = default;
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

// The names a 32-bit Windows library may export a __stdcall function under, in the order they
// are tried: plain (a .def file), "_Name@N" (Microsoft's compiler) and "Name@N" (mingw), N being
// the bytes of its arguments.
std::vector<std::string> StdcallExportNames(const std::string& name, int argumentBytes);

}  // namespace USBStuff
