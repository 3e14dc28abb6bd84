#include "app/ProgramFiles.h"

#include "state/GeneralStuff.h"

#include <QDir>
#include <QSettings>

QString SettingsFilePath() {
    return QDir::toNativeSeparators(QSettings(GeneralStuff::AppTitle, GeneralStuff::AppTitle).fileName());
}
