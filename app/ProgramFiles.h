#pragma once
// Where the program finds its files: the driver library and the firmware image in its own
// folder (the real file's folder where the program was started through a link), and the
// per-user settings store.
#include <QString>

// The executable's folder, with native separators and no trailing separator.
QString ProgramFolder();
QString DriverLibraryPath();
QString FirmwareImagePath();
// The file in which the settings store keeps the main window's position and size.
QString SettingsFilePath();
