#include "board/LibraryDriver.h"

#include "board/SystemErrorText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace USBStuff {

#if defined(_WIN32) && !defined(_WIN64)
#define KTS_DRIVER_CALL __stdcall
#else
#define KTS_DRIVER_CALL
#endif

using LoadFirmWareFn = int16_t(KTS_DRIVER_CALL*)(const char*);
using VendorIORequestFn = int16_t(KTS_DRIVER_CALL*)(int16_t, int32_t, int32_t, int16_t, int16_t, uint8_t*);
using DriverLastErrorFn = const char*(KTS_DRIVER_CALL*)();

struct LibraryDriver::Handles {
#ifdef _WIN32
    HMODULE module = nullptr;
#else
    void* module = nullptr;
#endif
    LoadFirmWareFn loadFirmWare = nullptr;
    VendorIORequestFn vendorIORequest = nullptr;
    DriverLastErrorFn driverLastError = nullptr;  // optional: a vendor's library has none
};

const char* DriverLibraryFileName() {
#ifdef _WIN32
    return "USBFunctions.dll";
#elif defined(__APPLE__)
    return "libUSBFunctions.dylib";
#else
    return "libUSBFunctions.so";
#endif
}

std::vector<std::string> StdcallExportNames(const std::string& name, int argumentBytes) {
    const std::string suffix = "@" + std::to_string(argumentBytes);
    return {name, "_" + name + suffix, name + suffix};
}

namespace {

#ifdef _WIN32
std::string LastSystemError() { return SystemErrorText(GetLastError()); }
#else
std::string LastSystemError() {
    const char* text = dlerror();
    return text ? text : "unknown reason";
}
#endif

bool IsAbsolutePath(const std::string& path) {
#ifdef _WIN32
    return path.size() > 2 && ((path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
                               (path[0] == '\\' && path[1] == '\\'));
#else
    return !path.empty() && path[0] == '/';
#endif
}

}  // namespace

std::unique_ptr<LibraryDriver> LibraryDriver::Open(const std::string& absolutePath, std::string& error) {
    if (!IsAbsolutePath(absolutePath)) {
        error = "The driver library " + absolutePath + " was not loaded: its path is not absolute.";
        return nullptr;
    }
    std::unique_ptr<LibraryDriver> driver(new LibraryDriver);
    driver->handles_ = std::make_unique<Handles>();
    Handles& h = *driver->handles_;
#ifdef _WIN32
    // An absolute path with altered search order: the library's own folder, never the PATH.
    h.module = LoadLibraryExA(absolutePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
#else
    // A path holding a slash is opened as it stands; no search path is consulted.
    h.module = dlopen(absolutePath.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    if (!h.module) {
        error = "The driver library " + absolutePath + " could not be loaded: " + LastSystemError();
        return nullptr;
    }
    // Each argument of a __stdcall function takes four bytes on the stack.
    auto resolve = [&](const char* name, int argumentCount) -> void* {
#if defined(_WIN32) && !defined(_WIN64)
        for (const std::string& exported : StdcallExportNames(name, 4 * argumentCount)) {
            if (const FARPROC function = GetProcAddress(h.module, exported.c_str()))
                return reinterpret_cast<void*>(function);
        }
        return nullptr;
#elif defined(_WIN32)
        static_cast<void>(argumentCount);
        return reinterpret_cast<void*>(GetProcAddress(h.module, name));
#else
        static_cast<void>(argumentCount);
        return dlsym(h.module, name);
#endif
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
#ifdef _WIN32
    FreeLibrary(handles_->module);
#else
    dlclose(handles_->module);
#endif
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
