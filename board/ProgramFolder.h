#pragma once
// Where a program finds what it loads: the driver library and the firmware image lie in its own
// folder, the real file's folder where it was started through a link.
#include <QString>

#include <string>

// The executable's folder, with native separators and no trailing separator.
QString ProgramFolder();
// The driver library loaded when no --driver is given.
QString DriverLibraryPath();
QString FirmwareImagePath();

// A path as the system's narrow functions and the driver library take it (the firmware path
// that LoadFirmWare gets among them): in the system's ANSI code page on Windows, UTF-8 elsewhere.
std::string NarrowPath(const QString& path);
