#pragma once
// A driver library as the system loads it: dlopen and dlsym, or LoadLibraryEx and
// GetProcAddress on Windows.
#include <string>

namespace USBStuff {

// The driver library's file name in the program's folder on this system.
const char* DriverLibraryFileName();
// Whether a chip on a Linux I2C adapter can be reached: the i2c-dev library is Linux's, and on
// Windows a board is reached through its own driver library.
bool SystemHasI2cDev();

namespace SystemLibrary {

bool IsAbsolutePath(const std::string& path);
// The library at an absolute path, loaded without a search path; null, with the system's
// reason, when it cannot be.
void* Load(const std::string& absolutePath, std::string& reason);
// A function the library exports, under any name the system's compilers give a function of
// this many arguments; null when it has none.
void* Resolve(void* library, const char* name, int argumentCount);
void Free(void* library);

}  // namespace SystemLibrary

}  // namespace USBStuff
