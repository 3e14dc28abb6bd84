#include "app/SettingsStore.h"

#include "app/CommandName.h"
#include "files/FileSafety.h"
#include "state/GeneralStuff.h"

#include <QDir>
#include <QSet>
#include <QStandardPaths>
#include <cstdio>

namespace SettingsStore {

namespace {

// Each store that cannot be used is named once per run, not at every reading and writing.
void SayNotUsed(const QString& path, const QString& reason) {
    static QSet<QString> named;
    if (named.contains(path)) return;
    named.insert(path);
    const QString line = QStringLiteral("%1: the settings store %2 is not used: %3 The main window starts at its "
                                        "default place and size, and nothing is stored there.\n")
                             .arg(QLatin1String(CommandName), QDir::toNativeSeparators(path), reason);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

}  // namespace

QString FilePath() {
    const QString title = QString::fromUtf8(GeneralStuff::AppTitle);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + title +
           QLatin1Char('/') + title + QStringLiteral(".conf");
}

std::unique_ptr<QSettings> Open() {
    const QString path = FilePath();
    // A pipe would hold the program at its first reading; a device or a link to one would be
    // replaced by a regular file at the first writing.
    const QString refusal = GeneralStuff::NotARegularFileReason(path);
    if (!refusal.isEmpty()) {
        SayNotUsed(path, refusal);
        return nullptr;
    }
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

}  // namespace SettingsStore
