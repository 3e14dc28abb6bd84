#include "app/ProgramFiles.h"

#include "app/SettingsStore.h"
#include "state/GeneralStuff.h"

#include <QDir>

QString SettingsFilePath() {
    return QDir::toNativeSeparators(SettingsStore::FilePath());
}
