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

// The program's store, named after the program.
std::unique_ptr<QSettings> Open();

}  // namespace SettingsStore
