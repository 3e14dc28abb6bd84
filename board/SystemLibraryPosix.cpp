#include "board/SystemLibrary.h"

#include <dlfcn.h>

namespace USBStuff {

const char* DriverLibraryFileName() {
#ifdef __APPLE__
    return "libUSBFunctions.dylib";
#else
    return "libUSBFunctions.so";
#endif
}

bool SystemHasI2cDev() { return true; }

namespace SystemLibrary {

bool IsAbsolutePath(const std::string& path) { return !path.empty() && path[0] == '/'; }

void* Load(const std::string& absolutePath, std::string& reason) {
    // A path holding a slash is opened as it stands; no search path is consulted.
    void* library = dlopen(absolutePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* text = dlerror();
        reason = text ? text : "unknown reason";
    }
    return library;
}

void* Resolve(void* library, const char* name, int) { return dlsym(library, name); }

void Free(void* library) { dlclose(library); }

}  // namespace SystemLibrary

}  // namespace USBStuff
