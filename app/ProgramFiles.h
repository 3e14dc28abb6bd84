#pragma once
// The windows program's own file: the per-user settings store. The files every program loads
// are in board/ProgramFolder.h.
#include <QString>

// The file in which the settings store keeps the main window's position and size.
QString SettingsFilePath();
