#pragma once
// The per-user settings store and every key it holds.
#include <QSettings>
#include <QString>
#include <memory>

namespace SettingsStore {

// The group the main window's geometry is stored in, and its keys (twips, as text).
inline constexpr const char* Section = "Settings";
inline constexpr const char* MainLeft = "MainLeft";
inline constexpr const char* MainTop = "MainTop";
inline constexpr const char* MainWidth = "MainWidth";
inline constexpr const char* MainHeight = "MainHeight";

// The file of the program's store, named after the program, in the user's configuration
// folder (where QSettings keeps a store of that name); found without opening it. On Windows the
// store is QSettings' own, the registry key this names.
QString FilePath();
// The program's store; null when its file is there but is not a regular file or a link to
// one (a pipe, a device, a folder). That is said once on standard error, and the program
// then reads and writes nothing there.
std::unique_ptr<QSettings> Open();

}  // namespace SettingsStore
