#include "board/LibraryDriver.h"

#include "board/SystemLibrary.h"
#include "protocol/DriverCall.h"

namespace USBStuff {

using LoadFirmWareFn = int16_t(KTS_DRIVER_CALL*)(const char*);
using VendorIORequestFn = int16_t(KTS_DRIVER_CALL*)(int16_t, int32_t, int32_t, int16_t, int16_t, uint8_t*);
using DriverLastErrorFn = const char*(KTS_DRIVER_CALL*)();

struct LibraryDriver::Handles {
    void* module = nullptr;
    LoadFirmWareFn loadFirmWare = nullptr;
    VendorIORequestFn vendorIORequest = nullptr;
    DriverLastErrorFn driverLastError = nullptr;  // optional: a vendor's library has none
};

std::vector<std::string> StdcallExportNames(const std::string& name, int argumentBytes) {
    const std::string suffix = "@" + std::to_string(argumentBytes);
    return {name, "_" + name + suffix, name + suffix};
}

std::unique_ptr<LibraryDriver> LibraryDriver::Open(const std::string& absolutePath, std::string& error) {
    if (!SystemLibrary::IsAbsolutePath(absolutePath)) {
        error = "The driver library " + absolutePath + " was not loaded: its path is not absolute.";
        return nullptr;
    }
    std::unique_ptr<LibraryDriver> driver(new LibraryDriver);
    driver->handles_ = std::make_unique<Handles>();
    Handles& h = *driver->handles_;
    std::string reason;
    h.module = SystemLibrary::Load(absolutePath, reason);
    if (!h.module) {
        error = "The driver library " + absolutePath + " could not be loaded: " + reason;
        return nullptr;
    }
    auto resolve = [&](const char* name, int argumentCount) {
        return SystemLibrary::Resolve(h.module, name, argumentCount);
    };
    h.loadFirmWare = reinterpret_cast<LoadFirmWareFn>(resolve("LoadFirmWare", 1));
    h.vendorIORequest = reinterpret_cast<VendorIORequestFn>(resolve("VendorIORequest", 6));
    h.driverLastError = reinterpret_cast<DriverLastErrorFn>(resolve("DriverLastError", 0));
    for (auto [fn, name] : {std::pair<bool, const char*>{h.loadFirmWare != nullptr, "LoadFirmWare"},
                            {h.vendorIORequest != nullptr, "VendorIORequest"}}) {
        if (!fn) {
            error = "The driver library " + absolutePath + " has no function " + name + ".";
            return nullptr;
        }
    }
    return driver;
}

LibraryDriver::~LibraryDriver() {
    if (!handles_ || !handles_->module) return;
    SystemLibrary::Free(handles_->module);
}

int16_t LibraryDriver::LoadFirmWare(const char* path) { return handles_->loadFirmWare(path); }

int16_t LibraryDriver::VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                       int16_t length, uint8_t* buffer) {
    return handles_->vendorIORequest(request, value, index, direction, length, buffer);
}

std::string LibraryDriver::LastError() {
    const char* text = handles_->driverLastError ? handles_->driverLastError() : nullptr;
    return text ? text : "";
}

}  // namespace USBStuff
