#include "app/SettingsStore.h"

#include "state/GeneralStuff.h"

namespace SettingsStore {

QString FilePath() {
    const QString title = QString::fromUtf8(GeneralStuff::AppTitle);
    // The registry key of QSettings' native store on Windows, as regedit names it.
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\%1").arg(title);
}

std::unique_ptr<QSettings> Open() {
    const QString title = QString::fromUtf8(GeneralStuff::AppTitle);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, title, title);
}

}  // namespace SettingsStore
