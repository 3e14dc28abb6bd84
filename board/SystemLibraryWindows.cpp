#include "board/SystemLibrary.h"

#include "board/LibraryDriver.h"
#include "board/SystemErrorText.h"

#include <windows.h>

namespace USBStuff {

const char* DriverLibraryFileName() { return "USBFunctions.dll"; }

bool SystemHasI2cDev() { return false; }

namespace SystemLibrary {

bool IsAbsolutePath(const std::string& path) {
    return path.size() > 2 && ((path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
                               (path[0] == '\\' && path[1] == '\\'));
}

void* Load(const std::string& absolutePath, std::string& reason) {
    // An absolute path with altered search order: the library's own folder, never the PATH.
    const HMODULE library = LoadLibraryExA(absolutePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library) reason = SystemErrorText(GetLastError());
    return reinterpret_cast<void*>(library);
}

void* Resolve(void* library, const char* name, int argumentCount) {
    const auto module = static_cast<HMODULE>(library);
#ifdef _WIN64
    static_cast<void>(argumentCount);
    return reinterpret_cast<void*>(GetProcAddress(module, name));
#else
    // Each argument of a __stdcall function takes four bytes on the stack.
    for (const std::string& exported : StdcallExportNames(name, 4 * argumentCount)) {
        if (const FARPROC function = GetProcAddress(module, exported.c_str())) return reinterpret_cast<void*>(function);
    }
    return nullptr;
#endif
}

void Free(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace SystemLibrary

}  // namespace USBStuff
