// The settings store is read and written only where it is a regular file, a link to one, or
// not there yet. Anything else is named once on standard error and left exactly as it is.
#include "app/SettingsStore.h"
#include "app/WindowSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

TEST(SettingsStore, OnlyARegularFileOrALinkToOneIsReadAndWritten) {
    enum class Kind { Absent, LinkToAFile, Pipe, LinkToADevice, Folder };
    const QByteArray savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    const QRectF defaults(WindowSettings::DefaultLeft, WindowSettings::DefaultTop, WindowSettings::DefaultWidth,
                          WindowSettings::DefaultHeight);
    const QRectF moved(111, 222, 3333, 4444);
    for (const Kind kind : {Kind::Absent, Kind::LinkToAFile, Kind::Pipe, Kind::LinkToADevice, Kind::Folder}) {
        SCOPED_TRACE(static_cast<int>(kind));
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const QString path = SettingsStore::FilePath();
        ASSERT_TRUE(path.startsWith(config.path()));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        const QByteArray node = QFile::encodeName(path), target = QFile::encodeName(config.filePath("target"));
        bool ok = true;
        switch (kind) {
        case Kind::Absent: break;
        case Kind::LinkToAFile: ok = QFile(target).open(QIODevice::WriteOnly) && QFile::link(target, path); break;
        case Kind::Pipe: ok = mkfifo(node.constData(), 0600) == 0; break;
        // A device of its own (only root may make one), so that nothing outside the test is at risk.
        case Kind::LinkToADevice:
            ok = mknod(target.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 && QFile::link(target, path);
            break;
        case Kind::Folder: ok = QDir().mkdir(path); break;
        }
        if (!ok) continue;
        const bool usable = kind == Kind::Absent || kind == Kind::LinkToAFile;
        testing::internal::CaptureStderr();
        EXPECT_EQ(WindowSettings::LoadMainGeometry(), defaults);
        WindowSettings::SaveMainGeometry(moved);
        EXPECT_EQ(WindowSettings::LoadMainGeometry(), usable ? moved : defaults);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), usable ? 0 : 1) << said;
        EXPECT_EQ(said.find(qPrintable(path)) != std::string::npos, !usable) << said;
        // Nothing was put in place of the node or of what a link leads to.
        const QFileInfo after(path);
        EXPECT_EQ(after.isSymLink(), kind == Kind::LinkToAFile || kind == Kind::LinkToADevice);
        EXPECT_EQ(after.isFile(), usable);
        EXPECT_EQ(after.isDir(), kind == Kind::Folder);
    }
    qputenv("XDG_CONFIG_HOME", savedConfigHome);
}

}  // namespace
